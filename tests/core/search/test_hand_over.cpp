// How results reach the owner of a search: a listener that runs the event loop inside its calls
// (a message box, a progress repaint) loses no wake-up, and workers wait while the owner has not
// taken the results already queued, so memory stays bounded however many results are found.

#include "core/search/search_engine.h"
#include "search_fixture.h"
#include "tests/support/reference_search.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

using namespace velmora;
using namespace velmora::search;
using namespace std::chrono_literals;
using velmora::test::FreshHorses;
using velmora::test::OpenConditions;
using velmora::test::SearchData;

namespace {

// The owner's event loop in miniature: wake-ups posted from any thread, taken on the owner's.
class Tokens
{
public:
    void Post()
    {
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_cv.notify_all();
    }
    bool Take(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        if (!m_cv.wait_for(lock, timeout, [&] { return m_count > 0; }))
            return false;
        --m_count;
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_count = 0;
};

} // namespace

TEST(SearchHandOver, ListenerRunningTheEventLoopLosesNoWakeUp)
{
    SearchData s = FreshHorses(40, 4);
    const SearchConditions c = OpenConditions(s.d, 2);
    Tokens tokens;
    // The first wake-up holds its worker until the owner is inside a listener call, so that the
    // worker's next hand-over is announced while that call runs.
    std::atomic<bool> first { true };
    std::mutex gateMutex;
    std::condition_variable gate;
    bool ownerInside = false;
    velmora::test::RecordingListener l;
    SearchEngine e(s.d, c, l, [&] {
        tokens.Post();
        if (first.exchange(false)) {
            std::unique_lock lock(gateMutex);
            gate.wait_for(lock, 5s, [&] { return ownerInside; });
        }
    });
    bool nested = false;
    l.onResult = [&] {
        if (nested)
            return;
        nested = true;
        {
            std::lock_guard lock(gateMutex);
            ownerInside = true;
        }
        gate.notify_all();
        // As a message box would: the event loop runs and delivers the next wake-up in here.
        if (tokens.Take(5s))
            e.ProcessPending();
    };
    e.Start(2);
    while (l.done == 0 && tokens.Take(3s))
        e.ProcessPending();
    EXPECT_TRUE(nested);
    EXPECT_EQ(l.lines.size(), 4u * 40 * 40);
    EXPECT_EQ(l.done, 1);
    EXPECT_FALSE(l.offThread);
}

TEST(SearchHandOver, WorkersWaitWhileTheQueueIsFull)
{
    SearchData s = FreshHorses(100, 4);
    const SearchConditions c = OpenConditions(s.d, 2);
    const size_t total = 4u * 100 * 100;
    const int64_t bound = static_cast<int64_t>(2 * kResultQueueCapacity + 2 * kResultBatch);
    ASSERT_GT(static_cast<int64_t>(total), bound);
    {
        velmora::test::RecordingListener l;
        SearchEngine e(s.d, c, l);
        e.Start(2);
        std::this_thread::sleep_for(200ms); // the owner is busy and takes nothing meanwhile
        e.Wait();
        EXPECT_EQ(l.lines.size(), total);
        EXPECT_EQ(l.done, 1);
        EXPECT_LE(e.Stats().peakQueued, bound);
    }
    // Released while its workers wait on a full queue: they are stopped, not left waiting.
    velmora::test::RecordingListener l;
    {
        SearchEngine e(s.d, c, l);
        e.Start(2);
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(l.lines.empty());
    EXPECT_EQ(l.done, 0);
}

TEST(SearchHandOver, ManyResultsReachTheOwnerInOrder)
{
    // More results than the room the workers have, found faster than the owner takes them: the workers
    // of later chunks wait, the owner is woken for the chunks that have ended, and nothing stalls.
    SearchData s = FreshHorses(50, 20);
    const SearchConditions c = OpenConditions(s.d, 2);
    MasterData ref = s.d;
    const auto expected = velmora::search::ReferenceSearch(ref, c).lines;
    ASSERT_GT(expected.size(), 2 * kResultQueueCapacity);
    for (int threads : { 2, 3 }) {
        velmora::test::RecordingListener l;
        SearchEngine e(s.d, c, l);
        e.Start(threads);
        e.Wait();
        EXPECT_EQ(l.done, 1);
        EXPECT_TRUE(l.lines == expected) << threads;
    }
}

#pragma once
// The strongest-mating search engine (Dravik): walks every chain of matings over MaxGen generations
// depth first in table order on worker threads, drops a chain at its first failing mating, counts
// leaves for the progress bar and reports the chains that pass.
//
// Order. The walk is cut into chunks of consecutive (broodmare, generation-1 stallion) pairs, which
// the workers take in order. The results of a chunk are held until every chunk before it has been
// handed over, so the owner lists the results in the walk's own order: the same lines in the same
// order whatever the thread count and the timing, and under a result limit the first N of them.
//
// Threads. Start() runs on the thread that owns the search (the window's UI thread, or the command's
// main thread). The workers never call the listener: they queue their progress steps, result lines
// and ends, and the owner runs them on its own thread, one at a time, in ProcessPending() or Wait().
// The optional wake function is called from a worker when something has been queued after the queue
// was empty, so a window can schedule ProcessPending() on its event loop. Workers wait while too many
// results are held (see kResultQueueCapacity). The stop flag is atomic and
// is polled by every worker after each candidate stallion. Destroying the engine stops the workers
// and waits for them, and never calls the listener, so a listener that outlives the engine is never
// called after it is gone.

#include "core/data/master_data.h"
#include "core/search/search_conditions.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmora::search {

// A worker hands its results over in batches of up to kResultBatch lines. While kResultQueueCapacity
// results of the chunk being listed wait for the owner, its worker waits too; while as many of the
// chunks after it wait for it to end, their workers wait. So a search holds at most twice that many
// plus one batch per worker, however many results it finds and however slowly the owner takes them.
constexpr size_t kResultBatch = 1024;
constexpr size_t kResultQueueCapacity = 16384;

// What the owner of a search is told. All calls run on the owning thread, one at a time, and never
// after the engine has been destroyed. A listener must not destroy the engine from inside a call.
class SearchListener
{
public:
    virtual ~SearchListener() = default;
    // The progress bar advances by one step.
    virtual void StepProgress() = 0;
    // A result line to list (the result limit has already been applied).
    virtual void AddResult(std::u16string_view line) = 0;
    // A worker failed with a range or overflow error (UTF-8 message); the search stops. Called at most
    // once per search, before SearchDone.
    virtual void SearchError(std::string_view message) = 0;
    // The last worker has ended and all its calls have run: the search is finished. With nothing to
    // search (no candidate broodmare, or no candidate stallion of generation 1) no worker starts and
    // this is the first call, made at once.
    virtual void SearchDone() = 0;
};

// Before the workers start, every stallion that is a candidate at some generation below MaxGen
// whose own ancestor row has no interesting-line group takes the group of his sire's row, in table
// order. The change stays in the ancestor table. Nothing is filled during the search, so results
// do not depend on timing.
void FillInterestingLines(MasterData& d, int maxGen);

// Counters of a search.
struct SearchStats
{
    int64_t testedLeaves = 0; // tests of a stallion at the last generation
    int64_t countedLeaves = 0; // tested leaves plus the leaves of pruned chains (the progress count)
    int64_t progressSteps = 0; // StepProgress calls made
    int64_t results = 0; // lines listed
    int64_t peakQueued = 0; // most results ever held for the owner at once
    bool stopped = false; // the stop flag was set (abort, result limit or error)
};

class SearchEngine
{
public:
    // The engine copies the conditions; the master data must stay unchanged while the search runs
    // (apart from the interesting-line fill the engine makes itself in Start()).
    SearchEngine(MasterData& data, const SearchConditions& conditions, SearchListener& listener,
                 std::function<void()> wake = {});
    ~SearchEngine();
    SearchEngine(const SearchEngine&) = delete;
    SearchEngine& operator=(const SearchEngine&) = delete;

    // Fills the interesting lines, prepares the per-stallion tables and starts `threads` workers over
    // the chunks of the walk; with nothing to search, no worker (SearchDone is then queued at once).
    // Call once, on the owning thread. Throws RangeError for indices outside the tables.
    void Start(int threads = 2);

    // Sets the stop flag (any thread). The workers end after the stallion they are testing.
    void RequestStop();
    bool StopRequested() const { return m_stop.load(std::memory_order_relaxed); }

    // Runs the queued listener calls on the owning thread. A call made from inside a listener call (one
    // that runs the event loop) returns at once; when the outer call ends it calls the wake function
    // again if more has been queued meanwhile, so no wake-up is lost.
    void ProcessPending();
    // Runs listener calls as they come until every worker has ended (for callers without an event loop).
    void Wait();

    // Every worker has ended and every queued call has run.
    bool Finished() const;
    int ThreadCount() const { return m_threadCount; }
    // The progress bar's range and leaves per step, from the 64-bit estimate.
    ProgressPlan Progress() const { return m_plan; }
    int64_t Estimate() const { return m_estimate; }
    // Counters; complete once Finished().
    SearchStats Stats() const;

    struct Impl;

private:
    struct ResultChain
    {
        int32_t mare = -1;
        std::array<int32_t, kMaxGenerations + 1> dads {};
    };
    // The results of one chunk, held until every chunk before it has been handed over.
    struct ChunkResults
    {
        std::vector<ResultChain> results;
        bool complete = false; // walked to its end (not cut short by a stop)
    };
    friend struct Impl;
    class Worker;

    // Called by workers.
    int64_t TakeChunk(); // the next chunk in order; -1 when none is left, or after a stop
    // Hands over (and clears) results of a chunk and progress steps; `complete` with the chunk's last;
    // `wake` to wake the owner (also woken when the chunk being listed ends while later ones hold results).
    // Returns whether the owner was woken.
    bool PostBatch(int64_t chunk, std::vector<ResultChain>& results, int64_t steps, bool complete, bool wake);
    // The chunk holds more results than the limit: nothing more of it, nor of a chunk after it, can be
    // listed.
    void Cutoff(int64_t chunk);
    // Whether the walk of a chunk is to end: it is past the cutoff, or the search is stopped. One load,
    // as the workers ask after every candidate stallion.
    bool Beyond(int64_t chunk) const { return chunk >= m_firstBeyond.load(std::memory_order_relaxed); }
    void PostDone(int64_t tested, int64_t counted, int64_t steps, const std::string* error);
    void Signal(std::unique_lock<std::mutex>& lock);
    // Runs the listener calls for everything queued so far (owner thread).
    void Deliver();
    // Under the lock: the results of the first chunk in order into m_batch (all of them when it is
    // complete, which also ends it and sets `moved`); true when the chunk after it may have results
    // ready too.
    bool TakeReady(bool& moved);
    // Wakes the workers for which TakeReady made room.
    void NotifyRoom(bool moved);

    std::u16string_view LineOf(const ResultChain& chain);

    MasterData& m_data;
    SearchConditions m_cond;
    SearchListener& m_listener;
    std::function<void()> m_wake;
    std::thread::id m_owner;

    std::unique_ptr<Impl> m_impl;
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::vector<std::thread> m_threads;
    std::atomic<bool> m_stop { false };
    // The first chunk whose walk is to end: the first one found to hold more results than the limit,
    // 0 once the search is stopped.
    std::atomic<int64_t> m_firstBeyond { std::numeric_limits<int64_t>::max() };
    int m_threadCount = 0;
    bool m_started = false;
    ProgressPlan m_plan;
    int64_t m_estimate = 0;

    // Shared with the workers, under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_cv; // the owner waits for something queued (Wait)
    std::condition_variable m_roomListed; // the worker of the listed chunk waits for the owner
    std::condition_variable m_roomLater; // workers of later chunks wait for the listing to move on
    bool m_signalled = false;
    std::deque<ChunkResults> m_chunks; // chunks m_head .. m_nextChunk - 1
    std::vector<std::vector<ResultChain>> m_spare; // emptied result buffers
    int64_t m_head = 0; // the first chunk not yet handed over whole
    int64_t m_nextChunk = 0;
    int64_t m_chunkCount = 0;
    int64_t m_held = 0; // results in m_chunks
    int64_t m_pendingSteps = 0;
    int m_pendingDone = 0;
    std::vector<std::string> m_pendingErrors;
    int64_t m_tested = 0;
    int64_t m_counted = 0;
    int64_t m_peakQueued = 0;
    int m_ended = 0;

    // Owner thread only.
    bool m_processing = false;
    bool m_reentered = false; // ProcessPending was called from inside a listener call
    int m_doneCount = 0;
    int64_t m_listed = 0;
    int64_t m_stepsDelivered = 0;
    bool m_doneDelivered = false;
    bool m_errorDelivered = false;
    std::vector<ResultChain> m_batch;
    std::u16string m_line;
    ResultChain m_lineChain; // the chain m_line was built from (mare -1: none yet)
    std::array<size_t, kMaxGenerations + 1> m_lineEnd {}; // length of m_line up to each member of it
};

} // namespace velmora::search

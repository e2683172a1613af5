#pragma once
// SIGINT and SIGTERM during a long command: the work is stopped as its window's stop button stops it,
// and the command ends in its own time (whole output lines, its summary), then exits with the usual
// code for the signal, 128 + its number.

#include <atomic>
#include <functional>
#include <signal.h>
#include <thread>

namespace velmora::cli {

class StopOnSignal
{
public:
    // Blocks SIGINT and SIGTERM in the calling thread, and so in every thread it starts afterwards,
    // and calls stop() from a thread of its own at the first of them. Construct it before starting
    // threads. The signals stay blocked until the program ends, so that a second one cannot cut the
    // command's last output short.
    explicit StopOnSignal(std::function<void()> stop);
    ~StopOnSignal();
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

    // The signal that arrived, 0 for none.
    int Signal() const { return m_signal.load(); }
    // The exit code: 128 + the signal when one arrived, else `code`.
    int ExitCode(int code) const { return Signal() ? 128 + Signal() : code; }

private:
    std::function<void()> m_stop;
    std::atomic<bool> m_finished { false };
    std::atomic<int> m_signal { 0 };
    std::thread m_waiter;
};

} // namespace velmora::cli

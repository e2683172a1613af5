#include "cli/stop_on_signal.h"

#include <pthread.h>
#include <utility>

namespace velmora::cli {

namespace {
sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}
} // namespace

StopOnSignal::StopOnSignal(std::function<void()> stop)
    : m_stop(std::move(stop))
{
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    m_waiter = std::thread([this, set] {
        int signo = 0;
        while (sigwait(&set, &signo) != 0) { }
        // The destructor's own wake-up comes once the work is over: it is no request to stop.
        if (m_finished.load())
            return;
        m_signal.store(signo);
        m_stop();
    });
}

StopOnSignal::~StopOnSignal()
{
    m_finished.store(true);
    // Wakes the waiter if no signal has come; one that came meanwhile has ended it already.
    if (m_signal.load() == 0)
        pthread_kill(m_waiter.native_handle(), SIGTERM);
    m_waiter.join();
}

} // namespace velmora::cli

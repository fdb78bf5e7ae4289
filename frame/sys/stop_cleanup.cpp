// SPDX-License-Identifier: MIT
#include "frame/sys/stop_cleanup.h"

#include "frame/sys/files.h"
#include "frame/text/error.h"
#include "frame/text/paths.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace stepwell {
namespace {

// A signal handler may only use what is async-signal-safe, so each file is kept as its
// absolute path, ready in memory, and removed with unlink. A run over many files keeps a few
// hundred temporary files at a time (see GroupCommit). A slot's buffer, room for any path, is
// made when the slot is first used and kept for its next files, so that a handler never
// reads memory that has been given back.
struct Slot {
    enum : int { Free, Filling, Armed };
    std::atomic<int> state{Free};
    std::atomic<char*> path{nullptr};
};

std::array<Slot, 1024> slots;
std::atomic<std::size_t> nextSlot{0}; // where the search for a free slot starts

// How many threads are between creating a temporary file and registering it. They hold the
// stop signals back, but a signal can still reach another thread meanwhile (the window's
// while a conversion thread creates its file): its handler waits for them.
std::atomic<int> registering{0};
// Set by the handler before it waits for them: a thread that would create a temporary file
// after that waits instead for the end of the process, so that no file is created behind
// the handler's back while it removes the others.
std::atomic<bool> stopping{false};

// The signals whose default action ends the process; SIGKILL and SIGSTOP cannot be caught.
// The real-time signals are added where the set is made.
constexpr std::array fixedStopSignals = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT,
                                         SIGBUS,  SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE,
                                         SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGXFSZ, SIGVTALRM,
                                         SIGPROF, SIGIO,   SIGPWR,    SIGSYS};

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : fixedStopSignals)
        sigaddset(&set, signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        sigaddset(&set, signal);
    return set;
}

extern "C" void removeTemporariesAndStop(int signal) {
    const int savedErrno = errno;
    stopping.store(true);
    // A few microseconds at most; a thread stuck there does not hold the stop for long.
    for (int waited = 0; registering.load() > 0 && waited < 20000; ++waited) {
        const timespec pause{0, 100 * 1000};
        ::nanosleep(&pause, nullptr);
    }
    for (Slot& slot : slots)
        if (slot.state.load() == Slot::Armed)
            ::unlink(slot.path.load());
    // SA_RESETHAND has put back the default action. The signal is held back while its
    // handler runs: raised again, it ends the process once it is let through.
    ::raise(signal);
    sigset_t just;
    sigemptyset(&just);
    sigaddset(&just, signal);
    ::sigprocmask(SIG_UNBLOCK, &just, nullptr);
    // Only reached for a signal whose default the process ignores.
    stopping.store(false);
    errno = savedErrno;
}

void installHandlersOnce() {
    static const bool installed = [] {
        const sigset_t all = stopSignals();
        for (int signal = 1; signal < NSIG; ++signal) {
            if (sigismember(&all, signal) != 1)
                continue;
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
                continue;
            struct sigaction action {};
            action.sa_handler = removeTemporariesAndStop;
            action.sa_flags = SA_RESETHAND;
            action.sa_mask = all; // one clean-up at a time
            ::sigaction(signal, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

// The path made absolute, so that it still names the file if the current folder changes.
std::string absolutePath(const std::string& path) {
    if (!path.empty() && path.front() == '/')
        return path;
    try {
        return joinPath(currentDirectory(), path);
    } catch (const Error&) {
        return {};
    }
}

} // namespace

int rememberTemporary(const std::string& path) {
    installHandlersOnce();
    const std::string absolute = absolutePath(path);
    if (absolute.empty() || absolute.size() >= PATH_MAX)
        return -1;
    const std::size_t first = nextSlot.load();
    for (std::size_t k = 0; k < slots.size(); ++k) {
        const std::size_t i = (first + k) % slots.size();
        Slot& slot = slots[i];
        int expected = Slot::Free;
        if (!slot.state.compare_exchange_strong(expected, Slot::Filling))
            continue;
        if (!slot.path.load())
            slot.path.store(new char[PATH_MAX]);
        std::memcpy(slot.path.load(), absolute.c_str(), absolute.size() + 1);
        slot.state.store(Slot::Armed);
        nextSlot.store((i + 1) % slots.size());
        return static_cast<int>(i);
    }
    return -1;
}

void forgetTemporary(int ticket) {
    if (ticket >= 0 && static_cast<std::size_t>(ticket) < slots.size())
        slots[static_cast<std::size_t>(ticket)].state.store(Slot::Free);
}

StopSignalsHeld::StopSignalsHeld() {
    const sigset_t all = stopSignals();
    ::pthread_sigmask(SIG_BLOCK, &all, &previous_);
    registering.fetch_add(1);
    if (!stopping.load())
        return;
    // Another thread is ending the process; this one creates nothing more.
    registering.fetch_sub(1);
    for (;;)
        ::pause();
}

StopSignalsHeld::~StopSignalsHeld() {
    registering.fetch_sub(1);
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include <csignal>
#include <string>

namespace stepwell {

// A temporary file must not outlive a stopped process. Every signal whose default action
// ends the process (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGUSR1, SIGALRM, a crash's
// SIGSEGV...) first removes the registered temporary files, then ends the process as that
// signal would have. SIGKILL and SIGSTOP cannot be caught; after SIGKILL a hidden temporary
// file can stay behind.

/// Registers a temporary file to be removed if the process is stopped before the file is
/// renamed or removed. The first call installs the handlers, for the signals still at their
/// default action (a signal the caller ignores stays ignored). The whole path is kept in
/// memory, so that nothing, not even a descriptor, is needed to remove the file. Up to 1024
/// files may be registered at a time. Returns a ticket for forgetTemporary, or -1 when the
/// file cannot be registered (a path longer than PATH_MAX, or 1024 files already): the caller
/// must then not go on writing it.
int rememberTemporary(const std::string& path);

/// Forgets a registered file once it has been renamed or removed.
void forgetTemporary(int ticket);

/// Holds back the stop signals on this thread while it lives; one that comes meanwhile is
/// handled when it goes, and one that reaches another thread waits until it goes. Between
/// creating a temporary file and registering it, no stop can leave it behind, whichever
/// thread creates it.
class StopSignalsHeld {
public:
    StopSignalsHeld();
    ~StopSignalsHeld();
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

} // namespace stepwell

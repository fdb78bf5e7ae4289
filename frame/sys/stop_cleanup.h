#pragma once

#include <string>

namespace stepwell {

/// Registers a temporary file to be removed if the process is told to stop (SIGINT, SIGTERM
/// or SIGHUP) before the file is renamed or removed; the process then stops as that signal
/// asks. The first call installs the handlers, for signals still at their default action
/// (a signal the caller ignores stays ignored). Returns a ticket for forgetTemporary, or -1
/// when the file could not be registered, which only loses the clean-up.
int rememberTemporary(const std::string& path);

/// Forgets a registered file once it has been renamed or removed.
void forgetTemporary(int ticket);

} // namespace stepwell

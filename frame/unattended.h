#pragma once

#include "frame/command_line.h"

#include <string>

namespace stepwell {

/// Runs the modes that ask nothing, the filter and the check, on the process's standard
/// streams, with the tag table in `programDir`. Returns the exit status.
int runUnattended(const CommandLine& command, const std::string& programDir);

/// Writes `text` (the help or the version) to standard output. Returns the exit status: 0,
/// or 1, with an error on standard error, when standard output is closed or full.
int printToStandardOutput(const std::string& text);

} // namespace stepwell

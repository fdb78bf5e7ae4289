#pragma once

#include "frame/command_line.h"

#include <string>

namespace stepwell {

/// Runs the modes that ask nothing, the filter and the check, on the process's standard
/// streams, with the tag table in `programDir`. Returns the exit status.
int runUnattended(const CommandLine& command, const std::string& programDir);

} // namespace stepwell

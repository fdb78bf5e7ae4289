// SPDX-License-Identifier: MIT
#pragma once

namespace stepwell {

/// Runs Stepwell on the process's arguments: the window, a batch of conversions, the filter,
/// a check or a diff, as the command line asks. Returns the exit status.
int runStepwell(int& argc, char** argv);

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace stepwell::test {

/// What a finished run of a program left behind.
struct RunResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

/// Runs `program` with `arguments` in `folder`, feeding `input` on standard input, and
/// waits for it; started as runChild starts it, as from a shell. A program ended by a signal
/// gets 128 plus its number, as a shell reports it.
RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& folder, const std::string& input = "");

/// The program that runs another as an ordinary user.
inline const std::string setprivProgram = "/usr/bin/setpriv";

/// The arguments for setprivProgram that run `program` with `arguments` as the ordinary
/// user nobody (uid and gid 65534, no supplementary groups), so that a test of what
/// permissions allow runs as root too. The folders involved must be open to that user.
std::vector<std::string> asOrdinaryUser(const std::string& program,
                                        const std::vector<std::string>& arguments);

/// Copies the built program into `folder`, so a test can give it a tag file and settings
/// file of its own. Returns the copy's path.
std::string installProgramCopy(const std::string& folder);

} // namespace stepwell::test

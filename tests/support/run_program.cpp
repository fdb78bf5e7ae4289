// SPDX-License-Identifier: MIT
#include "tests/support/run_program.h"

#include "tests/support/child_process.h"

#include <filesystem>

namespace stepwell::test {

RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& folder, const std::string& input) {
    ChildOptions options;
    options.folder = folder;
    options.input = input;
    const ChildResult child = runChild(program, arguments, options);
    RunResult result;
    result.exitStatus = child.signal ? 128 + child.signal : child.exitStatus;
    result.out = child.out;
    result.err = child.err;
    return result;
}

std::vector<std::string> asOrdinaryUser(const std::string& program,
                                        const std::vector<std::string>& arguments) {
    std::vector<std::string> all{"--reuid=65534", "--regid=65534", "--clear-groups", program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return all;
}

std::string installProgramCopy(const std::string& folder) {
    const std::string copy = folder + "/stepwell";
    std::filesystem::copy_file(STEPWELL_PROGRAM, copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy;
}

} // namespace stepwell::test

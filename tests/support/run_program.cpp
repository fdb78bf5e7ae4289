#include "tests/support/run_program.h"

#include "tests/support/temp_dir.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace stepwell::test {

RunResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& folder, const std::string& input) {
    TempDir streams;
    const std::string inPath = streams.file("in"), outPath = streams.file("out"),
                      errPath = streams.file("err");
    writeFile(inPath, input);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot fork");
    if (child == 0) {
        const int in = ::open(inPath.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    RunResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
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

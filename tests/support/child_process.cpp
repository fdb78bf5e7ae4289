// SPDX-License-Identifier: MIT
#include "tests/support/child_process.h"

#include "tests/support/temp_dir.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace stepwell::test {
namespace {

std::string makeStreamsFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "stepwell-streams-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

// As a user's shell starts a program: every signal at its default action and none blocked,
// so that the program meets signals as it would in real use.
void defaultSignals() {
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal = 1; signal < NSIG; ++signal)
        ::signal(signal, SIG_DFL); // fails harmlessly for SIGKILL, SIGSTOP and reserved ones
}

// In the child after fork: only system calls, then exec.
[[noreturn]] void becomeProgram(const std::string& program,
                                const std::vector<std::string>& arguments,
                                const ChildOptions& options, const std::string& streams,
                                const std::vector<char*>& environment) {
    defaultSignals();
    const int in = ::open((streams + "/in").c_str(), O_RDONLY | O_CLOEXEC);
    const int out =
        ::open((streams + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int err =
        ::open((streams + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (in < 0 || out < 0 || err < 0 || full < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err, 2) < 0 || ::chdir(options.folder.c_str()) != 0)
        ::_exit(127);
    if (options.inputClosed)
        ::close(0);
    if (options.output == Output::Closed)
        ::close(1);
    if (options.output == Output::Full && ::dup2(full, 1) < 0)
        ::_exit(127);
    // Only the three streams reach the program, whatever the test process holds open.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    if (options.fileSizeLimit) {
        const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(127);
    }
    // A program ended by SIGQUIT or SIGSEGV leaves no core file among the test's files.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (options.openFileLimit) {
        const rlimit limit{*options.openFileLimit, *options.openFileLimit};
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
            ::_exit(127);
    }
    if (options.umask)
        ::umask(*options.umask);
    std::vector<char*> argv;
    if (options.ordinaryUser && ::geteuid() == 0)
        for (const char* word :
             {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"})
            argv.push_back(const_cast<char*>(word));
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execve(argv[0], argv.data(), environment.data());
    ::_exit(127);
}

} // namespace

Child::Child(const std::string& program, const std::vector<std::string>& arguments,
             const ChildOptions& options)
    : streams_(makeStreamsFolder()), deadline_(std::chrono::steady_clock::now() + options.timeout) {
    writeFile(streams_ + "/in", options.input);
    // A child stopped before it opens its streams still leaves them to read.
    writeFile(streams_ + "/out", "");
    writeFile(streams_ + "/err", "");
    // The environment is made before the fork, where making it may allocate.
    std::vector<char*> environment;
    const auto given = [&](std::string_view variable) {
        const std::string_view name = variable.substr(0, variable.find('='));
        for (const std::string& added : options.environment)
            if (added.compare(0, name.size() + 1, std::string(name) + "=") == 0)
                return true;
        return false;
    };
    for (char** variable = environ; *variable; ++variable)
        if (!given(*variable))
            environment.push_back(*variable);
    for (const std::string& variable : options.environment)
        environment.push_back(const_cast<char*>(variable.c_str()));
    environment.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0)
        throw std::runtime_error("cannot fork");
    if (pid_ == 0)
        becomeProgram(program, arguments, options, streams_, environment);
}

Child::~Child() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(streams_, ignored);
}

void Child::kill(int signal) {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

bool Child::waitUntil(const std::function<bool()>& ready) {
    for (;;) {
        if (ready())
            return true;
        siginfo_t info{};
        // WNOWAIT leaves the child to be reaped by wait().
        if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid_)
            return ready();
        if (std::chrono::steady_clock::now() > deadline_)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

ChildResult Child::wait() {
    ChildResult result;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = ::wait4(pid_, &status, WNOHANG, &usage);
        if (done == pid_)
            break;
        if (done < 0 && errno != EINTR)
            throw std::runtime_error("cannot wait for the child");
        if (std::chrono::steady_clock::now() > deadline_ && !result.hung) {
            result.hung = true;
            ::kill(pid_, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    pid_ = -1;
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    result.maxRssKiB = usage.ru_maxrss;
    result.out = readFile(streams_ + "/out");
    result.err = readFile(streams_ + "/err");
    return result;
}

long long temporaryFileSize(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().rfind(".stepwell-", 0) != 0)
            continue;
        const auto size = entry.file_size(error);
        return error ? -1 : static_cast<long long>(size);
    }
    return -1;
}

ChildResult runChild(const std::string& program, const std::vector<std::string>& arguments,
                     const ChildOptions& options) {
    return Child(program, arguments, options).wait();
}

} // namespace stepwell::test

#pragma once

#include <stdexcept>
#include <string>

namespace stepwell {

/// A failure reported to the user; the message names what failed and where.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The system's description of an errno value, e.g. "No such file or directory".
std::string systemMessage(int errnum);

/// An Error for a failed system call on `path`: "<path>: <doing>: <system message>".
Error systemError(const std::string& path, const std::string& doing, int errnum);

} // namespace stepwell

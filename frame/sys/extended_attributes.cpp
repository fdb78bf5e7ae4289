// SPDX-License-Identifier: MIT
#include "frame/sys/extended_attributes.h"

#include "frame/sys/system_error.h"

#include <cerrno>
#include <string_view>
#include <sys/xattr.h>
#include <vector>

namespace stepwell {
namespace {

ssize_t listNames(const AttributeSource& from, char* names, std::size_t size) {
    return from.fd >= 0 ? ::flistxattr(from.fd, names, size)
                        : ::listxattr(from.path.c_str(), names, size);
}

ssize_t readValue(const AttributeSource& from, const char* name, void* value, std::size_t size) {
    return from.fd >= 0 ? ::fgetxattr(from.fd, name, value, size)
                        : ::getxattr(from.path.c_str(), name, value, size);
}

// Reads with a buffer grown to the size the call reports, since an attribute may grow
// between the two calls. Returns -1 with errno set when reading fails.
template <typename Read> ssize_t readGrowing(std::vector<char>& buffer, Read read) {
    for (;;) {
        const ssize_t size = read(nullptr, 0);
        if (size <= 0)
            return size;
        buffer.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(buffer.data(), buffer.size());
        if (got >= 0 || errno != ERANGE)
            return got;
    }
}

} // namespace

std::string copyExtendedAttributes(const AttributeSource& from, int to) {
    std::vector<char> names;
    const ssize_t listed = readGrowing(
        names, [&](char* data, std::size_t size) { return listNames(from, data, size); });
    if (listed < 0)
        return errno == ENOTSUP ? std::string() : systemMessage(errno); // none to copy
    std::string why;
    std::vector<char> value;
    for (std::size_t at = 0; at < static_cast<std::size_t>(listed);) {
        const char* name = names.data() + at;
        at += std::string_view(name).size() + 1;
        const ssize_t size = readGrowing(value, [&](char* data, std::size_t capacity) {
            return readValue(from, name, data, capacity);
        });
        const bool copied = size >= 0 && ::fsetxattr(to, name, value.data(),
                                                     static_cast<std::size_t>(size), 0) == 0;
        if (!copied && why.empty())
            why = systemMessage(errno);
    }
    return why;
}

} // namespace stepwell

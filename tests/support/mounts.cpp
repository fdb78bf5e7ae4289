// SPDX-License-Identifier: MIT
#include "tests/support/mounts.h"

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <utility>

namespace stepwell::test {
namespace {

// Enters a private mount namespace once per process; "" on success, else the reason.
std::string privateNamespace() {
    static const std::string reason = []() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0)
            return std::string("cannot make a mount namespace: ") + std::strerror(errno);
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make mounts private: ") + std::strerror(errno);
        return "";
    }();
    return reason;
}

} // namespace

ScopedMount ScopedMount::tmpfs(const std::string& folder, std::size_t bytes) {
    ScopedMount result;
    result.why_ = privateNamespace();
    if (!result.why_.empty())
        return result;
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        result.why_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        return result;
    }
    result.folder_ = folder;
    return result;
}

ScopedMount ScopedMount::readOnly(const std::string& folder) {
    ScopedMount result;
    result.why_ = privateNamespace();
    if (!result.why_.empty())
        return result;
    if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        result.why_ = std::string("cannot bind a folder: ") + std::strerror(errno);
        return result;
    }
    if (::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
        result.why_ = std::string("cannot make a bind mount read-only: ") + std::strerror(errno);
        ::umount2(folder.c_str(), MNT_DETACH);
        return result;
    }
    result.folder_ = folder;
    return result;
}

ScopedMount::ScopedMount(ScopedMount&& other) noexcept
    : folder_(std::exchange(other.folder_, {})), why_(std::move(other.why_)) {}

ScopedMount::~ScopedMount() {
    if (!folder_.empty())
        ::umount2(folder_.c_str(), MNT_DETACH);
}

} // namespace stepwell::test

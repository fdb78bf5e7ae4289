// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell::test {

/// A mount made for one test in a mount namespace of the test process's own, so that the
/// programs it starts see it and nothing outside does; undone when the object goes. Where
/// the system allows no mounts (not root, a container), ok() is false and why() says so.
class ScopedMount {
public:
    /// A tmpfs of `bytes` on `folder`.
    static ScopedMount tmpfs(const std::string& folder, std::size_t bytes);
    /// `folder` made read-only by binding it onto itself.
    static ScopedMount readOnly(const std::string& folder);

    ScopedMount(ScopedMount&& other) noexcept;
    ScopedMount& operator=(ScopedMount&&) = delete;
    ~ScopedMount();

    bool ok() const { return !folder_.empty(); }
    const std::string& why() const { return why_; }

private:
    ScopedMount() = default;
    std::string folder_;
    std::string why_;
};

} // namespace stepwell::test

// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell::test {

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    /// The path of `name` inside the folder.
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

/// Writes `bytes` to `path`, creating or emptying it.
void writeFile(const std::string& path, const std::string& bytes);
/// The bytes of `path`; fails the test when it cannot be read.
std::string readFile(const std::string& path);
/// The names in `folder`, hidden ones included, sorted.
std::string listFolder(const std::string& folder);

} // namespace stepwell::test

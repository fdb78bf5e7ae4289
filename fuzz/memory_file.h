#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace stepwell::fuzz {

/// An anonymous file in memory, so the real readers run on a real descriptor without
/// touching the disk. Closed when the object goes.
class MemoryFile {
public:
    explicit MemoryFile(std::string_view bytes = {});
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    int fd() const { return fd_; }
    /// A path that opens this file, for readers that take a name.
    std::string path() const;
    /// Everything the file holds, from its start.
    std::string contents() const;
    /// Moves the file offset back to the start.
    void rewind() const;

private:
    int fd_;
};

} // namespace stepwell::fuzz

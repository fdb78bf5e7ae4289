// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/line_reader.h"
#include "frame/sys/input_file.h"

#include <cstdint>
#include <functional>

namespace stepwell {

/// Told after each read of an input: the bytes read so far, and the input's size when it was
/// opened. It may throw to stop the reading.
using ReadProgress = std::function<void(std::uint64_t read, std::uint64_t size)>;

/// The lines of `input`, read a buffer at a time, telling `progress` (when given) after each
/// read; `input` must outlive the reader. Reading throws Error naming the input, and what
/// `progress` throws.
inline LineReader linesOf(InputFile& input, ReadProgress progress = {}) {
    if (!progress)
        return LineReader(
            [&input](char* buffer, std::size_t size) { return input.read(buffer, size); });
    const auto size = static_cast<std::uint64_t>(input.status().st_size);
    return LineReader([&input, progress = std::move(progress), size,
                       read = std::uint64_t{0}](char* buffer, std::size_t wanted) mutable {
        const std::size_t got = input.read(buffer, wanted);
        read += got;
        progress(read, size);
        return got;
    });
}

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/line_reader.h"
#include "frame/sys/input_file.h"

namespace stepwell {

/// The lines of `input`, read a buffer at a time; `input` must outlive the reader. Reading
/// throws Error naming the input.
inline LineReader linesOf(InputFile& input) {
    return LineReader(
        [&input](char* buffer, std::size_t size) { return input.read(buffer, size); });
}

} // namespace stepwell

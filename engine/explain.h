// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"
#include "frame/sys/input_file.h"

#include <functional>
#include <string_view>

namespace stepwell {

/// Gives `sink`, a block at a time, why each line of `input` (a file, or standard input)
/// comes out as it does with `table`: a heading, then one row a line (see
/// explanationRow). Converts nothing and writes nothing else. Throws Error when the input
/// cannot be read, and LineError with the line number, after the rows of the lines before it.
void explainInput(InputFile& input, const TagTable& table,
                  const std::function<void(std::string_view)>& sink);

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"
#include "frame/sys/input_file.h"

#include <string>

namespace stepwell {

/// Converts `input` (standard input, say) to the descriptor `output`, named `outputName` in
/// messages. The result is held back until the whole input converted, in memory and then in
/// an unnamed temporary file, so a failure writes nothing to `output`; an output that
/// cannot be written fails even for an empty result. Throws Error, and LineError with the
/// line number.
void convertToOutput(InputFile& input, const TagTable& table, int output,
                     const std::string& outputName);

} // namespace stepwell

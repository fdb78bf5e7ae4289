// SPDX-License-Identifier: MIT
#pragma once

#include "engine/tag_file.h"
#include "frame/prompts/prompts.h"

#include <string>

namespace stepwell {

/// How a conversion ended.
enum class ConvertResult { Converted, Declined, Failed };

/// What a conversion needs to know besides the file.
struct ConvertOptions {
    TagTablePlaces tagTables; // where the file's tag table is looked for
    bool replace = false;     // replace the file, or write "<path>.ident" beside it
};

/// Converts one file: asks before replacing the input or overwriting an existing
/// "<path>.ident", loads the tag table, re-indents every line and puts the result in place
/// atomically; an input whose result is identical to it is not replaced at all. Errors go
/// to `prompts.showError`; the function always returns.
ConvertResult convertFile(const std::string& path, const ConvertOptions& options, Prompts& prompts);

/// The output name of a conversion that does not replace its input.
std::string identPath(const std::string& path);

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include "engine/lines_of.h"
#include "engine/table_cache.h"
#include "engine/tag_file.h"
#include "frame/prompts/prompts.h"
#include "frame/sys/group_commit.h"

#include <cstdint>
#include <functional>
#include <string>

namespace stepwell {

/// How a conversion ended. Unchanged: in replace mode, the result was the input byte for
/// byte, so the input was left as it was. Stopped: the progress callback stopped it.
enum class ConvertResult { Converted, Declined, Failed, Unchanged, Stopped };

/// Thrown by a progress callback to stop a conversion: the result is discarded, the input
/// and any earlier output stay as they were, and convertFile returns Stopped.
struct ConversionStopped {};

/// Told, on the converting thread, after each read of the input: the bytes read so far and
/// the input's size when it was opened. May throw ConversionStopped.
using ConvertProgress = ReadProgress;

/// What a conversion needs to know besides the file.
struct ConvertOptions {
    TagTablePlaces tagTables; // where the file's tag table is looked for
    bool replace = false;     // replace the file, or write "<path>.ident" beside it
    /// Told how far the conversion got; none by default.
    ConvertProgress progress = {};
    /// The tables of a run over many files, each read once for them all (found in
    /// `tagTables`); without, each conversion finds and reads its table afresh.
    TableCache* tables = nullptr;
};

/// Converts one file: asks before replacing the input or overwriting an existing
/// "<path>.ident", loads the tag table, re-indents every line and puts the result in place
/// atomically; an input whose result is identical to it is not replaced at all. Errors go
/// to `prompts.showError`; the function always returns.
ConvertResult convertFile(const std::string& path, const ConvertOptions& options, Prompts& prompts);

/// convertFile for one of many files: the result, once complete, is handed to `commits`, which
/// puts it in place together with others (see GroupCommit), so that `done` learns how the
/// conversion ended then or later, on the committing thread; errors, then too, go to
/// `prompts`. Nothing but `done` learns the result.
void convertFileInGroup(const std::string& path, const ConvertOptions& options, Prompts& prompts,
                        GroupCommit& commits, const std::function<void(ConvertResult)>& done);

/// The output name of a conversion that does not replace its input.
std::string identPath(const std::string& path);

} // namespace stepwell

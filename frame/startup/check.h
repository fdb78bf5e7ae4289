// SPDX-License-Identifier: MIT
#pragma once

#include "engine/tag_file.h"
#include "frame/prompts/prompts.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace stepwell {

/// What a check reports of each file that a conversion would change.
enum class ReportKind {
    Names, // its path, one a line (--check)
    Diffs, // a unified diff that `patch -p1` applies (--diff)
};

/// Checks the files the tokens name (wildcards expand as in a conversion) against the tag
/// table that applies to each, on up to `jobs` threads, writing nothing but the report to
/// `out` (names with their control bytes escaped, so that a name cannot split its line), in
/// the order of the files. Errors go to `prompts.showError` and the check goes on with the
/// next file; a report that cannot be written to `out` stops it. Returns the exit status:
/// 0 when no file would change, 1 when some would, 2 when a file or its tag table could
/// not be read, a line could not be converted, or `out` could not be written, so that no
/// answer is sure.
int runCheck(const std::vector<std::string>& tokens, const TagTablePlaces& places,
             std::ostream& out, Prompts& prompts, ReportKind kind = ReportKind::Names,
             unsigned jobs = 1);

/// Reports, as a unified diff to `out`, how standard input would change. With an
/// `inputName` (an editor's buffer), the input is taken for that file: its tag table, its
/// name in messages and in the diff's header (as for a file of that name); without one, the
/// table of the current folder, headed "--- -" and "+++ -". Returns the exit status as
/// runCheck.
int runDiffOfInput(const TagTablePlaces& places, std::ostream& out, Prompts& prompts,
                   const std::string& inputName = "");

} // namespace stepwell

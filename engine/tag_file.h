// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <functional>
#include <string>
#include <vector>

namespace stepwell {

/// The name of the tag file beside the program, in the user's and in the system's folder.
inline constexpr const char* tagFileName = "StepwellTag.txt";
/// The name of a project's tag table, in the converted file's folder or one above it.
inline constexpr const char* projectTableName = ".stepwell-tags";

/// A place where a tag table may be, after the named and the project tables.
struct TablePlace {
    std::string path;
    /// Whether a table there counts only when this user may trust it (see whyNotTrusted):
    /// one that another user may have put there is an error.
    bool mustBeTrusted = false;
};

/// Where a conversion looks for its tag table. The first place that holds one gives the
/// whole table; no tables are merged.
struct TagTablePlaces {
    TagTablePlaces() = default;
    /// The places of a copy whose tag table is `programDir`/StepwellTag.txt, and nothing else.
    TagTablePlaces(const std::string& programDir); // NOLINT: a folder names these places

    /// A table named for this run (--tags, STEPWELL_TAGS): used even when it cannot be read,
    /// which is then an error. "" when none was named.
    std::string named;
    /// Whether a project table (".stepwell-tags" in the file's folder or the nearest above
    /// it) comes next. Only a project table this user may trust counts; one that another
    /// user may have put there is an error.
    bool projects = true;
    /// Then the first of these that is an ordinary file: beside the program, the user's,
    /// the system's.
    std::vector<TablePlace> fallbacks;
    /// Called with the file's folder when no table applies to a file (its lines will only
    /// lose their leading blanks), so that the user can be told; may be empty.
    std::function<void(const std::string& folder)> noneApplies;
};

/// The tag table that applies to a file in `folder` ("" for the current folder): its path,
/// or "" when none applies. Throws Error, naming the table and why, when the table found is
/// one this user may not trust.
std::string findTagTable(const TagTablePlaces& places, const std::string& folder);

/// Reads the tag file at `path` a line at a time (see parseTagTable). Throws Error, naming
/// it, when it cannot be read or is not a valid tag file.
TagTable readTagFile(const std::string& path);

/// The tag table for a file in `folder`: the one findTagTable finds, or an empty table when
/// none applies (see TagTablePlaces::noneApplies). Throws Error when the table found cannot
/// be read.
TagTable loadTagTable(const TagTablePlaces& places, const std::string& folder);

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_matcher.h"
#include "engine/tag_file.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace stepwell {

/// The tag tables of one run over many files. The table that applies in a folder is looked
/// for once (the upward search for a project table and the trust checks), and each table is
/// read and its matcher built once, at the first file it applies to; the files after it share
/// that matcher, on any thread. So a table edited while the run goes on is not read again:
/// the run keeps the rules it started with. What fails (a table that may not be trusted, or
/// cannot be read) is kept too, and given again, word for word, for every file it concerns.
class TableCache {
public:
    /// Looks for tables in `places`, which must outlive the cache.
    explicit TableCache(const TagTablePlaces& places);
    TableCache(const TableCache&) = delete;
    TableCache& operator=(const TableCache&) = delete;

    /// findTagTable() for `folder` ("" for the current folder): the path of the table that
    /// applies there, "" when none does. Throws Error as it does.
    std::string find(const std::string& folder);

    /// The matcher of the table at `path`, read as readTagFile() reads it; the matcher of the
    /// empty table for "". Throws Error as readTagFile() does.
    std::shared_ptr<const TagMatcher> matcher(const std::string& path);

private:
    // A result, or the message of the Error that stood in its place.
    template <class T> struct Kept {
        T value{};
        std::string error;
        bool failed = false;
    };

    const TagTablePlaces& places_;
    std::mutex mutex_;
    std::unordered_map<std::string, Kept<std::string>> folders_;
    std::unordered_map<std::string, Kept<std::shared_ptr<const TagMatcher>>> tables_;
};

} // namespace stepwell

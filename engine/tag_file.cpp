// SPDX-License-Identifier: MIT
#include "engine/tag_file.h"

#include "engine/lines_of.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/sys/trusted_files.h"
#include "frame/text/error.h"
#include "frame/text/paths.h"

#include <cstdint>

namespace stepwell {
namespace {

// A table that another user may have put in place would decide what is written into this
// user's files: it is refused, and the user may name a table deliberately instead.
const std::string& trusted(const std::string& table) {
    const std::string why = whyNotTrusted(table);
    if (!why.empty())
        throw Error(table + ": " + why + "; not used (name a table with --tags)");
    return table;
}

// The absolute path of `folder`, or of the nearest folder above it that exists: a new
// file, not yet saved (an editor's buffer), belongs to the project it will be saved in.
// "" when not even the current folder can be found.
std::string nearestExistingFolder(std::string folder) {
    for (;;) {
        const std::string at = resolveLinks(folder.empty() ? "." : folder);
        if (!at.empty() && at.front() == '/')
            return at;
        if (folder.empty())
            return {};
        while (!folder.empty() && folder.back() == '/')
            folder.pop_back();
        folder = folderPart(folder);
    }
}

// The nearest folder from `folder` up to the root that holds a project table; "" when none
// does. Anything under that name counts, so that one that cannot be read is reported
// rather than passed over.
std::string findProjectTable(const std::string& folder) {
    std::string at = nearestExistingFolder(folder);
    if (at.empty())
        return {};
    for (;;) {
        const std::string candidate = joinPath(at, projectTableName);
        if (pathExists(candidate))
            return trusted(candidate);
        if (at == "/")
            return {};
        at = folderPart(at);
        if (at.size() > 1)
            at.pop_back();
    }
}

} // namespace

TagTablePlaces::TagTablePlaces(const std::string& programDir)
    : projects(false), fallbacks{{joinPath(programDir, tagFileName)}} {}

std::string findTagTable(const TagTablePlaces& places, const std::string& folder) {
    if (!places.named.empty())
        return places.named;
    if (places.projects) {
        std::string project = findProjectTable(folder);
        if (!project.empty())
            return project;
    }
    for (const TablePlace& candidate : places.fallbacks)
        if (isOrdinaryFile(candidate.path))
            return candidate.mustBeTrusted ? trusted(candidate.path) : candidate.path;
    return {};
}

TagTable readTagFile(const std::string& path) {
    // A table holds a few hundred bytes; what is far larger is no table, and is not read
    // into memory whole.
    constexpr std::uint64_t largest = 1 << 20;
    InputFile file(path);
    if (static_cast<std::uint64_t>(file.status().st_size) > largest)
        throw Error(path + ": is larger than 1 MiB, too large for a tag table");
    LineReader lines = linesOf(file);
    return parseTagTable(lines, path);
}

TagTable loadTagTable(const TagTablePlaces& places, const std::string& folder) {
    const std::string path = findTagTable(places, folder);
    if (!path.empty())
        return readTagFile(path);
    if (places.noneApplies)
        places.noneApplies(folder);
    return {};
}

} // namespace stepwell

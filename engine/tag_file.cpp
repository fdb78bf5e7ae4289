// SPDX-License-Identifier: MIT
#include "engine/tag_file.h"

#include "engine/core/line_reader.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/text/paths.h"

namespace stepwell {
namespace {

// The nearest folder from `folder` up to the root that holds a project table; "" when none
// does. Anything under that name counts, so that one that cannot be read is reported
// rather than passed over.
std::string findProjectTable(const std::string& folder) {
    std::string at = resolveLinks(folder.empty() ? "." : folder);
    if (at.empty() || at.front() != '/')
        return {};
    for (;;) {
        const std::string candidate = joinPath(at, projectTableName);
        if (pathExists(candidate))
            return candidate;
        if (at == "/")
            return {};
        at = folderPart(at);
        if (at.size() > 1)
            at.pop_back();
    }
}

} // namespace

TagTablePlaces::TagTablePlaces(const std::string& programDir)
    : projects(false), fallbacks{joinPath(programDir, tagFileName)} {}

std::string findTagTable(const TagTablePlaces& places, const std::string& folder) {
    if (!places.named.empty())
        return places.named;
    if (places.projects) {
        std::string project = findProjectTable(folder);
        if (!project.empty())
            return project;
    }
    for (const std::string& candidate : places.fallbacks)
        if (isOrdinaryFile(candidate))
            return candidate;
    return {};
}

TagTable readTagFile(const std::string& path) {
    InputFile file(path);
    LineReader lines([&file](char* buffer, std::size_t size) { return file.read(buffer, size); });
    return parseTagTable(lines, path);
}

TagTable loadTagTable(const TagTablePlaces& places, const std::string& folder) {
    const std::string path = findTagTable(places, folder);
    return path.empty() ? TagTable{} : readTagFile(path);
}

} // namespace stepwell

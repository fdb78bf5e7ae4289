#include "engine/tag_file.h"

#include "engine/core/line_reader.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/text/paths.h"

namespace stepwell {

TagTable readTagFile(const std::string& path) {
    InputFile file(path);
    LineReader lines([&file](char* buffer, std::size_t size) { return file.read(buffer, size); });
    return parseTagTable(lines, path);
}

TagTable loadTagTable(const std::string& programDir) {
    const std::string path = joinPath(programDir, tagFileName);
    if (!isOrdinaryFile(path))
        return {};
    return readTagFile(path);
}

} // namespace stepwell

// SPDX-License-Identifier: MIT
#include "engine/convert.h"

#include "engine/core/convert_lines.h"
#include "engine/core/failure.h"
#include "engine/tag_file.h"
#include "frame/sys/atomic_file.h"
#include "frame/sys/background_writer.h"
#include "frame/sys/byte_comparer.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/sys/line_writer.h"
#include "frame/text/paths.h"

#include <sys/stat.h>

namespace stepwell {
namespace {

// The question of the mode, when one is due; true when the conversion may go on. Nothing
// has been touched yet.
bool mayProceed(const std::string& path, bool replace, Prompts& prompts) {
    if (replace)
        return prompts.askYesNo(path + "を置換しますか?");
    const std::string target = identPath(path);
    if (pathExists(target))
        return prompts.askYesNo(target + "を上書きしますか?");
    return true;
}

// A fresh tag table for every file, so that an edit to the tag file counts at once; its
// errors name the file that could not be converted.
TagTable loadTagTableFor(const std::string& path, const TagTablePlaces& places) {
    try {
        return loadTagTable(places, folderPart(path));
    } catch (const Error& error) {
        throw Error(path + ": " + error.what());
    }
}

// Replace mode: the result takes the input's permission bits, owner, group and extended
// attributes. A file this user may not write is refused, as a text editor would.
void takeInputsPlace(AtomicFile& output, const InputFile& input) {
    requireWritable(output.destination(), output.name(), "cannot replace");
    output.keepAttributesOf(input.status());
    output.keepExtendedAttributesOf(input.fd());
}

// Not in replace mode: an existing output keeps its own attributes, and a new one gets the
// input's permission bits (never more than a new file gets), so a private page does not
// give a public result.
void takeIdentsPlace(AtomicFile& output, const InputFile& input) {
    struct stat existing {};
    if (::stat(output.destination().c_str(), &existing) != 0 || !S_ISREG(existing.st_mode)) {
        output.narrowModeTo(input.status().st_mode);
        return;
    }
    requireWritable(output.destination(), output.name(), "cannot overwrite");
    output.keepAttributesOf(existing);
    output.keepExtendedAttributesOf(output.destination());
}

// Writes the result and compares it with the input at the same time.
struct WriteAndCompare {
    BackgroundWriter& writer;
    ByteComparer& original;

    void write(std::string_view text) {
        writer.write(text);
        original.write(text);
    }
    void flush() { writer.flush(); }
};

} // namespace

std::string identPath(const std::string& path) {
    return path + ".ident";
}

ConvertResult convertFile(const std::string& path, const ConvertOptions& options,
                          Prompts& prompts) {
    const bool replace = options.replaceSetting != 0;
    try {
        if (!mayProceed(path, replace, prompts))
            return ConvertResult::Declined;
        const TagTable table = loadTagTableFor(path, options.tagTables);

        InputFile input(path);
        const auto inputSize = static_cast<std::uint64_t>(input.status().st_size);
        std::uint64_t bytesRead = 0;
        LineReader lines([&](char* buffer, std::size_t size) {
            const std::size_t got = input.read(buffer, size);
            bytesRead += got;
            if (options.progress)
                options.progress(bytesRead, inputSize);
            return got;
        });
        // The result goes to a temporary file beside its destination. Writing through a
        // link replaces the link's target and keeps the link.
        const std::string target = replace ? path : identPath(path);
        AtomicFile output(resolveLinks(target), target);
        if (replace)
            takeInputsPlace(output, input);
        else
            takeIdentsPlace(output, input);
        BackgroundWriter writer(output.fd(), output.name());

        if (!replace) {
            convertLines(lines, writer, table);
            output.commit();
            return ConvertResult::Converted;
        }
        // A result identical to the input leaves the file alone (same inode, same time); the
        // temporary file goes with `output`.
        ByteComparer original(input.fd(), path);
        WriteAndCompare both{writer, original};
        convertLines(lines, both, table);
        if (original.matchedAll())
            return ConvertResult::Unchanged;
        // Another program's save while this one ran must not be undone.
        output.commitOver(input.status());
        return ConvertResult::Converted;
    } catch (const ConversionStopped&) {
        // The temporary file went with `output`; nothing else was touched.
        return ConvertResult::Stopped;
    } catch (...) {
        showCurrentFailure(path, prompts);
        return ConvertResult::Failed;
    }
}

} // namespace stepwell

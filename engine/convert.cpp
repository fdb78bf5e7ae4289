#include "engine/convert.h"

#include "engine/core/convert_lines.h"
#include "engine/core/failure.h"
#include "engine/tag_file.h"
#include "frame/sys/atomic_file.h"
#include "frame/sys/byte_comparer.h"
#include "frame/sys/files.h"
#include "frame/sys/input_file.h"
#include "frame/sys/line_writer.h"
#include "frame/text/paths.h"

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

// Writes the result and compares it with the input at the same time.
struct WriteAndCompare {
    LineWriter& writer;
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
        LineReader lines(
            [&input](char* buffer, std::size_t size) { return input.read(buffer, size); });
        // The result goes to a temporary file beside its destination. Replacing through a
        // link replaces the link's target and keeps the link.
        AtomicFile output(replace ? resolveLinks(path) : identPath(path));
        if (replace)
            output.keepAttributesOf(input.status());
        LineWriter writer(output.fd(), output.destination());

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
        if (!original.matchedAll())
            output.commit();
        return ConvertResult::Converted;
    } catch (...) {
        showCurrentFailure(path, prompts);
        return ConvertResult::Failed;
    }
}

} // namespace stepwell

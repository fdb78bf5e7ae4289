#include "convert.h"

#include "atomic_file.h"
#include "byte_comparer.h"
#include "convert_lines.h"
#include "error.h"
#include "files.h"
#include "input_file.h"
#include "line_indenter.h"

#include <new>

namespace stepwell {

std::string identPath(const std::string& path) {
    return path + ".ident";
}

void convertLines(LineReader& in, LineWriter& out, const TagTable& table) {
    convertLinesTo(in, out, table);
}

namespace {

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

// The question of the mode, when one is due; true when the conversion may go on.
bool mayProceed(const std::string& path, bool replace, Prompts& prompts) {
    if (replace)
        return prompts.askYesNo(path + "を置換しますか?");
    const std::string target = identPath(path);
    if (pathExists(target))
        return prompts.askYesNo(target + "を上書きしますか?");
    return true;
}

void convertInto(const std::string& path, bool replace, const TagTable& table) {
    InputFile input(path);
    // A link keeps being a link: its target is what gets replaced.
    AtomicFile output(replace ? resolveLinks(path) : identPath(path));
    if (replace)
        output.keepAttributesOf(input.status());
    LineReader reader(input.fd(), path);
    LineWriter writer(output.fd(), output.destination());
    if (!replace) {
        convertLines(reader, writer, table);
        output.commit();
        return;
    }
    // A result identical to the input leaves the file alone (same inode, same time): the
    // temporary file goes with `output`.
    ByteComparer original(input.fd(), path);
    WriteAndCompare both{writer, original};
    convertLinesTo(reader, both, table);
    if (!original.matchedAll())
        output.commit();
}

// The tag table, with its errors naming the file that could not be converted.
TagTable loadTagTableFor(const std::string& path, const std::string& programDir) {
    try {
        return loadTagTable(programDir);
    } catch (const Error& error) {
        throw Error(path + ": " + error.what());
    }
}

} // namespace

ConvertResult convertFile(const std::string& path, const ConvertOptions& options,
                          Prompts& prompts) {
    const bool replace = options.replaceSetting != 0;
    try {
        if (!mayProceed(path, replace, prompts))
            return ConvertResult::Declined;
        convertInto(path, replace, loadTagTableFor(path, options.programDir));
        return ConvertResult::Converted;
    } catch (const LineError& error) {
        prompts.showError(path + ", " + error.what());
    } catch (const Error& error) {
        prompts.showError(error.what());
    } catch (const std::bad_alloc&) {
        prompts.showError(path + ": not enough memory to convert this file");
    }
    return ConvertResult::Failed;
}

} // namespace stepwell

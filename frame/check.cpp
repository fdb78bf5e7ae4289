#include "check.h"

#include "byte_comparer.h"
#include "command_line.h"
#include "convert_lines.h"
#include "error.h"
#include "input_file.h"
#include "line_indenter.h"

#include <new>
#include <ostream>

namespace stepwell {
namespace {

enum class Outcome { Same, Changed, Unknown };

Outcome checkFile(const std::string& path, const TagTable& table, Prompts& prompts) {
    try {
        return wouldChange(path, table) ? Outcome::Changed : Outcome::Same;
    } catch (const LineError& error) {
        prompts.showError(path + ", " + error.what());
    } catch (const Error& error) {
        prompts.showError(error.what());
    } catch (const std::bad_alloc&) {
        prompts.showError(path + ": not enough memory to check this file");
    }
    return Outcome::Unknown;
}

} // namespace

bool wouldChange(const std::string& path, const TagTable& table) {
    InputFile input(path);
    LineReader reader(input.fd(), path);
    ByteComparer original(input.fd(), path);
    // The whole file is converted even after a difference: a line that cannot be converted
    // means the file could not be replaced either.
    convertLinesTo(reader, original, table);
    return !original.matchedAll();
}

int runCheck(const std::vector<std::string>& tokens, const std::string& programDir,
             std::ostream& out, Prompts& prompts) {
    TagTable table;
    try {
        table = loadTagTable(programDir);
    } catch (const Error& error) {
        prompts.showError(std::string(error.what()) + "; no file was checked");
        return 2;
    }
    bool changed = false;
    bool unknown = false;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        const Outcome outcome = checkFile(path, table, prompts);
        if (outcome == Outcome::Changed)
            out << path << '\n' << std::flush;
        changed |= outcome == Outcome::Changed;
        unknown |= outcome == Outcome::Unknown;
    });
    return unknown || !allNamed ? 2 : changed ? 1 : 0;
}

} // namespace stepwell

#include "frame/check.h"

#include "engine/convert.h"
#include "engine/core/failure.h"
#include "engine/tag_file.h"
#include "frame/command_line.h"
#include "frame/sys/system_error.h"
#include "frame/text/error.h"
#include "frame/text/shown_text.h"

#include <cerrno>
#include <ostream>

namespace stepwell {
namespace {

enum class Outcome { Same, Changed, Unknown };

Outcome checkFile(const std::string& path, const TagTable& table, Prompts& prompts) {
    try {
        return wouldChange(path, table) ? Outcome::Changed : Outcome::Same;
    } catch (...) {
        showCurrentFailure(path, prompts);
        return Outcome::Unknown;
    }
}

} // namespace

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
    bool listed = true;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        if (!listed)
            return; // the list cannot reach its reader: no answer is sure any more
        const Outcome outcome = checkFile(path, table, prompts);
        if (outcome == Outcome::Changed) {
            errno = 0;
            out << escapeControlBytes(path) << '\n' << std::flush; // one name a line
            if (!out) {
                const int why = errno;
                prompts.showError("standard output: cannot write" +
                                  (why ? ": " + systemMessage(why) : std::string()));
                listed = false;
            }
        }
        changed |= outcome == Outcome::Changed;
        unknown |= outcome == Outcome::Unknown;
    });
    return unknown || !allNamed || !listed ? 2 : changed ? 1 : 0;
}

} // namespace stepwell

// SPDX-License-Identifier: MIT
#include "frame/check.h"

#include "engine/compare.h"
#include "engine/core/convert_lines.h"
#include "engine/core/failure.h"
#include "frame/file_names.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/system_error.h"
#include "frame/text/paths.h"
#include "frame/text/shown_text.h"

#include <cerrno>
#include <map>
#include <optional>
#include <ostream>

namespace stepwell {
namespace {

enum class Outcome { Same, Changed, Unknown };

// The tag tables of a check, each read once however many files use it. A table that cannot
// be read is reported once; the files that use it are not checked.
class Tables {
public:
    Tables(const TagTablePlaces& places, Prompts& prompts) : places_(places), prompts_(prompts) {}

    const TagTable* forFile(const std::string& path) {
        const std::string table = findTagTable(places_, folderPart(path));
        auto [found, added] = tables_.try_emplace(table);
        if (added) {
            try {
                found->second = table.empty() ? TagTable{} : readTagFile(table);
            } catch (const Error& error) {
                prompts_.showError(std::string(error.what()) + "; no file was checked with it");
            }
        }
        return found->second ? &*found->second : nullptr;
    }

private:
    const TagTablePlaces& places_;
    Prompts& prompts_;
    std::map<std::string, std::optional<TagTable>> tables_;
};

Outcome checkFile(const std::string& path, Tables& tables, Report report, std::ostream& out,
                  Prompts& prompts) {
    try {
        const TagTable* table = tables.forFile(path);
        if (!table)
            return Outcome::Unknown;
        if (report == Report::Names) {
            if (!wouldChange(path, *table))
                return Outcome::Same;
            out << escapeControlBytes(path) << '\n'; // one name a line
            return Outcome::Changed;
        }
        const auto write = [&out](std::string_view text) { out << text; };
        return diffFile(path, *table, write) ? Outcome::Changed : Outcome::Same;
    } catch (...) {
        showCurrentFailure(path, prompts);
        return Outcome::Unknown;
    }
}

// Flushes the report; a report that did not reach its reader leaves no sure answer.
bool delivered(std::ostream& out, Prompts& prompts) {
    errno = 0;
    out.flush();
    if (out)
        return true;
    const int why = errno;
    prompts.showError("standard output: cannot write" +
                      (why ? ": " + systemMessage(why) : std::string()));
    return false;
}

} // namespace

int runCheck(const std::vector<std::string>& tokens, const TagTablePlaces& places,
             std::ostream& out, Prompts& prompts, Report report) {
    Tables tables(places, prompts);
    bool changed = false;
    bool unknown = false;
    bool listed = true;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        if (!listed)
            return; // the report cannot reach its reader: no answer is sure any more
        const Outcome outcome = checkFile(path, tables, report, out, prompts);
        listed = delivered(out, prompts);
        changed |= outcome == Outcome::Changed;
        unknown |= outcome == Outcome::Unknown;
    });
    return unknown || !allNamed || !listed ? 2 : changed ? 1 : 0;
}

int runDiffOfInput(int in, const TagTablePlaces& places, std::ostream& out, Prompts& prompts) {
    const std::string inputName = "standard input";
    bool changed = false;
    try {
        const TagTable table = loadTagTable(places, "");
        LineReader lines([in, &inputName](char* buffer, std::size_t size) {
            return readSome(in, buffer, size, inputName);
        });
        UnifiedDiff diff("-", "-", [&out](std::string_view text) { out << text; });
        changed = diffConversion(lines, table, diff);
    } catch (...) {
        showCurrentFailure(inputName, prompts);
        return 2;
    }
    if (!delivered(out, prompts))
        return 2;
    return changed ? 1 : 0;
}

} // namespace stepwell

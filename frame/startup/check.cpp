// SPDX-License-Identifier: MIT
#include "frame/startup/check.h"

#include "engine/compare.h"
#include "engine/core/convert_lines.h"
#include "engine/failure.h"
#include "frame/startup/file_names.h"
#include "frame/startup/report.h"
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
                found->second = loadTagTable(places_, folderPart(path));
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

Outcome checkFile(const std::string& path, Tables& tables, ReportKind kind, Report& report,
                  Prompts& prompts) {
    try {
        const TagTable* table = tables.forFile(path);
        if (!table)
            return Outcome::Unknown;
        InputFile input(path);
        if (kind == ReportKind::Names) {
            if (!wouldChange(input, *table))
                return Outcome::Same;
            report.write(escapeControlBytes(path) + "\n"); // one name a line
            return Outcome::Changed;
        }
        const auto [oldName, newName] = diffNamesOf(path);
        const auto write = [&report](std::string_view text) { report.write(text); };
        return diffOf(input, *table, oldName, newName, write) ? Outcome::Changed : Outcome::Same;
    } catch (...) {
        showCurrentFailure(path, prompts);
        return Outcome::Unknown;
    }
}

} // namespace

int runCheck(const std::vector<std::string>& tokens, const TagTablePlaces& places,
             std::ostream& out, Prompts& prompts, ReportKind kind) {
    Tables tables(places, prompts);
    Report report(out);
    bool changed = false;
    bool unknown = false;
    bool listed = true;
    const bool allNamed = forEachNamedFile(tokens, prompts, [&](const std::string& path) {
        if (!listed)
            return; // the report cannot reach its reader: no answer is sure any more
        const Outcome outcome = checkFile(path, tables, kind, report, prompts);
        listed = report.delivered(prompts);
        changed |= outcome == Outcome::Changed;
        unknown |= outcome == Outcome::Unknown;
    });
    return unknown || !allNamed || !listed ? 2 : changed ? 1 : 0;
}

int runDiffOfInput(const TagTablePlaces& places, std::ostream& out, Prompts& prompts,
                   const std::string& inputName) {
    InputFile input = InputFile::standardInput(inputName);
    Report report(out);
    bool changed = false;
    try {
        const TagTable table = loadTagTable(places, folderPart(inputName));
        const auto [oldName, newName] = inputName.empty()
                                            ? std::pair<std::string, std::string>("-", "-")
                                            : diffNamesOf(inputName);
        const auto write = [&report](std::string_view text) { report.write(text); };
        changed = diffOf(input, table, oldName, newName, write);
    } catch (...) {
        showCurrentFailure(input.path(), prompts);
        return 2;
    }
    if (!report.delivered(prompts))
        return 2;
    return changed ? 1 : 0;
}

} // namespace stepwell

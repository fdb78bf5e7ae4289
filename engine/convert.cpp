// SPDX-License-Identifier: MIT
#include "engine/convert.h"

#include "engine/core/convert_lines.h"
#include "engine/failure.h"
#include "engine/lines_of.h"
#include "engine/tag_file.h"
#include "frame/sys/atomic_file.h"
#include "frame/sys/background_writer.h"
#include "frame/sys/byte_comparer.h"
#include "frame/sys/files.h"
#include "frame/sys/followed_links.h"
#include "frame/sys/group_commit.h"
#include "frame/sys/input_file.h"
#include "frame/sys/line_writer.h"
#include "frame/text/paths.h"

#include <memory>
#include <optional>

namespace stepwell {
namespace {

// The file a question names: the target, and the file a link leads to when that is what
// will be written.
std::string shownTarget(const std::string& target, const std::string& written) {
    return written == target ? target : target + " → " + written;
}

// The question of the mode, when one is due; true when the conversion may go on. Nothing
// has been touched yet. `target` is the file to replace or overwrite, `written` the file
// that writing it changes.
bool mayProceed(const std::string& target, const std::string& written, bool replace,
                Prompts& prompts) {
    if (replace)
        return prompts.askYesNo(shownTarget(target, written) + "を置換しますか?");
    if (pathExists(target))
        return prompts.askYesNo(shownTarget(target, written) + "を上書きしますか?");
    return true;
}

// The matcher of the file's tag table: the run's, read once for all its files, or else one
// read for this file alone, so that an edit to the tag file counts at once. Its errors name
// the file that could not be converted.
std::shared_ptr<const TagMatcher> matcherFor(const std::string& path,
                                             const ConvertOptions& options) {
    try {
        const std::string folder = folderPart(path);
        if (!options.tables)
            return std::make_shared<const TagMatcher>(loadTagTable(options.tagTables, folder));
        const std::string table = options.tables->find(folder);
        if (table.empty() && options.tagTables.noneApplies)
            options.tagTables.noneApplies(folder);
        return options.tables->matcher(table);
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
    if (!output.replacesAFile()) {
        output.narrowModeTo(input.status().st_mode);
        return;
    }
    requireWritable(output.destination(), output.name(), "cannot overwrite");
    output.keepDestinationsAttributes();
}

// A conversion up to putting its result in place.
struct Finished {
    ConvertResult result = ConvertResult::Converted; // how it ended, when `output` is null
    std::unique_ptr<AtomicFile> output;              // the result, complete, to be committed
    std::optional<struct stat> original; // replace mode: the input as it was read, which the
                                         // commit checks is still there
};

// Everything convertFile does before the commit. Throws what fails.
Finished convertUntilCommit(const std::string& path, const ConvertOptions& options,
                            Prompts& prompts) {
    const bool replace = options.replace;
    // Writing through a link replaces the link's target and keeps the link, but only a
    // link that this user may follow, to a regular file.
    const std::string target = replace ? path : identPath(path);
    const std::string written = followForWriting(target, target);
    if (!mayProceed(target, written, replace, prompts))
        return {ConvertResult::Declined, nullptr, std::nullopt};
    const std::shared_ptr<const TagMatcher> matcher = matcherFor(path, options);

    InputFile input(path);
    LineReader lines = linesOf(input, options.progress);
    // The result goes to a temporary file beside its destination.
    auto output = std::make_unique<AtomicFile>(written, target);
    if (replace)
        takeInputsPlace(*output, input);
    else
        takeIdentsPlace(*output, input);
    BackgroundWriter writer(output->fd(), output->name());

    if (!replace) {
        convertLines(lines, writer, *matcher);
        return {ConvertResult::Converted, std::move(output), std::nullopt};
    }
    // A result identical to the input leaves the file alone (same inode, same time); the
    // temporary file goes with `output`.
    ByteComparer original(input.fd(), path);
    BothSinks both(writer, original);
    convertLines(lines, both, *matcher);
    if (original.matchedAll())
        return {ConvertResult::Unchanged, nullptr, std::nullopt};
    // Another program's save while this one ran must not be undone.
    return {ConvertResult::Converted, std::move(output), input.status()};
}

} // namespace

std::string identPath(const std::string& path) {
    return path + ".ident";
}

ConvertResult convertFile(const std::string& path, const ConvertOptions& options,
                          Prompts& prompts) {
    try {
        Finished finished = convertUntilCommit(path, options, prompts);
        if (!finished.output)
            return finished.result;
        if (finished.original)
            finished.output->commitOver(*finished.original);
        else
            finished.output->commit();
        return ConvertResult::Converted;
    } catch (const ConversionStopped&) {
        // The temporary file went with `output`; nothing else was touched.
        return ConvertResult::Stopped;
    } catch (...) {
        showCurrentFailure(path, prompts);
        return ConvertResult::Failed;
    }
}

void convertFileInGroup(const std::string& path, const ConvertOptions& options, Prompts& prompts,
                        GroupCommit& commits, const std::function<void(ConvertResult)>& done) {
    Finished finished;
    try {
        finished = convertUntilCommit(path, options, prompts);
        if (finished.output)
            finished.output->startWriteBack();
    } catch (const ConversionStopped&) {
        done(ConvertResult::Stopped);
        return;
    } catch (...) {
        showCurrentFailure(path, prompts);
        done(ConvertResult::Failed);
        return;
    }
    if (!finished.output) {
        done(finished.result);
        return;
    }
    commits.add(std::move(finished.output), finished.original,
                [path, &prompts, done](std::exception_ptr failure) {
                    if (!failure) {
                        done(ConvertResult::Converted);
                        return;
                    }
                    try {
                        std::rethrow_exception(failure);
                    } catch (...) {
                        showCurrentFailure(path, prompts);
                    }
                    done(ConvertResult::Failed);
                });
}

} // namespace stepwell

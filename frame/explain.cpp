// SPDX-License-Identifier: MIT
#include "frame/explain.h"

#include "engine/core/failure.h"
#include "engine/core/line_error.h"
#include "engine/core/line_explainer.h"
#include "engine/core/line_reader.h"
#include "frame/sys/fd_io.h"
#include "frame/sys/input_file.h"
#include "frame/text/paths.h"

#include <memory>
#include <ostream>
#include <unistd.h>

namespace stepwell {

int runExplain(const std::string& path, const TagTablePlaces& places, std::ostream& out,
               Prompts& prompts) {
    const bool standardInput = path.empty();
    const std::string name = standardInput ? "standard input" : path;
    try {
        const TagTable table = loadTagTable(places, standardInput ? "" : folderPart(path));
        std::unique_ptr<InputFile> file;
        if (!standardInput)
            file = std::make_unique<InputFile>(path);
        LineReader lines([&](char* buffer, std::size_t size) {
            return file ? file->read(buffer, size) : readSome(STDIN_FILENO, buffer, size, name);
        });
        LineExplainer explainer(table);
        out << explanationHeading();
        std::string_view line;
        std::uint64_t lineNumber = 0;
        std::string rows; // written a block at a time
        while (lines.next(line)) {
            ++lineNumber;
            try {
                appendExplanationRow(lineNumber, explainer.explain(line), rows);
            } catch (const LineError& error) {
                out << rows;
                throw LineError("line " + std::to_string(lineNumber) + ": " + error.what());
            }
            if (rows.size() >= (std::size_t{1} << 16)) {
                out << rows;
                rows.clear();
            }
        }
        out << rows;
        out.flush();
        if (!out) {
            prompts.showError("standard output: cannot write the explanation");
            return 1;
        }
        return 0;
    } catch (...) {
        showCurrentFailure(name, prompts);
        return 1;
    }
}

} // namespace stepwell

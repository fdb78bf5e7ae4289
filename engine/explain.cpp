// SPDX-License-Identifier: MIT
#include "engine/explain.h"

#include "engine/core/line_error.h"
#include "engine/core/line_explainer.h"
#include "engine/lines_of.h"

#include <string>

namespace stepwell {

void explainInput(InputFile& input, const TagTable& table,
                  const std::function<void(std::string_view)>& sink) {
    LineReader lines = linesOf(input);
    LineExplainer explainer(table);
    std::string rows = explanationHeading(); // given to the sink a block at a time
    LineExplanation explained;               // its room kept from line to line
    std::string_view line;
    std::uint64_t lineNumber = 0;
    while (lines.next(line)) {
        ++lineNumber;
        try {
            explainer.explain(line, explained);
            appendExplanationRow(lineNumber, explained, rows);
        } catch (const LineError& error) {
            sink(rows);
            throw LineError("line " + std::to_string(lineNumber) + ": " + error.what());
        }
        if (rows.size() >= (std::size_t{1} << 16)) {
            sink(rows);
            rows.clear();
        }
    }
    sink(rows);
}

} // namespace stepwell

#include "filter.h"

#include "convert_lines.h"
#include "error.h"
#include "line_indenter.h"
#include "spill_buffer.h"

#include <new>

namespace stepwell {

int runFilter(int in, int out, const std::string& programDir, Prompts& prompts) {
    const std::string inputName = "standard input";
    try {
        const TagTable table = loadTagTable(programDir);
        LineReader reader(in, inputName);
        SpillBuffer result;
        convertLinesTo(reader, result, table);
        result.copyTo(out, "standard output");
        return 0;
    } catch (const LineError& error) {
        prompts.showError(inputName + ", " + error.what());
    } catch (const Error& error) {
        prompts.showError(error.what());
    } catch (const std::bad_alloc&) {
        prompts.showError(inputName + ": not enough memory to convert it");
    }
    return 1;
}

} // namespace stepwell

// SPDX-License-Identifier: MIT
// Micro-benchmarks of the engine: indenting typical lines with the shipped table, the plain
// scan the tests keep as their model (for comparison), a minified page on one line, and
// reading the tag file.
#include "engine/core/line_indenter.h"
#include "engine/core/raw_blocks.h"
#include "engine/core/tag_scanner.h"
#include "engine/core/tag_table.h"

#include "engine/tag_file.h"
#include "tests/support/reference_indenter.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace stepwell;

const std::string tagFile = STEPWELL_SOURCE_DIR "/StepwellTag.txt";

std::string samplesText() {
    std::string text;
    for (auto& entry : std::filesystem::directory_iterator(STEPWELL_SOURCE_DIR "/samples")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        text += bytes.str();
    }
    return text;
}

std::vector<std::string> sampleLines() {
    std::vector<std::string> lines;
    std::istringstream in(samplesText());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back("    " + line);
    }
    return lines;
}

std::int64_t totalBytes(const std::vector<std::string>& lines) {
    std::int64_t bytes = 0;
    for (const auto& line : lines)
        bytes += static_cast<std::int64_t>(line.size());
    return bytes;
}

void indentTypicalLines(benchmark::State& state) {
    const TagTable table = readTagFile(tagFile);
    const auto lines = sampleLines();
    LineIndenter indenter(table);
    std::string out;
    for (auto _ : state)
        for (const auto& line : lines) {
            out.clear();
            indenter.indentLine(line, out);
            benchmark::DoNotOptimize(out.data());
        }
    state.SetBytesProcessed(state.iterations() * totalBytes(lines));
}
BENCHMARK(indentTypicalLines);

// The table as the scan sees it, without the raw-block entries that the indenter handles
// around the scan.
TagTable scannedTable() {
    return RawBlocks(readTagFile(tagFile)).ordinaryTable();
}

void plainScanOfTypicalLines(benchmark::State& state) {
    const auto entries = test::refEntries(scannedTable());
    const auto lines = sampleLines();
    for (auto _ : state)
        for (const auto& line : lines)
            benchmark::DoNotOptimize(test::refTally(stripLeadingBlanks(line), entries));
    state.SetBytesProcessed(state.iterations() * totalBytes(lines));
}
BENCHMARK(plainScanOfTypicalLines);

// The scan of a minified page on one line, without raw blocks, so that a comment on it does
// not turn the rest into block content.
void scanMinifiedLine(benchmark::State& state) {
    const TagTable table = scannedTable();
    std::string line;
    for (const char c : samplesText())
        if (c != '\r' && c != '\n')
            line += c;
    while (line.size() < (1u << 20))
        line += line;
    TagScanner scanner(table);
    for (auto _ : state)
        benchmark::DoNotOptimize(scanner.scan(line));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(scanMinifiedLine);

void readShippedTagFile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readTagFile(tagFile));
}
BENCHMARK(readShippedTagFile);

void buildScannerForShippedTable(benchmark::State& state) {
    const TagTable table = scannedTable();
    for (auto _ : state)
        benchmark::DoNotOptimize(TagScanner(table));
}
BENCHMARK(buildScannerForShippedTable);

} // namespace

BENCHMARK_MAIN();

// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace stepwell {

/// Gathers output lines into blocks before they go to `Output` (anything with
/// write(std::string_view)), so that the output takes one call per block rather than
/// several per line.
template <class Output> class OutputBlocks {
public:
    explicit OutputBlocks(Output& out) : out_(out), buffer_(new char[capacity + slack]) {}
    OutputBlocks(const OutputBlocks&) = delete;
    OutputBlocks& operator=(const OutputBlocks&) = delete;

    /// Appends `tabs` tab characters, `text` and `lineBreak`.
    void put(std::size_t tabs, std::string_view text, std::string_view lineBreak) {
        const std::size_t size = tabs + text.size() + lineBreak.size();
        if (size > capacity - used_) {
            flush();
            if (size > capacity) {
                putLarge(tabs, text, lineBreak);
                return;
            }
        }
        // Few tabs and the line break are written as fixed-size pieces into the slack
        // behind the block, which the next line overwrites; that saves a call each.
        char* at = buffer_.get() + used_;
        if (tabs <= sizeof tabRun)
            std::memcpy(at, tabRun, sizeof tabRun);
        else
            std::memset(at, '\t', tabs);
        at += tabs;
        std::memcpy(at, text.data(), text.size());
        at += text.size();
        switch (lineBreak.size()) {
        case 2:
            at[1] = lineBreak[1];
            [[fallthrough]];
        case 1:
            at[0] = lineBreak[0];
            [[fallthrough]];
        case 0:
            break;
        default:
            std::memcpy(at, lineBreak.data(), lineBreak.size());
        }
        used_ += size;
    }

    /// Passes everything gathered on to the output (which is not flushed itself).
    void flush() {
        if (used_ > 0)
            out_.write(std::string_view(buffer_.get(), used_));
        used_ = 0;
    }

private:
    static constexpr std::size_t capacity = 64 * 1024;
    static constexpr char tabRun[16] = {'\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t',
                                        '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t'};
    static constexpr std::size_t slack = sizeof tabRun;

    // A line longer than a block goes straight through, its tabs a block at a time.
    void putLarge(std::size_t tabs, std::string_view text, std::string_view lineBreak) {
        std::memset(buffer_.get(), '\t', std::min(tabs, capacity));
        for (std::size_t left = tabs; left > 0;) {
            const std::size_t part = std::min(left, capacity);
            out_.write(std::string_view(buffer_.get(), part));
            left -= part;
        }
        out_.write(text);
        out_.write(lineBreak);
    }

    Output& out_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace stepwell {

/// Gathers output lines into blocks before they go to `Output` (a TextSink), so that the
/// output takes one call per block rather than several per line. An output that lends room in its
/// own buffer (room(std::size_t) and fill(std::size_t)) gets the lines written there, and so copied
/// once, not twice.
template <class Output> class OutputBlocks {
    static constexpr bool inPlace = requires(Output & out) {
        out.room(std::size_t{});
        out.fill(std::size_t{});
    };

public:
    explicit OutputBlocks(Output& out) : out_(out) {
        if constexpr (!inPlace)
            own_.reset(new char[capacity + slack]);
    }
    OutputBlocks(const OutputBlocks&) = delete;
    OutputBlocks& operator=(const OutputBlocks&) = delete;

    /// Appends `tabs` tab characters, `text` and `lineBreak`.
    void put(std::size_t tabs, std::string_view text, std::string_view lineBreak) {
        const std::size_t size = tabs + text.size() + lineBreak.size();
        if (size + slack > free_) {
            flush();
            takeRoom(size + slack);
            if (size + slack > free_) {
                putLarge(tabs, text, lineBreak);
                return;
            }
        }
        // Few tabs and the line break are written as fixed-size pieces into the slack
        // behind the line, which the next line overwrites; that saves a call each.
        char* at = block_ + used_;
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
        free_ -= size;
    }

    /// Passes everything gathered on to the output (which is not flushed itself).
    void flush() {
        if (used_ > 0) {
            if constexpr (inPlace)
                out_.fill(used_);
            else
                out_.write(std::string_view(block_, used_));
        }
        used_ = 0;
        free_ = 0; // the next line takes room afresh
    }

private:
    static constexpr std::size_t capacity = 64 * 1024;
    static constexpr char tabRun[16] = {'\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t',
                                        '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t'};
    static constexpr std::size_t slack = sizeof tabRun;

    void takeRoom(std::size_t wanted) {
        if constexpr (inPlace) {
            const auto room = out_.room(wanted);
            block_ = room.data();
            free_ = room.size();
        } else {
            block_ = own_.get();
            free_ = capacity + slack;
        }
    }

    // A line longer than a block goes straight through, its tabs a run at a time.
    void putLarge(std::size_t tabs, std::string_view text, std::string_view lineBreak) {
        for (std::size_t left = tabs; left > 0;) {
            const std::size_t part = std::min(left, sizeof tabRun);
            out_.write(std::string_view(tabRun, part));
            left -= part;
        }
        out_.write(text);
        out_.write(lineBreak);
        free_ = 0;
    }

    Output& out_;
    std::unique_ptr<char[]> own_; // the block, unless the output lends room
    char* block_ = nullptr;       // where the lines gathered so far start
    std::size_t used_ = 0;
    std::size_t free_ = 0; // room left behind them, the slack included
};

} // namespace stepwell

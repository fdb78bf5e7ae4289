// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Writes the differences between an old and a new text as a unified diff with three lines
/// of context, which `patch` applies. The texts come in pieces that end at the same place in
/// both (a line of each, with its break); lines in the diff are the texts' LF-ended lines, so
/// pieces are gathered until both end in LF. Only the pieces kept for context and the hunk
/// being written are held, never a whole text.
class UnifiedDiff {
public:
    using Sink = std::function<void(std::string_view)>;
    /// `oldName` and `newName` head the diff ("--- oldName", "+++ newName"); the text goes to
    /// `sink` a hunk at a time.
    UnifiedDiff(std::string oldName, std::string newName, Sink sink);

    /// Adds the next piece of each text.
    void add(std::string_view oldPiece, std::string_view newPiece);
    /// Ends both texts and writes what is left; returns whether they differed.
    bool finish();

private:
    void passOnGroup();
    void same(std::string_view line);
    void change(const std::vector<std::string_view>& removed,
                const std::vector<std::string_view>& added);
    void closeHunk(std::size_t trailing);
    void appendLine(char mark, std::string_view line);

    std::string oldName_, newName_;
    Sink sink_;
    std::string oldGroup_, newGroup_;
    std::size_t oldLine_ = 1, newLine_ = 1; // the next line of each text, from 1
    std::deque<std::string> before_;        // unchanged lines before the next hunk
    bool open_ = false;                     // whether a hunk is being written
    std::size_t hunkOld_ = 0, hunkNew_ = 0, oldCount_ = 0, newCount_ = 0;
    std::string hunk_;
    std::vector<std::string> trail_; // unchanged lines after the hunk's last change
    bool differed_ = false;
};

} // namespace stepwell

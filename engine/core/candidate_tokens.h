// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace stepwell {

/// The tags a page's own text suggests as table entries, upper-cased.
struct CandidateTokens {
    /// An opening and the closing that ends it: `<DIV` and `</DIV`, `{% IF` and
    /// `{% ENDIF`, `<?PHP FOREACH` and `<?PHP ENDFOREACH`.
    std::set<std::pair<std::string, std::string>> pairs;
    /// Per template word (`IF`), its spellings (`{% IF`, `{%- IF`) and those of its end
    /// (`{% ENDIF`, `{%- ENDIF`): one block is often opened with one and closed with another.
    std::map<std::string, std::pair<std::set<std::string>, std::set<std::string>>> templateWords;
    /// Every `<NAME` and `</NAME` of the page.
    std::set<std::string> openings;
    std::set<std::string> closings;
    /// The raw-block openers that occur, with their end texts: comments, `<pre>`,
    /// `<textarea>`, `<script>`, `<style>`, template comments.
    std::set<std::pair<std::string, std::string>> rawOpeners;
};

/// Adds the tokens of `lines` to `tokens`.
void collectCandidateTokens(std::span<const std::string_view> lines, CandidateTokens& tokens);

} // namespace stepwell

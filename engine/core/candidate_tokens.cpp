// SPDX-License-Identifier: MIT
#include "engine/core/candidate_tokens.h"

#include "frame/text/ascii.h"

#include <array>

namespace stepwell {
namespace {

bool letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool nameByte(char c) {
    return letter(c) || (c >= '0' && c <= '9') || c == '-' || c == ':' || c == '_';
}

// The name that starts at `at`, if a letter does.
std::string_view nameAt(std::string_view line, std::size_t at) {
    if (at >= line.size() || !letter(line[at]))
        return {};
    std::size_t end = at;
    while (end < line.size() && nameByte(line[end]))
        ++end;
    return line.substr(at, end - at);
}

// A template tag's start, `{%`, `{%-`, `{{#`, `{{/` or `<?php ` and its first word,
// upper-cased as written (`{% IF`, `<?PHP ENDFOREACH`); "" when none starts at `at`.
std::string templateTagAt(std::string_view line, std::size_t at) {
    static constexpr std::array<std::string_view, 5> starts{"{%-", "{%", "{{#", "{{/", "<?PHP"};
    for (std::string_view start : starts) {
        if (!occursAt(line, at, start))
            continue;
        std::size_t word = at + start.size();
        while (word < line.size() && line[word] == ' ')
            ++word;
        if (start == "<?PHP" && word == at + start.size())
            return {};
        std::size_t end = word;
        while (end < line.size() && (letter(line[end]) || line[end] == '_'))
            ++end;
        return end > word ? upperAscii(line.substr(at, end - at)) : std::string();
    }
    return {};
}

// The opening a closing token ends: `{% ENDIF` ends `{% IF`, `{{/IF` ends `{{#IF`.
std::string openingOf(const std::string& closing) {
    if (closing.starts_with("{{/"))
        return "{{#" + closing.substr(3);
    std::size_t word = closing.size();
    while (word > 0 && letter(closing[word - 1]))
        --word;
    if (closing.compare(word, 3, "END") != 0 || closing.size() - word <= 3)
        return {};
    return closing.substr(0, word) + closing.substr(word + 3);
}

struct RawKind {
    std::string_view opener;
    std::string_view end;
};
constexpr std::array<RawKind, 6> rawKinds{{{"<!--", "-->"},
                                           {"<PRE", "</PRE>"},
                                           {"<TEXTAREA", "</TEXTAREA>"},
                                           {"<SCRIPT", "</SCRIPT>"},
                                           {"<STYLE", "</STYLE>"},
                                           {"{#", "#}"}}};

} // namespace

void collectCandidateTokens(std::span<const std::string_view> lines, CandidateTokens& tokens) {
    std::set<std::string> templateTags;
    for (std::string_view line : lines) {
        for (std::size_t at = line.find_first_of("<{"); at != std::string_view::npos;
             at = line.find_first_of("<{", at + 1)) {
            for (const RawKind& kind : rawKinds)
                if (occursAt(line, at, kind.opener))
                    tokens.rawOpeners.emplace(kind.opener, kind.end);
            if (std::string tag = templateTagAt(line, at); !tag.empty()) {
                templateTags.insert(std::move(tag));
                continue;
            }
            if (line[at] != '<')
                continue;
            const bool closing = at + 1 < line.size() && line[at + 1] == '/';
            const std::string_view name = nameAt(line, at + (closing ? 2 : 1));
            if (name.empty())
                continue;
            (closing ? tokens.closings : tokens.openings)
                .insert((closing ? "</" : "<") + upperAscii(name));
        }
    }
    for (const std::string& closing : tokens.closings)
        if (tokens.openings.count("<" + closing.substr(2)))
            tokens.pairs.emplace("<" + closing.substr(2), closing);
    for (const std::string& tag : templateTags) {
        const std::string opening = openingOf(tag);
        if (!opening.empty() && templateTags.count(opening))
            tokens.pairs.emplace(opening, tag);
        if (opening.empty() || !tag.starts_with("{%"))
            continue;
        std::size_t word = opening.size();
        while (word > 0 && letter(opening[word - 1]))
            --word;
        tokens.templateWords[opening.substr(word)].second.insert(tag);
    }
    for (const std::string& tag : templateTags) {
        std::size_t word = tag.size();
        while (word > 0 && letter(tag[word - 1]))
            --word;
        const auto found = tokens.templateWords.find(tag.substr(word));
        if (tag.starts_with("{%") && found != tokens.templateWords.end())
            found->second.first.insert(tag);
    }
    for (const std::string& opening : tokens.openings) {
        const std::string opened = openingOf(opening);
        if (!opened.empty() && tokens.openings.count(opened))
            tokens.pairs.emplace(opened, opening);
    }
}

} // namespace stepwell

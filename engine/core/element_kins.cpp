// SPDX-License-Identifier: MIT
#include "engine/core/element_kins.h"

#include <array>

namespace stepwell {

std::span<const ElementKin> elementKins() {
    // Sections and blocks, lists, tables, forms and embedded content: their end tags are
    // required, so a level they open is closed on every page.
    static constexpr std::array<std::string_view, 14> blocks{
        "DIV",  "SECTION", "ARTICLE", "ASIDE",  "NAV",        "HEADER",  "FOOTER",
        "MAIN", "ADDRESS", "FIGURE",  "CENTER", "BLOCKQUOTE", "DETAILS", "DIALOG"};
    static constexpr std::array<std::string_view, 4> lists{"UL", "OL", "DL", "MENU"};
    static constexpr std::array<std::string_view, 1> tables{"TABLE"};
    static constexpr std::array<std::string_view, 3> forms{"FORM", "FIELDSET", "SELECT"};
    static constexpr std::array<std::string_view, 3> embedded{"SVG", "VIDEO", "AUDIO"};
    // Elements whose end tags may be left out: a level one of them opens drifts on a page
    // that leaves its end tags out, so a page that shows nothing of them has them indented
    // only when its author nests.
    static constexpr std::array<std::string_view, 3> items{"LI", "DT", "DD"};
    static constexpr std::array<std::string_view, 3> tableParts{"THEAD", "TBODY", "TFOOT"};
    static constexpr std::array<std::string_view, 3> rows{"TR", "TD", "TH"};
    static constexpr std::array<std::string_view, 2> document{"HEAD", "BODY"};
    static const std::array<ElementKin, 9> kins{{{blocks, true},
                                                 {lists, true},
                                                 {tables, true},
                                                 {forms, true},
                                                 {embedded, true},
                                                 {items, false},
                                                 {tableParts, false},
                                                 {rows, false},
                                                 {document, false}}};
    return kins;
}

std::vector<bool> kinsIndented(const std::map<std::string, ElementUse>& shown) {
    const auto kins = elementKins();
    std::vector<int> indented(kins.size(), 0), flat(kins.size(), 0);
    int nestingContainers = 0, flatContainers = 0;
    for (std::size_t k = 0; k < kins.size(); ++k)
        for (std::string_view name : kins[k].names) {
            const auto found = shown.find(std::string(name));
            if (found == shown.end())
                continue;
            indented[k] += found->second == ElementUse::Indented;
            flat[k] += found->second == ElementUse::Flat;
        }
    for (std::size_t k = 0; k < kins.size(); ++k)
        if (kins[k].indentedByDefault) {
            nestingContainers += indented[k];
            flatContainers += flat[k];
        }
    const bool nests = nestingContainers > 0 && flatContainers == 0;
    std::vector<bool> indents(kins.size());
    for (std::size_t k = 0; k < kins.size(); ++k)
        indents[k] =
            indented[k] != flat[k] ? indented[k] > flat[k] : kins[k].indentedByDefault || nests;
    return indents;
}

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Elements that an author indents alike: one who indents the items of `<ul>` indents those
/// of `<ol>`, one who keeps `<div>` flat keeps `<section>` flat.
struct ElementKin {
    std::span<const std::string_view> names; // upper-cased
    /// Whether the kin is indented when a page shows nothing of it: the kins whose end tags
    /// HTML requires always, the others (list items, table rows, cells) only by an author who
    /// nests: one who indents the containers a page shows and leaves none of them flat.
    bool indentedByDefault;
};

/// The kins, containers first.
std::span<const ElementKin> elementKins();

/// What a learning page shows of how its author treats one element.
enum class ElementUse {
    Indented, // the learned table indents it
    Flat,     // indenting it would cost the page lines
    Silent,   // used, but indenting it changes no line of the page
};

/// For each kin of elementKins(), whether the author of the pages indents it: as most of its
/// elements that the pages show indented or flat, else by the kin's default.
std::vector<bool> kinsIndented(const std::map<std::string, ElementUse>& shown);

} // namespace stepwell

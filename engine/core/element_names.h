// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

namespace stepwell {

/// The element names of HTML and inline SVG, upper-cased, in alphabetical order: a learned
/// `<LI,1` must not count `<link>` on a page the table was not learned from, so the learner
/// keeps every longer name that starts with a learned tag at delta 0.
std::span<const std::string_view> elementNames();

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace stepwell {

/// --learn: learns one tag table from the pages the tokens name (wildcards expand as in a
/// conversion) and writes it to `table`, as a tag file that --tags and .stepwell-tags accept.
/// Writes to `report` one line a page, how many of its counted lines the table reproduces
/// by a real conversion and the indent unit found (or that the page is not indented), and
/// a total. Errors go to `prompts.showError`. Returns the exit status: 0 when a table was
/// learned, 1 when no page gave anything, a page could not be read, or the table could not
/// be written.
int runLearn(const std::vector<std::string>& tokens, std::ostream& table, std::ostream& report,
             Prompts& prompts);

} // namespace stepwell

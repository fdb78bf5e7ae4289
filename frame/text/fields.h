// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stepwell {

/// Splits one line into comma-separated fields and appends them to `fields`.
///
/// Blanks (spaces and tabs) around an unquoted field are dropped. A field in double quotes
/// is taken verbatim and may hold commas; two double quotes inside it stand for one, and
/// only blanks may stand between the closing quote and the next comma. A comma at the end
/// of the line is followed by one empty field. Throws Error for a quoted field that is not
/// closed on its line or is followed by other text; the fields before it are appended.
void splitFields(std::string_view line, std::vector<std::string>& fields);

/// Whether a line holds nothing but blanks.
bool isBlankLine(std::string_view line);

} // namespace stepwell

// SPDX-License-Identifier: MIT
#pragma once

#include "engine/core/tag_table.h"

#include <string_view>

namespace stepwell::test {

/// Checks a whole conversion with `table`: `input` converts to `expected`; `expected`
/// converts to itself; and `input` with the leading blanks of its lines scrambled (those
/// outside raw blocks, whose blanks the conversion replaces) converts to `expected` too.
/// Use it through the verifyIndent macro, which names the calling line in failures.
void verifyIndentAt(const char* file, int line, std::string_view expected, std::string_view input,
                    const TagTable& table);

} // namespace stepwell::test

#define verifyIndent(...) ::stepwell::test::verifyIndentAt(__FILE__, __LINE__, __VA_ARGS__)

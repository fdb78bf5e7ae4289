// SPDX-License-Identifier: MIT
#pragma once

#include "frame/prompts/prompts.h"
#include "frame/text/error.h"

#include <functional>
#include <string>
#include <vector>

namespace stepwell {

/// The files a command-line token names, in order.
///
/// A token that names something that exists is that name, even when it holds '*' or '?'.
/// Otherwise a token whose name part holds '*' or '?' names every ordinary file of its
/// folder that matches, and a folder part "**" stands for any number of folders, none
/// included (hidden folders are passed over and links to folders are not followed, so a
/// loop of links ends); the files come in name order, a folder's files and subfolders
/// taken together. Any other token names itself.
///
/// Throws Error when a pattern matches nothing or its folder cannot be read. A folder below
/// "**" that cannot be read is passed to `skipped`, and the rest goes on; without `skipped`
/// its error is thrown.
std::vector<std::string> expandToken(const std::string& token,
                                     const std::function<void(const Error&)>& skipped = {});

/// Calls `each` with every file the tokens name, in order. A token that names no file (a
/// wildcard that matches nothing, a folder that cannot be read) is reported through
/// `prompts` and the rest go on; returns false when that happened.
bool forEachNamedFile(const std::vector<std::string>& tokens, Prompts& prompts,
                      const std::function<void(const std::string&)>& each);

} // namespace stepwell

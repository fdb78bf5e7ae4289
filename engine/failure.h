// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

class Prompts;

/// Shows the exception being handled through `prompts`, naming `name`: a LineError as
/// "NAME, line N: ...", any other Error as it stands (it names its file itself), and a lack
/// of memory as such. Call it only inside a catch block; other exceptions are thrown on.
void showCurrentFailure(const std::string& name, Prompts& prompts);

} // namespace stepwell

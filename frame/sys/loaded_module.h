// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace stepwell {

/// The address of `symbol` in the shared module at `path`, loading the module the first
/// time it is asked for; null, with `why` set, when the module cannot be loaded or lacks the
/// symbol. A module stays loaded for the rest of the process, as objects it made may live on.
void* moduleSymbol(const std::string& path, const char* symbol, std::string& why);

} // namespace stepwell

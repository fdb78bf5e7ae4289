// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <memory>

namespace stepwell {

/// Starts the application on the display the environment names. When the user chose no
/// platform and that display cannot be reached, Qt falls back to the offscreen platform
/// instead of aborting, without printing its warnings about it; platformReached() tells.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv);

/// Whether the running application reached the display it was meant for (false when it fell
/// back to offscreen).
bool platformReached();

} // namespace stepwell

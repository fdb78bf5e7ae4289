// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace stepwell {

/// Stepwell's icon, in the sizes the desktop asks for: the window's and its dialogs'.
QIcon stepwellIcon();

} // namespace stepwell

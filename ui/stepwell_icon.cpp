// SPDX-License-Identifier: MIT
#include "ui/stepwell_icon.h"

namespace stepwell {

QIcon stepwellIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/stepwell-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace stepwell

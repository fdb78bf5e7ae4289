// SPDX-License-Identifier: MIT
#include "ui/layout_rule.h"

namespace stepwell {

void applyLayoutRule(ResizableControls& controls, float outerWidth, float outerHeight) {
    const float h = outerHeight;
    if (h > 1000)
        controls.folderList.height = h - 1000;
    if (h > 1230)
        controls.fileList.height = h - 1230;
    if (h > 760)
        controls.patternBox.top = h - 760;

    if (outerWidth < 3900)
        return;
    // The extra width goes a quarter to the folder list, three quarters to the file side.
    const float extra = outerWidth - 3900;
    controls.folderList.width = extra * 0.25f + 1695;
    controls.fileList.left = extra * 0.25f + 1920;
    controls.fileList.width = extra * 0.75f + 1815;
    controls.patternBox.left = extra * 0.25f + 1920;
    controls.patternBox.width = extra * 0.75f + 1815;
}

} // namespace stepwell

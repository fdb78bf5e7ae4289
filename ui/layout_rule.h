// SPDX-License-Identifier: MIT
#pragma once

namespace stepwell {

/// A control's place in the window's client area, in twips (1/1440 inch).
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

/// The design geometry of every control at the design client size of 3780 x 3000 twips.
namespace design {
inline constexpr float clientWidth = 3780;
inline constexpr float clientHeight = 3000;
/// What the frame and caption add to the client size: the window lays out its controls for
/// the client size plus these, whatever frame the desktop draws.
inline constexpr float frameWidth = 120;
inline constexpr float frameHeight = 400;

inline constexpr TwipsRect driveList{120, 120, 1695, 300};
inline constexpr TwipsRect folderList{120, 480, 1695, 2400};
inline constexpr TwipsRect fileList{1920, 480, 1815, 2070};
inline constexpr TwipsRect convertButton{1920, 120, 1095, 255};
inline constexpr TwipsRect patternBox{1920, 2640, 1815, 270};
inline constexpr TwipsRect replaceCheck{3120, 120, 735, 255};
inline constexpr TwipsRect label{120, 3000, 735, 255};
} // namespace design

/// The three controls that follow the window's size; the others never move.
struct ResizableControls {
    TwipsRect folderList = design::folderList;
    TwipsRect fileList = design::fileList;
    TwipsRect patternBox = design::patternBox;
    friend bool operator==(const ResizableControls&, const ResizableControls&) = default;
};

/// Fits the resizable controls to a window whose outer size (frame and caption included) is
/// `outerWidth` x `outerHeight` twips. Each height follows only above its own threshold, and
/// below 3900 twips wide the horizontal geometry stays as it was, so a narrow window keeps
/// the widths of its last wide-enough size.
void applyLayoutRule(ResizableControls& controls, float outerWidth, float outerHeight);

} // namespace stepwell

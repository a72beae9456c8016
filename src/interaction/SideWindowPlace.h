// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window that accompanies the main window (the stats window) opens: beside the main
// window, never over the plot. The window manager keeps such a window above the main window;
// this only decides its place. Rectangles are outer frames in screen pixels, as QRect counts
// them (right() = left() + width() - 1).
//
// Example: a main window framed at x 0 to 799 on a screen 1920 wide, and a side window 360
// wide: the side window goes to x 807 (right() + 8). With the main window at x 1200
// to 1919 it goes to the left instead, at x 832.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace sabrix {

// The gap between the main window and the side window, in pixels.
constexpr int kSideWindowGap = 8;

// The top left corner for a side window of size beside mainFrame: to the right where the
// screen's available area has room for it, else to the left, else at the area's right edge
// (as far right as it fits, never left of the area); its top at the main window's, moved
// down or up into the area as far as its height allows. Without a known area, to the right.
QPoint SideWindowPlace(const QRect& mainFrame, const QSize& size,
                       const std::optional<QRect>& screenArea);

// The width for a side window that would rather be width wide, as SideWindowPlace will place
// it: width when it fits beside mainFrame on either side; else the room of the roomier side
// when that is at least leastWidth, so it stands beside the main window rather than over it;
// else width (it then goes over the main window). Example: a list 560 wide (at least 340)
// beside a main window at x 405 to 1195 on a screen 1600 wide gets 397.
int SideWindowWidth(const QRect& mainFrame, int width, int leastWidth,
                    const std::optional<QRect>& screenArea);

// As SideWindowPlace, for a window about some points of the plot (the record list): when the
// place beside the main window would cover avoid (the points, in screen pixels), the window
// goes beside the points instead, right of them, else left, below or above, inside the area;
// when none of those keeps clear of them, the place beside the main window stands.
// Example: main window 0 to 1919 wide filling a 1920 x 1080 area, points at x 1500 to 1600:
// a list 600 wide would go to x 1319 (over the points); it goes to x 892 (left of them).
QPoint SideWindowPlaceAvoiding(const QRect& mainFrame, const QSize& size,
                               const std::optional<QRect>& screenArea,
                               const std::optional<QRect>& avoid);

}  // namespace sabrix

namespace sabrix {

// The outer frame of the main window at start on a screen's available area (without panels
// and docks): the size asked, no larger than the area, centred in it. Example: 1200 x 800 on
// an area at (0, 30) of 1600 x 970 goes to (200, 115); 1200 x 800 on an area of 800 x 470 at
// (0, 30) becomes 800 x 470 at (0, 30).
QRect MainWindowFrame(const QSize& size, const QRect& area);

// What a window's frame adds to its inside, to place it by: what the window manager reports
// (the frame's size less the inside's), or before it has framed the window (nothing added
// yet) a title bar and borders of a likely size, so that a window placed then still fits its
// area once framed (at twice the scale as well).
QSize FrameMarginsToPlaceBy(const QSize& reported);

// A frame moved onto the area the least distance that puts it wholly inside, no larger than
// the area: a window remembered on a screen that is gone, or over its edge, comes back.
QRect FrameInside(const QRect& frame, const QRect& area);

}  // namespace sabrix

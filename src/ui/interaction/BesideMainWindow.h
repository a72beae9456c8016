// SPDX-License-Identifier: GPL-3.0-or-later
// Opens a window that accompanies the plot (the period search, the times of minimum, the O-C
// diagram) beside the main window rather than over the plot, within the screen.
#pragma once

class QWidget;

namespace sabrix {

// Moves window (not shown yet) to SideWindowPlace beside the window of its parent widget,
// narrower (SideWindowWidth, down to its minimum size hint) where that keeps it off the main
// window; nothing without a parent. The window manager's border, not known before the window
// shows, is taken to be the main window's.
void PlaceBesideMainWindow(QWidget& window);

}  // namespace sabrix

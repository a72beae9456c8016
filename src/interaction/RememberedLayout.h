// SPDX-License-Identifier: GPL-3.0-or-later
// Where the windows were when the program last closed, kept in a section of Sabrix.ini of its
// own after the settings, so the program opens as the user left it:
//
//   [Layout]
//   MainWindow=120,80,1200,800
//   BandPanel=True,240
//   PeriodWindow=1330,80
//
// MainWindow is the top left corner of the main window's outer frame and the width and height
// of its inside (the frame's size depends on the window manager's mood), BandPanel whether
// the band panel was shown and its width, PeriodWindow the top left corner of the periodogram
// window's frame, all in screen pixels. Reading is tolerant: a file without the section, an
// unknown key or a value that cannot be read leaves that part unknown, and the settings read
// past the section as before (its keys are not theirs).
#pragma once

#include <QPoint>
#include <QRect>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sabrix {

struct RememberedLayout {
    std::optional<QRect> mainWindow;
    std::optional<bool> bandPanelShown;
    int bandPanelWidth = 0;  // 0: not known
    std::optional<QPoint> periodWindow;

    bool operator==(const RememberedLayout&) const = default;
};

// The layout section of the text of a settings file; unknown parts when it has none.
RememberedLayout ParseLayoutSection(std::string_view fileText);

// The file text with its layout section replaced by (or, without one, followed by) the
// section for layout; every other line stays as it was. Parts not known are left out.
std::string WithLayoutSection(std::string_view fileText, const RememberedLayout& layout);

// The layout kept in programDir's Sabrix.ini; unknown parts when there is none.
RememberedLayout ReadRememberedLayout(const std::string& programDir);

// Keeps layout in programDir's Sabrix.ini through an AtomicFile. Without a Sabrix.ini nothing
// is written (the next start must still offer the configuration) and false is returned.
// Throws SabrixError naming the file when it cannot be written; it is then unchanged.
bool WriteRememberedLayout(const std::string& programDir, const RememberedLayout& layout);

// A remembered frame on the screens of today, given their available areas (the first the
// primary screen's): kept where it lies wholly inside one of them, else moved onto the area
// it overlaps most (the first when it overlaps none: a screen that is gone) the least
// distance that puts it inside, no larger than that area.
QRect RestoredFrame(const QRect& frame, const std::vector<QRect>& areas);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows, as the command layer leaves it after each command (and during
// a long job): which look the window has, the texts of its labels and status panels, the
// progress controls, the cursor of the plot, the check marks of the menu and the stats
// window. The window applies it whole; the command layer never touches a widget.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "core/AppState.h"
#include "plot/BandLines.h"

namespace sabrix {

struct WindowView {
    enum class Look {
        // Logo, titles, copyright line and the "Load a File" button: nothing is loaded (at the
        // start, after an unload, and after a load that failed or was cancelled).
        Start,
        // Logo with the progress controls of a load; no button to start another.
        Loading,
        // The plot, both scale strips, the tool buttons and the star label.
        Plot,
        // Logo with the progress caption while the table is written; the plot hidden.
        Saving,
    };
    Look look = Look::Start;

    QString starLabel;
    // Status bar panels 1 to 4: the file, the magnification, the pointer's JD and magnitude.
    std::array<QString, 4> panels;
    // The cursor of the plot surface: "XHairs", "Normal01", "Magnify1", "MagZoom" or
    // "JDZoom2".
    QString cursorName = QStringLiteral("XHairs");
    // The tool whose button shows as pressed.
    Tool tool = Tool::Locate;
    // The rubber band of a box being dragged, corners in picView's frame (x1, y1, x2, y2).
    std::optional<std::array<double, 4>> rubberBand;
    // The plot is the phase plot: Back, Forward, Beginning and End wait for the light curve,
    // "Time Plot" returns to it.
    bool phasePlot = false;
    // A period search runs: the progress bar and "Cancel" are its.
    bool periodSearching = false;
    // "Previous View" has a window to go back to.
    bool previousViewAvailable = false;
    // The Edit menu: "Undo " / "Redo " and the name of the change ("Undo Delete 3 Records");
    // empty when there is nothing to undo or redo.
    QString undoText;
    QString redoText;

    // lblPrg and prgLoad.
    QString progressCaption;
    bool captionShown = false;
    bool progressBarShown = false;
    int progressValue = 0;
    int progressMaximum = 0;

    // A long job runs: every command is refused, the window shows the busy pointer.
    bool busy = false;
    // The rows of the loaded star are being written behind its plot: the plot and its
    // navigation work, the commands that need the rows are refused (the window disables them).
    bool filling = false;
    // A load runs that "Cancel" beside the progress bar, and Escape, can stop.
    bool cancelShown = false;

    // Check marks of "Omit "fainter thans"", "Omit discrepant" and "Stats Window".
    bool omitFainterChecked = false;
    bool omitDiscrepantChecked = false;
    bool statsChecked = false;
    // Check mark of "Calendar Dates".
    bool calendarChecked = false;
    // The recent-file items of the Files menu, newest first: the path, and " (3-column file)"
    // after a three-column file's.
    std::vector<QString> recentFiles;
    // The stats window is open, and what it shows.
    bool statsWindowOpen = false;
    std::vector<QString> statsLines;
    // The lines of the band panel (none while nothing is loaded).
    std::vector<BandLine> bandLines;

    // Set when a failure that the program cannot go on from has been reported: the run ends
    // with this exit code.
    std::optional<int> endRun;
};

}  // namespace sabrix

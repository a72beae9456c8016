// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of the times of minimum as the command layer sees them: the "Times of minimum"
// list and the O-C diagram. They show what they are given and report every action; the
// command layer keeps the list, computes and saves. The windows implement this with frmMinima
// and frmOcDiagram (QtMinimaDialogs), the tests with a script.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "plot/Canvas.h"

namespace sabrix {

struct MinimaWindowView {
    QString title;
    // Each time: time (JD), error (d), method, n, extremum ("min" or "max"), as texts.
    std::vector<std::array<QString, 5>> rows;
};

struct MinimaEvent {
    enum class Kind { Copy, Save, Remove, OcDiagram, Close };
    Kind kind = Kind::Close;
    // Remove: the line chosen (-1: none).
    int row = -1;
};

struct OcWindowView {
    QString title;
    // The ephemeris fields as the diagram uses them.
    QString epoch;
    QString period;
    bool quadratic = false;
    // A dragged box leaves the points inside out of the fits (else it zooms).
    bool selecting = false;
    // The fits, or why there is none.
    std::vector<QString> fitLines;
    // Draws the diagram on the three surfaces (the plot, the cycle scale above it, the O-C
    // scale at its right) and returns its label; null while there is nothing to draw.
    std::function<QString(Canvas& plot, Canvas& across, Canvas& down)> draw;
};

struct OcEvent {
    enum class Kind {
        Apply,      // the typed epoch and period
        Quadratic,  // "Quadratic fit" ticked or not (checked)
        Selecting,  // the box's purpose: leave out (checked) or zoom
        Box,        // a box dragged, corners in the diagram's frame
        Reset,
        ExportCsv,
        ExportImage,
        Close,
    };
    Kind kind = Kind::Close;
    bool checked = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString epoch{};
    QString period{};
};

class MinimaDialogs {
  public:
    virtual ~MinimaDialogs() = default;
    // Shows the list window (beside the main window, not blocking it) or, when open, updates
    // it and reports to this onEvent.
    virtual void showList(const MinimaWindowView& view,
                          const std::function<void(const MinimaEvent&)>& onEvent) = 0;
    virtual void closeList() = 0;
    // The same for the O-C window.
    virtual void showOc(const OcWindowView& view,
                        const std::function<void(const OcEvent&)>& onEvent) = 0;
    virtual void closeOc() = 0;
    // Puts the text on the clipboard.
    virtual void copyText(const QString& text) = 0;
};

}  // namespace sabrix

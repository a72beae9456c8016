// SPDX-License-Identifier: GPL-3.0-or-later
// The band panel's contents, shown in a dock beside the plot: a line per band with its colour,
// its count and a check box, the fainter-than and discrepant lines, and "All bands". It shows
// the lines the command layer gives it (BandLines) and reports what the user does to them by
// the index of the line; it decides nothing itself.
#pragma once

#include <QWidget>
#include <vector>

#include "plot/BandLines.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace sabrix {

class BandPanelWidget : public QWidget {
    Q_OBJECT

  public:
    explicit BandPanelWidget(QWidget* parent = nullptr);

    // Shows these lines (rebuilt only when they differ from the ones shown).
    void setLines(const std::vector<BandLine>& lines);
    const std::vector<BandLine>& lines() const { return lines_; }
    QListWidget* list() const { return lstBands_; }
    QPushButton* allBandsButton() const { return cmdAllBands_; }
    // Narrow: a band's line is short, and the plot keeps the room.
    QSize sizeHint() const override { return QSize(180, 300); }

  signals:
    // The check box of line `line` was set to `shown`.
    void lineChecked(int line, bool shown);
    // Line `line` was double-clicked: "Only this band".
    void lineDoubleClicked(int line);
    void allBandsClicked();

  private:
    // The list shows lines_ as they are, check boxes included.
    bool showsLines() const;
    void itemChanged(QListWidgetItem* item);

    QListWidget* lstBands_ = nullptr;
    QPushButton* cmdAllBands_ = nullptr;
    std::vector<BandLine> lines_;
    bool filling_ = false;
};

}  // namespace sabrix

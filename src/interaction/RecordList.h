// SPDX-License-Identifier: GPL-3.0-or-later
// The record list window (frmSelect) without its widgets: the IDs of the listed rows, the lines
// the user has chosen (held as IDs), and the colour palette of Mark Observer. Lines are not
// built up front: a line is read and formatted when the window shows it, so a list of a million
// rows opens as fast as one of ten. The command layer keeps one while the window is open and
// hands its RecordListView to the window.
#pragma once

#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/ObsRow.h"

namespace sabrix {

// Lines first to last of the list, both included.
struct LineRange {
    int first = 0;
    int last = 0;
    bool operator==(const LineRange&) const = default;
};

// The ranges sorted, those that overlap or touch joined: {5,6},{1,2},{3,3} -> {1,3},{5,6}.
std::vector<LineRange> MergedRanges(std::vector<LineRange> ranges);

// Reads the row with that ID; nothing when it has gone. May throw what the table throws.
using RowReader = std::function<std::optional<ObsRow>(int64_t id)>;

// What frmSelect shows.
struct RecordListView {
    // Label3: the number of lines followed by " Records Shown".
    QString heading;
    // The IDs of the listed rows, in list order, and the reader of their lines. A new list
    // (or the same rows read again) comes with a new revision.
    std::shared_ptr<const std::vector<int64_t>> ids;
    RowReader rowOf;
    uint64_t revision = 0;
    // The chosen lines in list order, as ranges.
    std::vector<LineRange> chosen;
    // Edit Record and Mark Observer (off for three-column data).
    bool editEnabled = true;
    bool markEnabled = true;
    // The palette below the buttons (the window grows to show it) and its prompt, Label2;
    // the sixteen squares and More Colors take clicks only while it shows.
    bool paletteShown = false;
    QString colorPrompt;
    // Where the listed points are, in pixels of the plot (the list opens clear of them);
    // none when not known.
    std::optional<QRectF> around;
    // Rows of a three-column file: their lines hold its three fields, the time as the scale
    // shows it (timeOffset added).
    bool threeColumn = false;
    double timeOffset = 0;

    size_t Count() const { return ids ? ids->size() : 0; }
    // The text of line i as the window shows it; "" for a row that has gone.
    QString Line(size_t i) const;
    // Every line (for small lists and tests).
    std::vector<QString> Lines() const;
};

// The names of the fields of a line, joined as a line joins them: the list's header.
QString RecordListHeader(bool threeColumn = false);

class RecordList {
  public:
    // timeOffset: what the scale adds to the times of a three-column file.
    RecordList(std::vector<int64_t> ids, bool threeColumn, RowReader rowOf, double timeOffset = 0);

    // Lists other rows (a new selection, or the same rows read again); the choice is kept
    // for the rows still listed, and the palette hides when its row has gone.
    void Replace(std::vector<int64_t> ids);
    // The lines the user has chosen (any order, overlaps allowed); current is the line clicked
    // last. Lines outside the list are ignored.
    void Choose(const std::vector<LineRange>& ranges, int current);
    // The same with single lines.
    void Choose(const std::vector<int>& lines, int current);
    bool AnyChosen() const { return chosenCount_ > 0; }
    size_t ChosenCount() const { return chosenCount_; }
    // The IDs of the chosen rows in list order; empty when none is chosen.
    std::vector<int64_t> ChosenIds() const;
    // The row clicked last among the chosen ones (the first chosen when it was not clicked
    // last); nothing when none is chosen.
    std::optional<int64_t> Current() const { return current_; }
    const std::vector<int64_t>& Ids() const { return *ids_; }
    bool empty() const { return ids_->empty(); }

    // Mark Observer: the palette shows with its prompt for the current record's observer.
    void ShowPalette();
    void HidePalette();
    bool PaletteShown() const { return paletteShown_; }

    RecordListView View() const;

  private:
    std::shared_ptr<const std::vector<int64_t>> ids_;
    bool threeColumn_;
    RowReader rowOf_;
    double timeOffset_;
    uint64_t revision_ = 0;
    std::vector<char> chosen_;  // per line
    size_t chosenCount_ = 0;
    std::optional<int64_t> current_;
    bool paletteShown_ = false;
};

}  // namespace sabrix

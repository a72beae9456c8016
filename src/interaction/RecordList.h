// The record list window (frmSelect) without its widgets: the listed records with the IDs of
// their rows, the lines the user has chosen, and the colour palette of Mark Observer. The
// command layer keeps one while the window is open and hands its RecordListView to the window.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "interaction/RecordSelection.h"

namespace sabrix {

// What frmSelect shows.
struct RecordListView {
    // Label3: the number of lines followed by " Records Shown".
    QString heading;
    std::vector<QString> lines;
    // The chosen lines (indexes into lines), in list order.
    std::vector<int> chosen;
    // Edit Record and Mark Observer (off for three-column data).
    bool editEnabled = true;
    bool markEnabled = true;
    // The palette below the buttons (the window grows to show it) and its prompt, Label2;
    // the sixteen squares and More Colors take clicks only while it shows.
    bool paletteShown = false;
    QString colorPrompt;
};

class RecordList {
  public:
    RecordList(std::vector<ListedRecord> records, bool threeColumn);

    // Lists other records (a new selection, or the same rows read again); the choice is
    // kept for the rows still listed, and the palette hides when its row has gone.
    void Replace(std::vector<ListedRecord> records);
    // The lines the user has chosen (indexes into the list, any order); current is the line
    // clicked last. Indexes outside the list are ignored.
    void Choose(const std::vector<int>& lines, int current);
    bool AnyChosen() const { return !chosen_.empty(); }
    // The chosen records in list order.
    std::vector<ListedRecord> Chosen() const;
    // The record clicked last among the chosen ones (the first chosen when it was not clicked
    // last); nothing when none is chosen.
    std::optional<ListedRecord> Current() const;
    std::vector<int64_t> Ids() const;
    bool empty() const { return records_.empty(); }

    // Mark Observer: the palette shows with its prompt for the current record's observer.
    void ShowPalette();
    void HidePalette();
    bool PaletteShown() const { return paletteShown_; }

    RecordListView View() const;

  private:
    std::vector<ListedRecord> records_;
    bool threeColumn_;
    std::vector<int64_t> chosen_;  // IDs, in list order
    std::optional<int64_t> current_;
    bool paletteShown_ = false;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The commands behind the points: box selection and locate, the record list window and its
// actions (log, delete, edit, mark an observer), and the record editor. It keeps the record
// list while it is open; the list and the editor open through the RecordDialogs given (none:
// the list is kept here only, and the tests drive it through these commands). Every action
// works on the chosen rows by their IDs.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/CommandContext.h"
#include "data/TypedNumbers.h"
#include "interaction/RecordDialogs.h"
#include "interaction/RecordFields.h"
#include "interaction/RecordList.h"
#include "interaction/RecordSelection.h"

namespace sabrix {

class RecordsController {
  public:
    // typed: where a record edit keeps the JD and magnitude texts typed (for the download
    // file's save).
    RecordsController(CommandContext& context, TypedNumbers& typed);

    void setRecordDialogs(RecordDialogs* dialogs) { recordDialogs_ = dialogs; }
    // The record list while it is open; null otherwise.
    const RecordList* recordList() const { return recordList_ ? &*recordList_ : nullptr; }

    // BoxFinder lists the rows inside a select-edits box (corners in picView's frame, any
    // order) in the record list, modeless; an empty box says "No records selected." and
    // redraws. Finder lists the rows near a locate press, modal; near no row it shows
    // nothing. While the list is open either one lists its rows in it instead.
    void BoxFinder(double x1, double y1, double x2, double y2);
    void Finder(double x, double y);

    // The record list's events; each does nothing while the list is closed. Log, Delete and
    // Edit warn "You did not select a star" and Mark Observer "You did not select a record"
    // while no line is chosen.
    // The chosen lines' points are ringed on the plot while the list is open.
    void lstRecords_Click(const std::vector<LineRange>& lines, int current);
    void lstRecords_Click(const std::vector<int>& lines, int current);
    // Appends the chosen lines, each ended by CR LF, to a text file the user chooses.
    void cmdLog_Click();
    // Asks, then deletes the chosen rows in one transaction, says "Database successfully
    // updated.", closes the list and redraws.
    void cmdDelete_Click();
    // Opens the record editor on the row of the line clicked last.
    void cmdEdit_Click();
    void cmdMark_Click();
    // Mark Discrepant (mark) and Clear Discrepant: the chosen rows' Valid becomes "D", the
    // flag it replaces kept in the row's Edited; Clear gives a "D" row that flag back (empty
    // when none was kept, as after a reload). Each row takes the colour of the colour rules
    // unless an observer marking coloured it. One change for Undo; a redraw.
    void cmdDiscrepant_Click() { MarkDiscrepant(true); }
    void cmdClearDiscrepant_Click() { MarkDiscrepant(false); }
    // Edit menu: the last change to the table taken back, or made again; the list closes
    // and the plot is drawn anew.
    void mnuUndo_Click();
    void mnuRedo_Click();
    // A colour square: marks the observer of the line clicked last in palette colour index
    // (0 to 15); the list stays open and the marks show when it closes.
    void cmd0_Click(int index);
    // Marks in a colour of the colour dialog (cancel: nothing), closes the list and redraws.
    void cmdMoreColors_Click();
    // Close: the locate tool, and a redraw after edits or markings. frmSelect_Unload: the
    // title-bar close, the list goes without either.
    void cmdClose_Click();
    void frmSelect_Unload();
    // OK of the record editor for the row with that ID: refuses fields it cannot write with a
    // message naming the field (returns false: the editor stays open, nothing changed);
    // otherwise writes the row in one statement (its band colour unless it is marked), sets
    // FileEdited, lists the row anew and redraws. Returns true then.
    bool SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields);

    // The details of the shown observation nearest to the place (x, y) of picView, within
    // kPointTipPixels pixels of it (PointDetailsText); nothing when none is that near or the
    // row cannot be read.
    std::optional<QString> PointTip(double x, double y);
    static constexpr double kPointTipPixels = 5;

  private:
    void MarkDiscrepant(bool mark);
    // The IDs of the rows inside the bounds: of the light curve, or on the phase plot those
    // whose phase points are inside (the bounds' JDs are then phases).
    std::vector<int64_t> Select(const SelectionBounds& bounds) const;
    // Opens the record list on the rows (found inside bounds), or lists them in the open one.
    void ShowRecords(std::vector<int64_t> ids, bool modal, const SelectionBounds& bounds);
    // Undo (back) or Redo.
    void StepEdits(bool back);
    // The rings follow the chosen lines: a redraw when they changed.
    void ChoiceChanged();
    void DrawRings();
    // Forgets the rings; returns whether there were any (the plot still shows them).
    bool ClearRings();
    // Routes an event of the open list to its command, when the command may run.
    void OnRecordListEvent(const RecordListEvent& event);
    // The open list reads its rows again and shows them.
    void RefreshRecordList();
    void UpdateRecordList();
    void CloseRecordList();
    // Says "You did not select a star" (or "... a record") when no line is chosen.
    bool WarnWhenNoneChosen(bool record = false);

    CommandContext& ctx_;
    TypedNumbers& typed_;
    RecordDialogs* recordDialogs_ = nullptr;
    std::optional<RecordList> recordList_;
    // The IDs of the ringed points, sorted.
    std::vector<int64_t> ringIds_;
    // The number of the next set of deleted rows kept for Undo.
    int64_t nextDeleteBatch_ = 1;
};

}  // namespace sabrix

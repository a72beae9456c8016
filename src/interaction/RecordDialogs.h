// SPDX-License-Identifier: GPL-3.0-or-later
// The record list window (frmSelect) and the record editor as the command layer sees them.
// The window only shows a RecordListView and reports what the user does as RecordListEvents;
// the command layer decides, asks its questions through Prompts, and tells the window what to
// show next. The windows implement this with frmSelect and frmEditRecord, the tests with a
// script.
#pragma once

#include <functional>
#include <vector>

#include "interaction/RecordFields.h"
#include "interaction/RecordList.h"

namespace sabrix {

struct RecordListEvent {
    enum class Kind {
        // A click in the list: ranges holds every chosen line, current the line clicked.
        Choose,
        Log,              // cmdLog
        Delete,           // cmdDelete
        Edit,             // cmdEdit
        Mark,             // cmdMark
        Discrepant,       // cmdDiscrepant
        ClearDiscrepant,  // cmdClearDiscrepant
        Color,            // cmd0(colorIndex)
        MoreColors,       // cmdMoreColors
        Close,            // cmdClose
        // The title-bar close box (also Escape): the window goes without Close's redraw.
        Dismiss,
    };
    Kind kind = Kind::Choose;
    std::vector<LineRange> ranges;
    int current = -1;
    int colorIndex = 0;
};

class RecordDialogs {
  public:
    virtual ~RecordDialogs() = default;

    // Shows the record list, reporting every action to onEvent. A modal list returns when it
    // has closed; a modeless one returns at once. The list closes only through closeList.
    virtual void showList(const RecordListView& view, bool modal,
                          const std::function<void(const RecordListEvent&)>& onEvent) = 0;
    // The open list shows this instead (lines, heading, choice, palette, buttons).
    virtual void updateList(const RecordListView& view) = 0;
    // Closes the open list; nothing when none is open.
    virtual void closeList() = 0;

    // Shows the record editor modally with the fields of one row. OK calls accept with the
    // fields as the user left them; the editor closes when accept returns true and stays open
    // otherwise. Cancel (also Escape and the close box) closes it and changes nothing.
    virtual void editRecord(const QString& caption, const std::vector<RecordField>& fields,
                            const std::function<bool(const std::vector<RecordField>&)>& accept) = 0;
};

}  // namespace sabrix

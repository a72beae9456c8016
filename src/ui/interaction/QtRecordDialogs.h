// SPDX-License-Identifier: GPL-3.0-or-later
// The record list and the record editor of the windows: frmSelect and frmEditRecord over the
// main window. The list opens beside the main window, or beside the points it lists when the
// main window leaves no room, and at the size the user last gave it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>

#include "interaction/RecordDialogs.h"
#include "ui/interaction/frmSelect.h"

namespace sabrix {

class QtRecordDialogs : public RecordDialogs {
  public:
    // plot: the widget whose pixels RecordListView::around counts (null: none avoided).
    explicit QtRecordDialogs(QWidget* parent, QWidget* plot = nullptr)
        : parent_(parent), plot_(plot) {}

    void showList(const RecordListView& view, bool modal,
                  const std::function<void(const RecordListEvent&)>& onEvent) override;
    void updateList(const RecordListView& view) override;
    void closeList() override;
    void editRecord(const QString& caption, const std::vector<RecordField>& fields,
                    const std::function<bool(const std::vector<RecordField>&)>& accept) override;

    // The record list while it is open.
    frmSelect* list() const { return list_; }

  private:
    void Place(frmSelect& list, const RecordListView& view) const;

    QWidget* parent_;
    QWidget* plot_;
    QPointer<frmSelect> list_;
    // The list's size when it last closed; none before it first opened.
    std::optional<QSize> listSize_;
};

}  // namespace sabrix

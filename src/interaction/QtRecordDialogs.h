// The record list and the record editor of the windows: frmSelect and frmEditRecord over the
// main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "interaction/RecordDialogs.h"
#include "interaction/frmSelect.h"

namespace sabrix {

class QtRecordDialogs : public RecordDialogs {
  public:
    explicit QtRecordDialogs(QWidget* parent) : parent_(parent) {}

    void showList(const RecordListView& view, bool modal,
                  const std::function<void(const RecordListEvent&)>& onEvent) override;
    void updateList(const RecordListView& view) override;
    void closeList() override;
    void editRecord(const QString& caption, const std::vector<RecordField>& fields,
                    const std::function<bool(const std::vector<RecordField>&)>& accept) override;

    // The record list while it is open.
    frmSelect* list() const { return list_; }

  private:
    QWidget* parent_;
    QPointer<frmSelect> list_;
};

}  // namespace sabrix

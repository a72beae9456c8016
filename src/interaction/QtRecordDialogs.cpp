#include "interaction/QtRecordDialogs.h"

#include "interaction/frmEditRecord.h"

namespace sabrix {

void QtRecordDialogs::showList(const RecordListView& view, bool modal,
                               const std::function<void(const RecordListEvent&)>& onEvent) {
    closeList();
    auto* list = new frmSelect(parent_);
    list_ = list;
    list->onEvent = onEvent;
    list->Apply(view);
    if (!modal) {
        list->setModal(false);
        list->show();
        return;
    }
    list->exec();
    // Closed through closeList, which has let it go already; anything else closes it here.
    if (list_ == list) {
        list_ = nullptr;
        list->Unload();
    }
}

void QtRecordDialogs::updateList(const RecordListView& view) {
    if (list_) list_->Apply(view);
}

void QtRecordDialogs::closeList() {
    if (!list_) return;
    frmSelect* list = list_;
    list_ = nullptr;
    list->Unload();
}

void QtRecordDialogs::editRecord(
    const QString& caption, const std::vector<RecordField>& fields,
    const std::function<bool(const std::vector<RecordField>&)>& accept) {
    QWidget* owner = list_ ? static_cast<QWidget*>(list_) : parent_;
    frmEditRecord editor(caption, fields, owner);
    editor.onOK = accept;
    editor.exec();
}

}  // namespace sabrix

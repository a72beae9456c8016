// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/interaction/QtRecordDialogs.h"

#include <QScreen>

#include "interaction/SideWindowPlace.h"
#include "ui/interaction/frmEditRecord.h"

namespace sabrix {

void QtRecordDialogs::showList(const RecordListView& view, bool modal,
                               const std::function<void(const RecordListEvent&)>& onEvent) {
    closeList();
    auto* list = new frmSelect(parent_);
    list_ = list;
    list->onEvent = onEvent;
    list->Apply(view);
    if (listSize_) list->resize(*listSize_);
    Place(*list, view);
    if (!modal) {
        list->setModal(false);
        list->show();
        return;
    }
    list->exec();
    // Closed through closeList, which has let it go already; anything else closes it here.
    if (list_ == list) {
        listSize_ = list->size();
        list_ = nullptr;
        list->Unload();
    }
}

void QtRecordDialogs::Place(frmSelect& list, const RecordListView& view) const {
    if (!parent_) return;
    QWidget* main = parent_->window();
    const QScreen* screen = main->screen();
    std::optional<QRect> avoid;
    if (plot_ && view.around) {
        const QRect local = view.around->toAlignedRect().intersected(plot_->rect());
        if (!local.isEmpty()) avoid = QRect(plot_->mapToGlobal(local.topLeft()), local.size());
    }
    // The frame is not known before the window shows: the window manager's border is guessed
    // from the main window's.
    const QSize border = main->frameGeometry().size() - main->size();
    list.move(SideWindowPlaceAvoiding(
        main->frameGeometry(), list.size() + border,
        screen ? std::optional(screen->availableGeometry()) : std::nullopt, avoid));
}

void QtRecordDialogs::updateList(const RecordListView& view) {
    if (list_) list_->Apply(view);
}

void QtRecordDialogs::closeList() {
    if (!list_) return;
    frmSelect* list = list_;
    listSize_ = list->size();
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

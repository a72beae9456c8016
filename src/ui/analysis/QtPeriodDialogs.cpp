#include "ui/analysis/QtPeriodDialogs.h"

#include "ui/analysis/frmPeriodSearch.h"

namespace sabrix {

void QtPeriodDialogs::showSearch(
    const PeriodSearchFields& fields,
    const std::function<PeriodSearchAnswer(const PeriodSearchFields&)>& search) {
    QWidget* owner = result_ ? static_cast<QWidget*>(result_) : parent_;
    frmPeriodSearch dialog(owner);
    dialog.onSearch = search;
    dialog.setFields(fields);
    dialog.exec();
}

void QtPeriodDialogs::showResult(const PeriodogramWindowView& view,
                                 const std::function<void(const PeriodogramEvent&)>& onEvent) {
    if (!result_) {
        result_ = new frmPeriodogram(parent_);
        result_->setModal(false);
    }
    result_->onEvent = onEvent;
    result_->Apply(view);
    result_->show();
    result_->raise();
    result_->activateWindow();
}

void QtPeriodDialogs::updateResult(const PeriodogramWindowView& view) {
    if (result_) result_->Apply(view);
}

void QtPeriodDialogs::closeResult() {
    if (!result_) return;
    frmPeriodogram* window = result_;
    result_ = nullptr;
    window->Unload();
}

}  // namespace sabrix

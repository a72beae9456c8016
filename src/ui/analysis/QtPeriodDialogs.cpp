// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/QtPeriodDialogs.h"

#include <QGuiApplication>
#include <QScreen>

#include "interaction/RememberedLayout.h"
#include "ui/analysis/frmPeriodSearch.h"
#include "ui/interaction/BesideMainWindow.h"

namespace sabrix {

std::vector<QRect> ScreenAreas() {
    std::vector<QRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) areas.push_back(primary->availableGeometry());
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) areas.push_back(screen->availableGeometry());
    return areas;
}

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
        PlaceBesideMainWindow(*result_);
        if (place_)
            result_->move(
                RestoredFrame(QRect(*place_, result_->frameGeometry().size()), ScreenAreas())
                    .topLeft());
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

std::optional<QPoint> QtPeriodDialogs::place() const {
    if (result_ && result_->isVisible()) return result_->frameGeometry().topLeft();
    return place_;
}

void QtPeriodDialogs::closeResult() {
    if (!result_) return;
    place_ = place();
    frmPeriodogram* window = result_;
    result_ = nullptr;
    window->Unload();
}

}  // namespace sabrix

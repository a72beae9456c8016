// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/QtPeriodDialogs.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "interaction/RememberedLayout.h"
#include "ui/analysis/frmPeriodSearch.h"

namespace sabrix {

namespace {

constexpr int kGap = 8;

// Right of the main window where the screen has room, else left of it, else against the
// screen's right edge; the tops level.
void PlaceBesideMainWindow(QWidget& window) {
    const QWidget* main = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!main) return;
    const QRect frame = main->frameGeometry();
    const QSize size = window.frameGeometry().size();
    const QScreen* screen = main->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    int x = frame.right() + 1 + kGap;
    if (area.isValid() && x + size.width() > area.right() + 1) {
        const int left = frame.left() - kGap - size.width();
        x = left >= area.left() ? left : std::max(area.left(), area.right() + 1 - size.width());
    }
    int y = frame.top();
    if (area.isValid())
        y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    window.move(x, y);
}

}  // namespace

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

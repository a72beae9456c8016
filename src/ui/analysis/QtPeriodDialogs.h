// SPDX-License-Identifier: GPL-3.0-or-later
// The period search dialogs of the windows: frmPeriodSearch and frmPeriodogram over the main
// window.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

#include "analysis/PeriodDialogs.h"
#include "ui/analysis/frmPeriodogram.h"

namespace sabrix {

// The available areas of the screens (without panels and docks), the primary screen's first.
std::vector<QRect> ScreenAreas();

class QtPeriodDialogs : public PeriodDialogs {
  public:
    explicit QtPeriodDialogs(QWidget* parent) : parent_(parent) {}

    void showSearch(
        const PeriodSearchFields& fields,
        const std::function<PeriodSearchAnswer(const PeriodSearchFields&)>& search) override;
    void showResult(const PeriodogramWindowView& view,
                    const std::function<void(const PeriodogramEvent&)>& onEvent) override;
    void updateResult(const PeriodogramWindowView& view) override;
    void closeResult() override;

    // The period search window while it is open.
    frmPeriodogram* result() const { return result_; }

    // Where the period search window opens (its frame's top left corner), kept inside the
    // screens; unset, beside the main window. Closing the window remembers its place.
    void setRememberedPlace(std::optional<QPoint> place) { place_ = place; }
    // The window's place while it is open, else the place remembered.
    std::optional<QPoint> place() const;

  private:
    QWidget* parent_;
    std::optional<QPoint> place_;
    QPointer<frmPeriodogram> result_;
};

}  // namespace sabrix

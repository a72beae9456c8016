// SPDX-License-Identifier: GPL-3.0-or-later
// The period search dialogs of the windows: frmPeriodSearch and frmPeriodogram over the main
// window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "analysis/PeriodDialogs.h"
#include "ui/analysis/frmPeriodogram.h"

namespace sabrix {

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

  private:
    QWidget* parent_;
    QPointer<frmPeriodogram> result_;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis dialogs of the windows: frmBins and frmPoly over the main window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "analysis/AnalysisDialogs.h"
#include "ui/analysis/frmBins.h"

namespace sabrix {

class QtAnalysisDialogs : public AnalysisDialogs {
  public:
    explicit QtAnalysisDialogs(QWidget* parent) : parent_(parent) {}

    // A second "Average Values" while its dialog is open brings that dialog to the front.
    void showBins(const BinDialogFields& fields, bool modal,
                  const std::function<bool(const BinDialogFields&)>& enter,
                  const std::function<void()>& cancel) override;
    void showPoly(const QString& degree, const std::function<bool(const QString&)>& plot,
                  const std::function<void()>& cancel) override;

    // The modeless bins dialog while it is open.
    frmBins* modelessBins() const { return modeless_; }

  private:
    QWidget* parent_;
    QPointer<frmBins> modeless_;
};

}  // namespace sabrix

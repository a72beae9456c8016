// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/QtAnalysisDialogs.h"

#include "ui/analysis/frmPoly.h"

namespace sabrix {

void QtAnalysisDialogs::showBins(const BinDialogFields& fields, bool modal,
                                 const std::function<bool(const BinDialogFields&)>& enter,
                                 const std::function<void()>& cancel) {
    if (modal) {
        frmBins dialog(parent_);
        dialog.onEnter = enter;
        dialog.onCancel = cancel;
        dialog.setFields(fields);
        dialog.exec();
        return;
    }
    if (modeless_) {
        modeless_->raise();
        modeless_->activateWindow();
        return;
    }
    modeless_ = new frmBins(parent_);
    modeless_->setAttribute(Qt::WA_DeleteOnClose);
    modeless_->setModal(false);
    modeless_->onEnter = enter;
    modeless_->onCancel = cancel;
    modeless_->setFields(fields);
    modeless_->show();
}

void QtAnalysisDialogs::showPoly(const QString& degree,
                                 const std::function<bool(const QString&)>& plot,
                                 const std::function<void()>& cancel) {
    frmPoly dialog(parent_);
    dialog.onPlot = plot;
    dialog.onCancel = cancel;
    dialog.setDegree(degree);
    dialog.exec();
}

}  // namespace sabrix

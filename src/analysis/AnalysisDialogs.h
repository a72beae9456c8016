// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs of the analysis commands as the command layer sees them: the bins dialog ("Load
// Bins") and the degree dialog ("Polynomial Fit"). They only collect their fields; every Enter
// or Plot hands the fields to the command layer, which computes, draws and says its messages,
// and answers whether the dialog closes. The windows implement this with frmBins and frmPoly,
// the tests with a script.
#pragma once

#include <QString>
#include <functional>

#include "analysis/Bins.h"

namespace sabrix {

class AnalysisDialogs {
  public:
    virtual ~AnalysisDialogs() = default;

    // Shows the bins dialog with the fields. Each Enter calls enter with the fields as the user
    // left them; the dialog closes when enter returns true and stays open otherwise. Cancel
    // (also Escape and the close box) calls cancel and closes it. A modal dialog returns when
    // it has closed; a modeless one returns at once and stays open beside the main window.
    virtual void showBins(const BinDialogFields& fields, bool modal,
                          const std::function<bool(const BinDialogFields&)>& enter,
                          const std::function<void()>& cancel) = 0;

    // Shows the degree dialog modally with the degree text. Plot (or Enter in the field) calls
    // plot with the text; the dialog closes when plot returns true. Cancel calls cancel.
    virtual void showPoly(const QString& degree, const std::function<bool(const QString&)>& plot,
                          const std::function<void()>& cancel) = 0;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of the period search as the command layer sees them: the search dialog ("Period
// Search": the range of periods, samples per peak and the weighting) and the period search
// window (the periodogram, its peaks, the phase plot's period and epoch, the periods removed).
// They only show what they are given and hand every action to the command layer, which checks
// the fields, computes, says its messages and tells them what to show next. The windows
// implement this with frmPeriodSearch and frmPeriodogram (QtPeriodDialogs), the tests with a
// script.
#pragma once

#include <QString>
#include <functional>

#include "analysis/FrequencyGrid.h"
#include "analysis/PeriodAnalysis.h"

namespace sabrix {

// The fields of the search dialog.
struct PeriodSearchFields {
    PeriodRangeFields range;
    // The range for the observations shown, which "Defaults" puts back.
    PeriodRangeFields defaults{};
    // Harmonics of the periodogram (1 to 6).
    int harmonics = 1;
    bool useUncertainties = true;
    // Phase dispersion minimisation instead of the periodogram.
    bool pdm = false;
    // Every observation has an uncertainty: otherwise "Use uncertainties as weights" is greyed
    // (and equal weights are used whatever it shows).
    bool uncertaintiesAvailable = false;
    // What is searched: "312 observations shown, JD 2450001.2345 to 2452400.6789", and what
    // the default range had to give up.
    QString summary{};
};

// The command layer's answer to Search: close the dialog, or keep it open with the focus on
// the field at fault (its text selected).
struct PeriodSearchAnswer {
    bool close = true;
    PeriodRangeField focus = PeriodRangeField::None;
};

class PeriodDialogs {
  public:
    virtual ~PeriodDialogs() = default;

    // Shows the search dialog modally with the fields. Search (also Enter) calls search with
    // the fields as the user left them and does what its answer says; Cancel (also Escape and
    // the close box) closes the dialog. Returns when the dialog has closed.
    virtual void showSearch(
        const PeriodSearchFields& fields,
        const std::function<PeriodSearchAnswer(const PeriodSearchFields&)>& search) = 0;

    // Shows the period search window beside the main window (it does not block it) with the
    // view, reporting every action to onEvent; when one is open, it shows this view and
    // reports to this onEvent instead. The window closes only through closeResult.
    virtual void showResult(const PeriodogramWindowView& view,
                            const std::function<void(const PeriodogramEvent&)>& onEvent) = 0;
    // The open window shows this view; nothing when none is open.
    virtual void updateResult(const PeriodogramWindowView& view) = 0;
    // Closes the open window; nothing when none is open.
    virtual void closeResult() = 0;
};

}  // namespace sabrix

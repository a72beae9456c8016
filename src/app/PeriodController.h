// SPDX-License-Identifier: GPL-3.0-or-later
// The period search and the phase plot: Tools > Period Search (its dialog, then the period
// search window with the periodogram computed as a job), the window's actions, the phase plot
// of a chosen or typed period and the way back to the light curve ("Time Plot"). It keeps the
// search of the open window (PeriodAnalysis) and the job that computes it; the phase plot
// itself is the context's fold, which the redraw sequence draws.
//
// The observations searched and folded are those the light curve shows
// (ShownObservations over the light curve's window).
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "analysis/PeriodAnalysis.h"
#include "analysis/PeriodDialogs.h"
#include "analysis/PeriodSearch.h"
#include "app/CommandContext.h"

namespace sabrix {

class ImageExportDialog;

class PeriodController {
  public:
    explicit PeriodController(CommandContext& context);

    void setPeriodDialogs(PeriodDialogs* dialogs) { dialogs_ = dialogs; }
    void setImageExportDialog(ImageExportDialog* dialog) { imageExportDialog_ = dialog; }

    // Says "No star file is loaded." when none is; says why and opens nothing when the
    // observations shown give no periodogram (fewer than 3, one time, one magnitude, none);
    // else opens the search dialog, and on its accepted Search the period search window with
    // the periodogram computed as a job.
    void mnuPeriod_Click();
    // Search of the dialog: refuses a range it cannot use with a message naming the field
    // (the dialog stays open with the focus there); otherwise starts the search. Also what the
    // tests run without the dialog.
    PeriodSearchAnswer Search(const PeriodSearchFields& fields);
    // An action of the period search window other than Cancel and Close.
    void PeriodWindowEvent(const PeriodogramEvent& event);
    // Cancel of the window, Escape, the main window's Cancel: stops the search that runs (a
    // removal whose residuals were being searched is undone). Nothing when none runs.
    void CancelPeriodSearch();
    // The window's Close and close box: stops a search, closes the window, forgets the
    // search. The phase plot stays.
    void ClosePeriodWindow();
    // The phase plot of the observations the light curve shows for the period (days, > 0)
    // and the epoch (none: the time of the brightest of them). Returns the refusal said (the
    // plot unchanged), or an empty text.
    QString ShowPhasePlot(double period, std::optional<double> epoch);
    // Back to the light curve with the window it had; nothing on the light curve.
    void mnuTimePlot_Click();

    // The search of the open window; null when none is open.
    const PeriodAnalysis* analysis() const { return analysis_.get(); }

  private:
    friend struct test::CommandsTestPeer;

    // The observations of the light curve as shown now.
    PeriodObservations Observations() const;
    // Computes the awaited step of the open search as a job; the window follows its progress.
    void RunSearch();
    void UpdateWindow();
    void FoldAt(double period, double epoch);
    void ExportCsv();
    void ExportImage();
    // The save dialog of an export, offering STAR-periodogram.EXT in the loaded file's folder;
    // nothing on cancel.
    std::optional<std::string> AskExportPath(const QString& title, const char* extension,
                                             const QString& filter) const;

    CommandContext& ctx_;
    PeriodDialogs* dialogs_ = nullptr;
    ImageExportDialog* imageExportDialog_ = nullptr;
    std::unique_ptr<PeriodAnalysis> analysis_;
    PeriodSearchJob job_;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The period search and the phase plot: Tools > Period Search (its dialog, then the period
// search window with the periodogram computed as a job), the window's actions, the phase plot
// of a chosen or typed period and the way back to the light curve ("Time Plot"). It keeps the
// search of the open window (PeriodAnalysis), the job that computes it and the fold of the
// phase plot shown, whose frame (PhaseFrame) it hands to the context to draw.
//
// The observations searched and folded are those the light curve shows
// (ShownObservations over the light curve's window). A peak of the residuals' periodogram
// (after a period removed) folds the residuals.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "analysis/PeriodAnalysis.h"
#include "analysis/PeriodDialogs.h"
#include "analysis/PeriodSearch.h"
#include "app/CommandContext.h"

namespace sabrix {

class ImageExportDialog;

class PeriodController : public PlotOverlay {
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
    // The phase plot of the observations the light curve shows for the period (days,
    // kShortestPeriod to kLongestPeriod) and the epoch (within kLongestPeriod of the data;
    // none: the model's maximum with a model, else the time of the brightest of them), with
    // the model of `harmonics` harmonics drawn (0: none). Returns the refusal said (the plot
    // unchanged), or an empty text.
    QString ShowPhasePlot(double period, std::optional<double> epoch, int harmonics = 0);
    // Back to the light curve with the window it had; nothing on the light curve.
    void mnuTimePlot_Click();

    // The search of the open window; null when none is open.
    const PeriodAnalysis* analysis() const { return analysis_.get(); }
    // The fold of the phase plot while it is shown.
    const std::optional<PhaseFold>& fold() const { return fold_; }
    // The model drawn over the phase plot and the light curve; null when none is.
    const FourierModel* model() const { return model_ ? &*model_ : nullptr; }

    // The model over the plot (PlotOverlay). It stays through the turns between the phase plot
    // and the light curve; "Draw the model", a new fold, closing the window and unloading
    // change it.
    void DrawOverlay() override;
    void DrawOverlayOnto(Canvas& picView) const override;
    void HideOverlay(bool) override {}

  private:
    friend struct test::CommandsTestPeer;

    // The observations of the light curve as shown now.
    PeriodObservations Observations() const;
    // Computes the awaited step of the open search as a job; the window follows its progress.
    void RunSearch();
    void UpdateWindow();
    // The phase plot of the search's observations (its residuals after a removal); no epoch:
    // the model's maximum when the model is drawn, else the brightest observation.
    void FoldAt(double period, std::optional<double> epoch);
    // Shows the fold's phase plot (of the residuals, when given: they come from the open
    // search) with the model over it.
    void ShowFold(const PhaseFold& fold, std::vector<Residual> residuals = {});
    void RefitModel();
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
    // Moved on by each search started and by closing the window (see RunSearch).
    uint64_t searchGeneration_ = 0;
    // The range and harmonics of the last search of the loaded star, offered again.
    std::optional<PeriodSearchFields> typed_;
    std::optional<FourierModel> model_;
    std::optional<PhaseFold> fold_;
};

}  // namespace sabrix

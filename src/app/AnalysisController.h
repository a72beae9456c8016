// SPDX-License-Identifier: GPL-3.0-or-later
// The averages in bins and the polynomial fit over the light curve: the commands that open
// their dialogs, Enter and Plot of those dialogs, and their steps in the redraw sequence (it
// is the context's PlotOverlay). It keeps the bins, the fit and whether each is shown. The
// dialogs open through the AnalysisDialogs given (none: the commands only turn their overlay
// on); the buttons open them modally, "Average Values" opens the bins dialog modelessly.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisDialogs.h"
#include "analysis/Bins.h"
#include "analysis/PhaseFolding.h"
#include "analysis/PolyFit.h"
#include "app/CommandContext.h"

namespace sabrix {

class AnalysisController : private PlotOverlay {
  public:
    explicit AnalysisController(CommandContext& context);

    void setAnalysisDialogs(AnalysisDialogs* dialogs) { analysisDialogs_ = dialogs; }

    // Each says "No star file is loaded." when none is, else shows its dialog.
    void cmdBin_Click();
    void mnuAvg_Click();
    void cmdPoly_Click();
    void mnuPoly_Click();
    // Enter of the bins dialog: refuses fields it cannot use with a message that says what to
    // type (returns false: the dialog stays open, nothing changed); otherwise brings the window
    // back to the full magnitude range ending at JDLast + 5, redraws, computes the bins,
    // writes the bin file when asked (where the save dialog says), fills the stats window and
    // draws the bins. Returns true then.
    bool EnterBins(const BinDialogFields& fields);
    // The averages of the last Enter (none before one), and on the phase plot its bins in
    // phase.
    const Bins& bins() const { return bins_; }
    const std::vector<PhaseBin>& phaseBins() const { return phaseBins_; }
    // Plot of the degree dialog: the same window and redraw, then the fit of every row and
    // the curve. Returns false, with the overlay off and after its message, when the degree
    // is refused or the fit overflows (the dialog stays open for another degree).
    bool PlotPolyFit(const QString& degreeText);
    // The samples of the fitted curve over the plot window (SamplePolyCurve); none before a
    // fit has been plotted.
    std::vector<PolySample> PolyCurve() const;

  private:
    friend struct test::CommandsTestPeer;

    // PlotOverlay: the bins, then the curve.
    void DrawOverlay() override;
    void DrawOverlayOnto(Canvas& picView) const override;
    void HideOverlay(bool forget) override;

    void ShowBinsDialog(bool modal);
    void ShowPolyDialog();
    // Enter's and Plot's window: the full magnitude range, the JD width kept, ending at
    // JDLast + 5; "Magnification = 1 X".
    void ShowFullRangeAtEnd();
    // The bin file's path, asked for (with the overwrite question); nothing on cancel.
    std::optional<std::string> ChooseBinFile();
    void DrawBins();
    // Enter on the phase plot: bins of a phase width over the observations shown, their mean
    // curve drawn across both cycles.
    bool EnterPhaseBins(const BinDialogFields& fields);
    void DrawPoly();

    CommandContext& ctx_;
    AnalysisDialogs* analysisDialogs_ = nullptr;
    Bins bins_;
    std::vector<PhaseBin> phaseBins_;
    int16_t phaseSigma_ = 2;
    bool binsShown_ = false;
    bool polyShown_ = false;
    std::shared_ptr<RegressionObject> polyRegression_;
};

}  // namespace sabrix

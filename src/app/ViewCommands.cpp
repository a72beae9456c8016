// SPDX-License-Identifier: GPL-3.0-or-later
// PlotController: the commands that change what the plot shows: reset, refresh, the
// navigation buttons, "Omit fainter thans", a chosen window and the stats window.
#include <exception>

#include "app/CommandList.h"
#include "app/PlotController.h"
#include "core/ErrorText.h"
#include "plot/Navigation.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

namespace sabrix {

PlotController::PlotController(CommandContext& context) : ctx_(context) {
    // The views to go back to are of the plot they were taken on.
    ctx_.OnSwitchPlot([this] { ForgetViews(); });
    ctx_.OnForgetStar([this] {
        ForgetViews();
        drag_ = Drag::None;
        ctx_.view.rubberBand.reset();
    });
}

void PlotController::cmdReset_Click() {
    Reset();
}

void PlotController::Reset() {
    // Reset returns from the phase plot to the whole light curve.
    ctx_.ShowLightCurve();
    {
        CommandContext::Job job(ctx_);
        ctx_.RemoveMarks();
        ctx_.HideOverlays(true);
        ForgetViews();
        ctx_.state.view.JDMagnification = 1.0f;
        ctx_.state.view.MagMagnification = 1.0f;
    }
    const bool fitted = ctx_.FitPlotWindow();
    ctx_.view.panels[1] = PlainMagnificationText(ctx_.state);
    // An empty table leaves nothing to draw: the empty look stays.
    if (fitted) ctx_.Redraw(false);
    ctx_.view.cursorName = QStringLiteral("XHairs");
}

void PlotController::cmdRefresh_Click() {
    ctx_.RemoveMarks();
    // The plotter clears the plot: the averages and the curve are gone, and later redraws
    // leave them out.
    ctx_.Redraw(false);
    ctx_.HideOverlays(false);
}

void PlotController::ToggleOmit(bool& omit, bool& checked) {
    if (!ctx_.state.star.FileLoaded) {
        ctx_.SayNoStarLoaded();
        return;
    }
    omit = !omit;
    checked = omit;
    if (ctx_.Allows(cmd::cmdReset_Click.needs)) Reset();
}

void PlotController::mnuFaint_Click() {
    ToggleOmit(ctx_.state.overlay.OmitFainter, ctx_.view.omitFainterChecked);
}

void PlotController::mnuDisc_Click() {
    ToggleOmit(ctx_.state.overlay.OmitDiscrepant, ctx_.view.omitDiscrepantChecked);
}

void PlotController::ShowBands(std::set<std::string> hidden) {
    if (hidden == ctx_.state.star.HiddenBands) return;
    ctx_.state.star.HiddenBands = std::move(hidden);
    ctx_.HideOverlays(true);
    ctx_.Redraw(false);
}

void PlotController::lstBands_ItemCheck(const std::string& band, bool shown) {
    std::set<std::string> hidden = ctx_.state.star.HiddenBands;
    if (shown)
        hidden.erase(band);
    else
        hidden.insert(band);
    ShowBands(std::move(hidden));
}

void PlotController::lstBands_DblClick(const std::string& band) {
    ShowOnlyBands({band});
}

void PlotController::ShowOnlyBands(const std::set<std::string>& bands) {
    std::set<std::string> hidden;
    try {
        for (const ColumnText& text : ctx_.table->Columns().Bands())
            if (!bands.contains(text.text)) hidden.insert(text.text);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "Plotter");
        return;
    }
    ShowBands(std::move(hidden));
}

void PlotController::cmdAllBands_Click() {
    ShowBands({});
}

void PlotController::Move(bool (*move)(PlotWindowState&)) {
    const PlotWindowState before = ctx_.state.view;
    if (move(ctx_.state.view)) Stepped(before);
}

void PlotController::cmdBack_Click() {
    // A frame without steps across (the phase plot's whole cycle) has no time to move through.
    if (!ctx_.Frame().StepsAcross()) return;
    Move(&StepBack);
}

void PlotController::cmdForward_Click() {
    // A frame without steps across (the phase plot's whole cycle) has no time to move through.
    if (!ctx_.Frame().StepsAcross()) return;
    Move(&StepForward);
}

void PlotController::cmdBegin_Click() {
    // A frame without steps across (the phase plot's whole cycle) has no time to move through.
    if (!ctx_.Frame().StepsAcross()) return;
    Move(&GoToBeginning);
}

void PlotController::cmdEnder_Click() {
    // A frame without steps across (the phase plot's whole cycle) has no time to move through.
    if (!ctx_.Frame().StepsAcross()) return;
    Move(&GoToEnd);
}

void PlotController::cmdUp_Click() {
    Move(&StepBrighter);
}

void PlotController::CmdDown_Click() {
    Move(&StepDimmer);
}

void PlotController::ShowWindow(double jdLeft, double jdRight, double magTop, double magBottom) {
    if (!(jdLeft < jdRight) || !(magTop < magBottom)) return;
    PlotWindowState full = ctx_.state.view;
    try {
        if (!FindExtremes(full, *ctx_.table, ctx_.Shown())) return;
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "FindExtremes");
        return;
    }
    const PlotWindowState before = ctx_.state.view;
    PlotWindowState& v = ctx_.state.view;
    v.WinJDLeft = jdLeft;
    v.WinJDRight = jdRight;
    v.WinJDWidth = jdRight - jdLeft;
    v.WinMagTop = magTop;
    v.WinMagBottom = magBottom;
    v.WinMagHeight = magBottom - magTop;
    v.JDMagnification = static_cast<float>(full.WinJDWidth / v.WinJDWidth);
    v.MagMagnification = static_cast<float>(full.WinMagHeight / v.WinMagHeight);
    Stepped(before);
}

void PlotController::mnuStats_Click() {
    if (ctx_.view.statsChecked) {
        ctx_.view.statsChecked = false;
        ctx_.state.overlay.StatsShown = false;
        ctx_.view.statsWindowOpen = false;
        return;
    }
    ctx_.view.statsChecked = true;
    ctx_.state.overlay.StatsShown = true;
    ctx_.view.statsWindowOpen = true;
    // The figures of the view on the screen, at once rather than at the next redraw.
    ctx_.view.statsLines.clear();
    if (ctx_.table && ctx_.state.star.FileLoaded) {
        try {
            ctx_.view.statsLines =
                StatsLines(ctx_.Frame(), ctx_.state.view, ctx_.table->Columns(), ctx_.Shown());
        } catch (const std::exception& e) {
            ctx_.SayModuleError(e, "Plotter");
        }
    }
}

void PlotController::frmStats_Unload() {
    // The close box only takes the check mark away: the next plot brings the window back.
    ctx_.view.statsChecked = false;
    ctx_.view.statsWindowOpen = false;
    ctx_.view.statsLines.clear();
}

}  // namespace sabrix

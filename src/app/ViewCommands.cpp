// The commands of MainWindowCommands that change what the plot shows: the redraw sequence,
// reset, refresh, the navigation buttons, "Omit fainter thans", a chosen window and the stats
// window.
#include <exception>

#include "app/MainWindowCommands.h"
#include "core/ErrorText.h"
#include "interaction/ObserverMarking.h"
#include "plot/Navigation.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

namespace sabrix {

const WindowView& MainWindowCommands::Redraw(bool withOverlays) {
    if (!table_ || !state_.star.FileLoaded || Busy()) return view_;
    try {
        Scaler(state_.view, canvases_.picView, canvases_.picJDScale, canvases_.picMagScale);
    } catch (const std::exception& e) {
        if (!ScalerErrorIsSilent(state_.view)) SayModuleError(e, "Scaler");
    }
    RunPlotter();
    if (withOverlays && binsShown_) DrawBins();
    if (withOverlays && polyShown_) DrawPoly();
    return view_;
}

void MainWindowCommands::RunPlotter() {
    PlotOutcome outcome;
    {
        Job job(*this);
        if (state_.overlay.StatsShown) view_.statsWindowOpen = true;
        view_.progressCaption = QStringLiteral("Plotting. . . .");
        view_.captionShown = true;
        host_.present(view_);
        outcome = Plotter(state_, marks_, *table_, canvases_.picView, canvases_.picJDScale,
                          canvases_.picMagScale, [&job] { job.pacer().tick(); });
    }
    // The plot look: the titles, the logo and the progress controls give way to the plot.
    view_.look = WindowView::Look::Plot;
    ShowFillProgress();
    if (outcome.starLabel) view_.starLabel = *outcome.starLabel;
    // A window without rows draws nothing, but its factor is still the one to show: a stale
    // figure in the status bar would describe another view.
    view_.panels[1] = outcome.statusText.value_or(MagnificationStatusText(state_));
    if (outcome.cursorName) view_.cursorName = *outcome.cursorName;
    if (outcome.statsLines) view_.statsLines = *outcome.statsLines;
    for (const QString& message : outcome.errorMessages)
        Say(message, QStringLiteral("Error"), Buttons::OK, Icon::None);
}

void MainWindowCommands::RemoveMarks() {
    if (!marks_.ObserverMarked) return;
    try {
        UnMarkObs(marks_, state_.settings, *table_);
    } catch (const std::exception& e) {
        SayModuleError(e, "UnMarkObs");
    }
    marks_.MarkCount = 0;
}

const WindowView& MainWindowCommands::cmdReset_Click() {
    if (Busy() || !table_ || !state_.star.FileLoaded) return view_;
    {
        Job job(*this);
        RemoveMarks();
        binsShown_ = false;
        polyShown_ = false;
        ForgetViews();
        state_.view.JDMagnification = 1.0f;
        state_.view.MagMagnification = 1.0f;
    }
    const bool fitted = FitPlotWindow();
    view_.panels[1] = PlainMagnificationText(state_);
    bins_.BinJD.clear();
    bins_.BinMag.clear();
    bins_.BinSD.clear();
    // An empty table leaves nothing to draw: the empty look stays.
    if (fitted) Redraw(false);
    view_.cursorName = QStringLiteral("XHairs");
    return view_;
}

const WindowView& MainWindowCommands::cmdRefresh_Click() {
    if (Busy() || !table_ || !state_.star.FileLoaded) return view_;
    RemoveMarks();
    // The plotter clears the plot: the averages and the curve are gone, and later redraws
    // leave them out.
    Redraw(false);
    binsShown_ = false;
    polyShown_ = false;
    return view_;
}

const WindowView& MainWindowCommands::mnuFaint_Click() {
    if (Busy()) return view_;
    if (!state_.star.FileLoaded) {
        Say(QStringLiteral("No star file is loaded."), QStringLiteral("No Star Loaded"),
            Buttons::OK, Icon::Critical);
        return view_;
    }
    state_.overlay.OmitFainter = !state_.overlay.OmitFainter;
    view_.omitFainterChecked = state_.overlay.OmitFainter;
    return cmdReset_Click();
}

const WindowView& MainWindowCommands::Move(bool (*move)(PlotWindowState&)) {
    if (!PlotShown()) return view_;
    const PlotWindowState before = state_.view;
    if (move(state_.view)) Stepped(before);
    return view_;
}

const WindowView& MainWindowCommands::cmdBack_Click() {
    return Move(&StepBack);
}

const WindowView& MainWindowCommands::cmdForward_Click() {
    return Move(&StepForward);
}

const WindowView& MainWindowCommands::cmdBegin_Click() {
    return Move(&GoToBeginning);
}

const WindowView& MainWindowCommands::cmdEnder_Click() {
    return Move(&GoToEnd);
}

const WindowView& MainWindowCommands::cmdUp_Click() {
    return Move(&StepBrighter);
}

const WindowView& MainWindowCommands::CmdDown_Click() {
    return Move(&StepDimmer);
}

const WindowView& MainWindowCommands::ShowWindow(double jdLeft, double jdRight, double magTop,
                                                 double magBottom) {
    if (Busy() || !table_ || !state_.star.FileLoaded) return view_;
    if (!(jdLeft < jdRight) || !(magTop < magBottom)) return view_;
    PlotWindowState full = state_.view;
    try {
        if (!FindExtremes(full, *table_)) return view_;
    } catch (const std::exception& e) {
        SayModuleError(e, "FindExtremes");
        return view_;
    }
    const PlotWindowState before = state_.view;
    PlotWindowState& v = state_.view;
    v.WinJDLeft = jdLeft;
    v.WinJDRight = jdRight;
    v.WinJDWidth = jdRight - jdLeft;
    v.WinMagTop = magTop;
    v.WinMagBottom = magBottom;
    v.WinMagHeight = magBottom - magTop;
    v.JDMagnification = static_cast<float>(full.WinJDWidth / v.WinJDWidth);
    v.MagMagnification = static_cast<float>(full.WinMagHeight / v.WinMagHeight);
    Stepped(before);
    return view_;
}

const WindowView& MainWindowCommands::mnuStats_Click() {
    if (Busy()) return view_;
    if (view_.statsChecked) {
        view_.statsChecked = false;
        state_.overlay.StatsShown = false;
        view_.statsWindowOpen = false;
        return view_;
    }
    view_.statsChecked = true;
    state_.overlay.StatsShown = true;
    view_.statsWindowOpen = true;
    // The figures of the view on the screen, at once rather than at the next redraw.
    view_.statsLines.clear();
    if (table_ && state_.star.FileLoaded) {
        try {
            view_.statsLines = StatsLines(state_.view, *table_);
        } catch (const std::exception& e) {
            SayModuleError(e, "Plotter");
        }
    }
    return view_;
}

const WindowView& MainWindowCommands::frmStats_Unload() {
    // The close box only takes the check mark away: the next plot brings the window back.
    view_.statsChecked = false;
    view_.statsWindowOpen = false;
    view_.statsLines.clear();
    return view_;
}

}  // namespace sabrix

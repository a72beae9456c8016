// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandContext.h"

#include "core/ErrorText.h"
#include "interaction/ObserverMarking.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

namespace sabrix {

CommandContext::CommandContext(AppState initial, TableFiles tableFiles, Prompts& questions,
                               WindowHost& windowHost, CommandCanvases surfaces)
    : state(std::move(initial)),
      files(std::move(tableFiles)),
      prompts(questions),
      host(windowHost),
      canvases(surfaces) {
    view.omitFainterChecked = state.overlay.OmitFainter;
    view.omitDiscrepantChecked = state.overlay.OmitDiscrepant;
}

bool CommandContext::Allows(Needs needs) const {
    switch (needs) {
        case Needs::Anytime:
            return true;
        case Needs::Idle:
            return !Busy();
        case Needs::Table:
            return !Busy() && TableReady();
        case Needs::Plot:
            return PlotShown();
        case Needs::Rows:
            return PlotShown() && TableReady();
    }
    return false;
}

Answer CommandContext::Say(const QString& text, const QString& title, Buttons buttons, Icon icon,
                           std::optional<Answer> dismissed) {
    // What the user sees behind the box is what the command has done so far.
    Present();
    return prompts.message(text, title, buttons, icon, dismissed);
}

void CommandContext::SayModuleError(const std::exception& e, const char* module) {
    Say(ModuleErrorText(DisplayText(e.what()), QString::fromLatin1(module)),
        QStringLiteral("Error"), Buttons::OK, Icon::None);
}

void CommandContext::Guarded(std::string_view name, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        SayModuleError(e, std::string(name).c_str());
    }
}

void CommandContext::SayNoStarLoaded() {
    Say(QStringLiteral("No star file is loaded."), QStringLiteral("No Star Loaded"), Buttons::OK,
        Icon::Critical);
}

void CommandContext::Yield() {
    if (pacer_) pacer_->tick();
}

void CommandContext::Redraw(bool withOverlays) {
    if (!table || !state.star.FileLoaded || Busy()) return;
    try {
        Scaler(state.view, canvases.picView, canvases.picJDScale, canvases.picMagScale);
    } catch (const std::exception& e) {
        if (!ScalerErrorIsSilent(state.view)) SayModuleError(e, "Scaler");
    }
    RunPlotter();
    ShowBandLines();
    if (withOverlays)
        for (PlotOverlay* overlay : overlays_) overlay->DrawOverlay();
    for (const std::function<void()>& draw : highlights_) draw();
}

void CommandContext::RunPlotter() {
    PlotOutcome outcome;
    {
        Job job(*this);
        if (state.overlay.StatsShown) view.statsWindowOpen = true;
        view.progressCaption = QStringLiteral("Plotting. . . .");
        view.captionShown = true;
        Present();
        outcome = Plotter(
            state, marks, *table, canvases.picView, canvases.picJDScale, canvases.picMagScale,
            [&job] { job.pacer().tick(); }, *frame_);
    }
    // The plot look: the titles, the logo and the progress controls give way to the plot.
    view.look = WindowView::Look::Plot;
    ShowLoadProgress();
    if (outcome.starLabel) view.starLabel = *outcome.starLabel;
    // A window without rows draws nothing, but its factor is still the one to show: a stale
    // figure in the status bar would describe another view.
    view.panels[1] = outcome.statusText.value_or(MagnificationStatusText(state));
    if (outcome.cursorName) view.cursorName = *outcome.cursorName;
    if (outcome.statsLines) view.statsLines = *outcome.statsLines;
    for (const QString& message : outcome.errorMessages)
        Say(message, QStringLiteral("Error"), Buttons::OK, Icon::None);
}

PointFilter CommandContext::Shown() const {
    if (!table) return PointFilter();
    return PointFilter::Counted(state, table->Columns());
}

bool CommandContext::FitPlotWindow() {
    try {
        if (FindExtremes(state.view, *table, Shown())) return true;
        view.look = WindowView::Look::Start;
        Say(NoObservationsText(state.star.StarName), QStringLiteral("No Observations"), Buttons::OK,
            Icon::None);
    } catch (const std::exception& e) {
        SayModuleError(e, "FindExtremes");
    }
    return false;
}

void CommandContext::ClearCanvases() {
    canvases.picView.Cls();
    canvases.picJDScale.Cls();
    canvases.picMagScale.Cls();
}

void CommandContext::RemoveMarks() {
    if (!marks.ObserverMarked) return;
    try {
        UnMarkObs(marks, state.settings, *table);
    } catch (const std::exception& e) {
        SayModuleError(e, "UnMarkObs");
    }
    marks.MarkCount = 0;
}

void CommandContext::ShowLoadProgress() {
    const bool filling = rows == TableRows::Filling;
    view.filling = filling;
    view.cancelShown = filling;
    view.progressBarShown = filling;
    view.captionShown = filling;
    if (filling) view.progressCaption = loadCaption;
}

void CommandContext::HideOverlays(bool forget) {
    for (PlotOverlay* overlay : overlays_) overlay->HideOverlay(forget);
}

void CommandContext::PushEdit(QUndoCommand* edit) {
    edits.push(edit);
    FollowEdits();
}

void CommandContext::FollowEdits() {
    state.star.FileEdited = !edits.isClean();
    view.undoText = edits.canUndo() ? QStringLiteral("Undo ") + edits.undoText() : QString();
    view.redoText = edits.canRedo() ? QStringLiteral("Redo ") + edits.redoText() : QString();
}

void CommandContext::ClearEdits() {
    edits.clear();
    if (table && TableReady()) {
        try {
            table->ForgetSetAside();
        } catch (const std::exception&) {
            // The rows set aside stay in a table of the connection, which goes with it.
        }
    }
    FollowEdits();
}

void CommandContext::ForgetStar() {
    frame_ = lightCurve_;
    view.phasePlot = false;
    // The changes were to rows of the table that is going.
    edits.clear();
    FollowEdits();
    for (const std::function<void()>& forget : forgetters_) forget();
    view.bandLines.clear();
}

void CommandContext::ShowBandLines() {
    try {
        view.bandLines = BandLines(table->Columns(), state);
    } catch (const std::exception&) {
        // The plot has said what the table could not give.
        view.bandLines.clear();
    }
}

void CommandContext::SwitchFrame(std::shared_ptr<const PlotFrame> frame) {
    frame_ = std::move(frame);
    view.phasePlot = !OnLightCurve();
    HideOverlays(true);
    for (const std::function<void()>& drop : switchers_) drop();
}

void CommandContext::ShowFrame(std::shared_ptr<const PlotFrame> frame) {
    if (OnLightCurve()) timeWindow_ = state.view;
    state.view = frame->WholeWindow(timeWindow_);
    SwitchFrame(std::move(frame));
    Redraw(false);
}

bool CommandContext::ShowLightCurve() {
    if (OnLightCurve()) return false;
    state.view = timeWindow_;
    SwitchFrame(lightCurve_);
    return true;
}

CommandContext::Job::Job(CommandContext& context)
    : context_(context),
      wasBusy_(context.view.busy),
      outerPacer_(context.pacer_),
      pacer_([&context] {
          context.host.present(context.view);
          context.host.yield();
      }) {
    context_.view.busy = true;
    context_.pacer_ = &pacer_;
    context_.Present();
}

CommandContext::Job::~Job() {
    context_.pacer_ = outerPacer_;
    context_.view.busy = wasBusy_;
}

}  // namespace sabrix

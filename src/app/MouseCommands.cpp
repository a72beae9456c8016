// SPDX-License-Identifier: GPL-3.0-or-later
// PlotController: the commands that the mouse and the tool buttons start: choosing a tool,
// presses, drags and moves on the plot and its scale strips, the wheel, and going back to the
// previous view.
#include <tuple>

#include "app/CommandList.h"
#include "app/PlotController.h"
#include "interaction/PlotMouse.h"
#include "interaction/ZoomOperations.h"
#include "plot/PointerReadout.h"

namespace sabrix {

namespace {
// The reference lines of a press on a scale strip: grey (150, 150, 150).
constexpr int32_t kReferenceGrey = 150 + 150 * 256 + 150 * 65536;
}  // namespace

void PlotController::ArmExtremumBox() {
    ctx_.state.overlay.tool = ctx_.view.tool = Tool::Box;
    ctx_.view.cursorName = QString::fromLatin1(ToolCursorName(Tool::Box));
    extremumBox_ = true;
}

void PlotController::ChooseTool(Tool tool) {
    extremumBox_ = false;
    // From the first choice of Select Edits on, the plot's lines merge with what is there.
    if (tool == Tool::Box) ctx_.canvases.picView.Mode = DrawMode::MergePen;
    ctx_.state.overlay.tool = tool;
    ctx_.view.tool = tool;
    ctx_.view.cursorName = QString::fromLatin1(ToolCursorName(tool));
}

void PlotController::cmdLocate_Click() {
    ChooseTool(Tool::Locate);
}

void PlotController::cmdBox_Click() {
    ChooseTool(Tool::Box);
}

void PlotController::cmdZoomBox_Click() {
    ChooseTool(Tool::ZoomBox);
}

void PlotController::cmdMag_Click() {
    ChooseTool(Tool::Magnify);
}

void PlotController::cmdJDZoom_Click() {
    ChooseTool(Tool::JDZoom);
}

void PlotController::cmdMagZoom_Click() {
    ChooseTool(Tool::MagZoom);
}

void PlotController::Stepped(const PlotWindowState& before) {
    // A press or move that left the window as it was is no step to go back from.
    if (!SameWindow(before, ctx_.state.view)) {
        history_.Push(before);
        ctx_.view.previousViewAvailable = true;
    }
    ctx_.Redraw(true);
}

void PlotController::ForgetViews() {
    history_.Clear();
    ctx_.view.previousViewAvailable = false;
}

void PlotController::picView_MouseDown(int button, int shift, double x, double y) {
    const PressDecision decision = DecidePress(ctx_.state.overlay.tool, button, shift);
    if (decision.tool != ctx_.state.overlay.tool) ChooseTool(decision.tool);
    const int step = ZoomStep(shift);
    const PlotWindowState before = ctx_.state.view;
    const auto zoom = [&](bool (*operation)(PlotWindowState&, double, double, int)) {
        if (operation(ctx_.state.view, x, y, step)) Stepped(before);
    };
    switch (decision.action) {
        case PressAction::MagnifyIn:
            zoom(&MagnifyIn);
            break;
        case PressAction::MagnifyOut:
            zoom(&MagnifyOut);
            break;
        case PressAction::JDZoomIn:
            zoom(&JDZoomIn);
            break;
        case PressAction::JDZoomOut:
            zoom(&JDZoomOut);
            break;
        case PressAction::MagZoomIn:
            zoom(&MagZoomIn);
            break;
        case PressAction::MagZoomOut:
            zoom(&MagZoomOut);
            break;
        case PressAction::StartSelectDrag:
        case PressAction::StartZoomDrag:
            drag_ = decision.action == PressAction::StartSelectDrag ? Drag::Select : Drag::Zoom;
            boxStartX_ = boxEndX_ = x;
            boxStartY_ = boxEndY_ = y;
            ctx_.view.rubberBand = std::array<double, 4>{x, y, x, y};
            break;
        case PressAction::Locate:
            if (onLocate && ctx_.Allows(cmd::Finder.needs)) onLocate(x, y);
            break;
        case PressAction::None:
            break;
    }
}

void PlotController::picView_MouseMove(int, int, double x, double y) {
    const Tool tool = ctx_.state.overlay.tool;
    if (drag_ != Drag::None && (tool == Tool::Box || tool == Tool::ZoomBox)) {
        boxEndX_ = x;
        boxEndY_ = y;
        ctx_.view.rubberBand = std::array<double, 4>{boxStartX_, boxStartY_, x, y};
    }
    if (!ctx_.state.star.FileLoaded) return;
    std::tie(ctx_.view.panels[2], ctx_.view.panels[3]) = ctx_.Frame().Readout(x, y, ctx_.state);
}

void PlotController::picView_MouseUp(int, int, double, double) {
    const Tool tool = ctx_.state.overlay.tool;
    if (tool == Tool::ZoomBox && drag_ == Drag::Zoom) {
        drag_ = Drag::None;
        ctx_.view.rubberBand.reset();
        FinishZoomBox(boxStartX_, boxStartY_, boxEndX_, boxEndY_);
        ctx_.state.overlay.tool = ctx_.view.tool = Tool::Locate;
    } else if (tool == Tool::Box && drag_ == Drag::Select && extremumBox_) {
        drag_ = Drag::None;
        extremumBox_ = false;
        ctx_.view.rubberBand.reset();
        ctx_.state.overlay.tool = ctx_.view.tool = Tool::Locate;
        if (onExtremumBox && ctx_.Allows(cmd::TimeOfExtremumInBox.needs))
            onExtremumBox(boxStartX_, boxStartY_, boxEndX_, boxEndY_);
    } else if (tool == Tool::Box && drag_ == Drag::Select) {
        drag_ = Drag::None;
        ctx_.view.rubberBand.reset();
        if (onSelectBox && ctx_.Allows(cmd::BoxFinder.needs))
            onSelectBox(boxStartX_, boxStartY_, boxEndX_, boxEndY_);
        ctx_.state.overlay.tool = ctx_.view.tool = Tool::Locate;
    }
}

void PlotController::FinishZoomBox(double x1, double y1, double x2, double y2) {
    const PlotWindowState before = ctx_.state.view;
    if (ZoomToBox(ctx_.state.view, x1, y1, x2, y2)) {
        Stepped(before);
        return;
    }
    // A box of no width or height selects nothing; the window stays as it was.
    ctx_.Say(QStringLiteral("No records selected."), QStringLiteral("No Selection"), Buttons::OK,
             Icon::Information);
    ctx_.Redraw(false);
}

void PlotController::picJDScale_MouseDown(double x) {
    const PlotWindowState& v = ctx_.state.view;
    ctx_.canvases.picView.Line(x - v.JDFirst, v.WinMagTop, x - v.JDFirst, v.WinMagBottom,
                               kReferenceGrey);
}

void PlotController::picMagScale_MouseDown(double y) {
    const PlotWindowState& v = ctx_.state.view;
    ctx_.canvases.picView.Line(v.WinJDLeft - v.JDFirst, y, v.WinJDRight - v.JDFirst, y,
                               kReferenceGrey);
}

void PlotController::picJDScale_MouseMove(double x) {
    if (!ctx_.state.star.FileLoaded) return;
    ctx_.view.panels[2] = ctx_.Frame().ScaleReadout(x, ctx_.state);
    ctx_.view.panels[3].clear();
}

void PlotController::picMagScale_MouseMove(double y) {
    if (ctx_.state.star.FileLoaded)
        std::tie(ctx_.view.panels[2], ctx_.view.panels[3]) = MagScaleReadout(y);
}

void PlotController::Form_MouseMove() {
    ctx_.view.panels[2].clear();
    ctx_.view.panels[3].clear();
}

void PlotController::WheelZoom(int notches, bool magnitude, double x, double y) {
    if (notches == 0) return;
    const PlotWindowState before = ctx_.state.view;
    WheelZoomAbout(ctx_.state.view, notches, magnitude, x, y);
    // Turning out at the full view changes nothing: nothing to draw.
    if (SameWindow(before, ctx_.state.view)) return;
    Stepped(before);
}

void PlotController::mnuPrevious_Click() {
    const std::optional<PlotWindowState> previous = history_.Pop();
    if (!previous) return;
    ctx_.state.view = *previous;
    ctx_.view.previousViewAvailable = !history_.empty();
    ctx_.Redraw(true);
}

}  // namespace sabrix

// The commands of MainWindowCommands that the mouse and the tool buttons start: choosing a
// tool, presses, drags and moves on the plot and its scale strips, the wheel, and going back
// to the previous view.
#include <tuple>

#include "app/MainWindowCommands.h"
#include "interaction/PlotMouse.h"
#include "interaction/PointerReadout.h"
#include "interaction/ZoomOperations.h"

namespace sabrix {

namespace {
// The reference lines of a press on a scale strip: grey (150, 150, 150).
constexpr int32_t kReferenceGrey = 150 + 150 * 256 + 150 * 65536;
}  // namespace

const WindowView& MainWindowCommands::ChooseTool(Tool tool) {
    // From the first choice of Select Edits on, the plot's lines merge with what is there.
    if (tool == Tool::Box) canvases_.picView.Mode = DrawMode::MergePen;
    state_.overlay.tool = tool;
    view_.tool = tool;
    view_.cursorName = QString::fromLatin1(ToolCursorName(tool));
    return view_;
}

const WindowView& MainWindowCommands::cmdLocate_Click() {
    return Busy() ? view_ : ChooseTool(Tool::Locate);
}

const WindowView& MainWindowCommands::cmdBox_Click() {
    return Busy() ? view_ : ChooseTool(Tool::Box);
}

const WindowView& MainWindowCommands::cmdZoomBox_Click() {
    return Busy() ? view_ : ChooseTool(Tool::ZoomBox);
}

const WindowView& MainWindowCommands::cmdMag_Click() {
    return Busy() ? view_ : ChooseTool(Tool::Magnify);
}

const WindowView& MainWindowCommands::cmdJDZoom_Click() {
    return Busy() ? view_ : ChooseTool(Tool::JDZoom);
}

const WindowView& MainWindowCommands::cmdMagZoom_Click() {
    return Busy() ? view_ : ChooseTool(Tool::MagZoom);
}

void MainWindowCommands::Stepped(const PlotWindowState& before) {
    // A press or move that left the window as it was is no step to go back from.
    if (!SameWindow(before, state_.view)) {
        history_.Push(before);
        view_.previousViewAvailable = true;
    }
    Redraw(true);
}

void MainWindowCommands::ForgetViews() {
    history_.Clear();
    view_.previousViewAvailable = false;
}

const WindowView& MainWindowCommands::picView_MouseDown(int button, int shift, double x, double y) {
    if (!PlotShown()) return view_;
    const PressDecision decision = DecidePress(state_.overlay.tool, button, shift);
    if (decision.tool != state_.overlay.tool) ChooseTool(decision.tool);
    const int step = ZoomStep(shift);
    const PlotWindowState before = state_.view;
    const auto zoom = [&](bool (*operation)(PlotWindowState&, double, double, int)) {
        if (operation(state_.view, x, y, step)) Stepped(before);
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
            view_.rubberBand = std::array<double, 4>{x, y, x, y};
            break;
        case PressAction::Locate:
            Finder(x, y);
            break;
        case PressAction::None:
            break;
    }
    return view_;
}

const WindowView& MainWindowCommands::picView_MouseMove(int, int, double x, double y) {
    if (Busy()) return view_;
    const Tool tool = state_.overlay.tool;
    if (drag_ != Drag::None && (tool == Tool::Box || tool == Tool::ZoomBox)) {
        boxEndX_ = x;
        boxEndY_ = y;
        view_.rubberBand = std::array<double, 4>{boxStartX_, boxStartY_, x, y};
    }
    if (state_.star.FileLoaded)
        std::tie(view_.panels[2], view_.panels[3]) =
            PlotReadout(x, y, state_.view.JDFirst, state_.overlay.CalendarDates);
    return view_;
}

const WindowView& MainWindowCommands::picView_MouseUp(int, int, double, double) {
    if (!PlotShown()) return view_;
    const Tool tool = state_.overlay.tool;
    if (tool == Tool::ZoomBox && drag_ == Drag::Zoom) {
        drag_ = Drag::None;
        view_.rubberBand.reset();
        FinishZoomBox(boxStartX_, boxStartY_, boxEndX_, boxEndY_);
        state_.overlay.tool = view_.tool = Tool::Locate;
    } else if (tool == Tool::Box && drag_ == Drag::Select) {
        drag_ = Drag::None;
        view_.rubberBand.reset();
        BoxFinder(boxStartX_, boxStartY_, boxEndX_, boxEndY_);
        state_.overlay.tool = view_.tool = Tool::Locate;
    }
    return view_;
}

void MainWindowCommands::FinishZoomBox(double x1, double y1, double x2, double y2) {
    const PlotWindowState before = state_.view;
    if (ZoomToBox(state_.view, x1, y1, x2, y2)) {
        Stepped(before);
        return;
    }
    // A box of no width or height selects nothing; the window stays as it was.
    Say(QStringLiteral("No records selected."), QStringLiteral("No Selection"), Buttons::OK,
        Icon::Critical);
    Redraw(false);
}

const WindowView& MainWindowCommands::picJDScale_MouseDown(int, int, double x, double) {
    if (!PlotShown()) return view_;
    const PlotWindowState& v = state_.view;
    canvases_.picView.Line(x - v.JDFirst, v.WinMagTop, x - v.JDFirst, v.WinMagBottom,
                           kReferenceGrey);
    return view_;
}

const WindowView& MainWindowCommands::picMagScale_MouseDown(int, int, double, double y) {
    if (!PlotShown()) return view_;
    const PlotWindowState& v = state_.view;
    canvases_.picView.Line(v.WinJDLeft - v.JDFirst, y, v.WinJDRight - v.JDFirst, y, kReferenceGrey);
    return view_;
}

const WindowView& MainWindowCommands::picJDScale_MouseMove(int, int, double x, double) {
    if (state_.star.FileLoaded)
        std::tie(view_.panels[2], view_.panels[3]) =
            JDScaleReadout(x, state_.overlay.CalendarDates);
    return view_;
}

const WindowView& MainWindowCommands::picMagScale_MouseMove(int, int, double, double y) {
    if (state_.star.FileLoaded) std::tie(view_.panels[2], view_.panels[3]) = MagScaleReadout(y);
    return view_;
}

const WindowView& MainWindowCommands::Form_MouseMove() {
    view_.panels[2].clear();
    view_.panels[3].clear();
    return view_;
}

const WindowView& MainWindowCommands::WheelZoom(int notches, bool magnitude, double x, double y) {
    if (!PlotShown() || notches == 0) return view_;
    const PlotWindowState before = state_.view;
    WheelZoomAbout(state_.view, notches, magnitude, x, y);
    // Turning out at the full view changes nothing: nothing to draw.
    if (SameWindow(before, state_.view)) return view_;
    Stepped(before);
    return view_;
}

const WindowView& MainWindowCommands::mnuPrevious_Click() {
    if (!PlotShown()) return view_;
    const std::optional<PlotWindowState> previous = history_.Pop();
    if (!previous) return view_;
    state_.view = *previous;
    view_.previousViewAvailable = !history_.empty();
    return Redraw(true);
}

}  // namespace sabrix

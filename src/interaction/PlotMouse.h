// SPDX-License-Identifier: GPL-3.0-or-later
// What a press on the plot does: which tool it works with and which operation it starts.
// Mouse codes: button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt, summed.
//
// Outside the three zoom tools (magnify, JD zoom, magnitude zoom) a right press switches to
// box selection and a press with Ctrl alone to the zoom box, which then start their drag;
// otherwise the tool decides: a zoom tool zooms in on a left press and out on a right one
// (another button does nothing), the box tools start their drag, the locate tool locates with
// any button.
#pragma once

#include "core/AppState.h"

namespace sabrix {

enum class PressAction {
    None,
    MagnifyIn,
    MagnifyOut,
    JDZoomIn,
    JDZoomOut,
    MagZoomIn,
    MagZoomOut,
    StartSelectDrag,
    StartZoomDrag,
    Locate,
};

struct PressDecision {
    // The tool after the press.
    Tool tool = Tool::Locate;
    PressAction action = PressAction::None;
};

PressDecision DecidePress(Tool tool, int button, int shift);

// The cursor image of a tool: "XHairs" for locate, "Normal01" for the two box tools,
// "Magnify1", "JDZoom2" and "MagZoom" for the zoom tools.
const char* ToolCursorName(Tool tool);

}  // namespace sabrix

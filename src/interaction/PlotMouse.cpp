// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/PlotMouse.h"

namespace sabrix {

namespace {
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kCtrl = 2;
}  // namespace

PressDecision DecidePress(Tool tool, int button, int shift) {
    PressDecision d{tool, PressAction::None};
    const bool zoomTool = tool == Tool::Magnify || tool == Tool::JDZoom || tool == Tool::MagZoom;
    if (!zoomTool) {
        if (button == kRight) d.tool = Tool::Box;
        if (shift == kCtrl) d.tool = Tool::ZoomBox;
    }
    const auto inOut = [&](PressAction in, PressAction out) {
        if (button == kLeft) d.action = in;
        if (button == kRight) d.action = out;
    };
    switch (d.tool) {
        case Tool::Magnify:
            inOut(PressAction::MagnifyIn, PressAction::MagnifyOut);
            break;
        case Tool::JDZoom:
            inOut(PressAction::JDZoomIn, PressAction::JDZoomOut);
            break;
        case Tool::MagZoom:
            inOut(PressAction::MagZoomIn, PressAction::MagZoomOut);
            break;
        case Tool::Box:
            d.action = PressAction::StartSelectDrag;
            break;
        case Tool::ZoomBox:
            d.action = PressAction::StartZoomDrag;
            break;
        case Tool::Locate:
            d.action = PressAction::Locate;
            break;
    }
    return d;
}

const char* ToolCursorName(Tool tool) {
    switch (tool) {
        case Tool::Box:
        case Tool::ZoomBox:
            return "Normal01";
        case Tool::Magnify:
            return "Magnify1";
        case Tool::JDZoom:
            return "JDZoom2";
        case Tool::MagZoom:
            return "MagZoom";
        case Tool::Locate:
            break;
    }
    return "XHairs";
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/ViewHistory.h"

namespace sabrix {

void ViewHistory::Push(const PlotWindowState& before) {
    views_.push_back(before);
    if (views_.size() > kDepth) views_.pop_front();
}

std::optional<PlotWindowState> ViewHistory::Pop() {
    if (views_.empty()) return std::nullopt;
    PlotWindowState newest = views_.back();
    views_.pop_back();
    return newest;
}

bool SameWindow(const PlotWindowState& a, const PlotWindowState& b) {
    return a.WinJDLeft == b.WinJDLeft && a.WinJDRight == b.WinJDRight &&
           a.WinMagTop == b.WinMagTop && a.WinMagBottom == b.WinMagBottom &&
           a.JDMagnification == b.JDMagnification && a.MagMagnification == b.MagMagnification;
}

}  // namespace sabrix

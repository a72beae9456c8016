// SPDX-License-Identifier: GPL-3.0-or-later
// The windows shown before the last zoom and navigation steps, newest last, for "Previous
// View". At most kDepth are kept; older ones are forgotten first.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "core/AppState.h"

namespace sabrix {

class ViewHistory {
  public:
    static constexpr size_t kDepth = 50;

    // Remembers the window (edges, sizes and factors) as it was before a step.
    void Push(const PlotWindowState& before);
    // The newest remembered window, taken off the history; nothing when it is empty.
    std::optional<PlotWindowState> Pop();
    void Clear() { views_.clear(); }
    bool empty() const { return views_.empty(); }
    size_t size() const { return views_.size(); }

  private:
    std::deque<PlotWindowState> views_;
};

// Whether two states show the same window with the same factors.
bool SameWindow(const PlotWindowState& a, const PlotWindowState& b);

}  // namespace sabrix

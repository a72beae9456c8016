// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/EventPacer.h"

#include <utility>

namespace sabrix {

EventPacer::EventPacer(std::function<void()> yield, std::chrono::nanoseconds interval,
                       std::function<Clock::time_point()> now)
    : yield_(std::move(yield)), interval_(interval), now_(std::move(now)), last_(now_()) {}

void EventPacer::look() {
    if (!yield_) return;
    const Clock::time_point now = now_();
    if (now - last_ < interval_) return;
    ++yields_;
    yield_();
    // Measured after the turn: a slow repaint must not make the loop yield again at once.
    last_ = now_();
}

}  // namespace sabrix

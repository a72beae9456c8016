// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/WheelBurst.h"

namespace sabrix {

bool WheelBurst::Add(int angleDelta, bool magnitude, double x, double y) {
    eighths_ += angleDelta;
    last_.magnitude = magnitude;
    last_.x = x;
    last_.y = y;
    return Queue();
}

std::optional<WheelBurst::Zoom> WheelBurst::Flush(bool busy) {
    queued_ = false;
    if (busy) {
        waitsForJob_ = true;
        return std::nullopt;
    }
    const int notches = eighths_ / kEighthsPerNotch;
    if (notches == 0) return std::nullopt;
    eighths_ -= notches * kEighthsPerNotch;
    Zoom zoom = last_;
    zoom.notches = notches;
    return zoom;
}

bool WheelBurst::JobEnded() {
    if (!waitsForJob_) return false;
    waitsForJob_ = false;
    return Queue();
}

bool WheelBurst::Queue() {
    if (queued_) return false;
    queued_ = true;
    return true;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// Collects the turns of the mouse wheel over the plot so that a burst of them is drawn once.
// A wheel reports its turns in eighths of a degree, 120 to a notch (a fine wheel or a touchpad
// reports parts of one). The window queues one flush on the first turn of a burst; by the
// time the event loop runs it, every turn that came meanwhile has been added, and the flush
// hands out their whole notches at once. While a job runs a flush hands out nothing: the
// turns wait for the end of the job and are drawn then, in one go.
//
// Example: turns of 120, 120 and 60 eighths, then the flush: 2 notches, 60 eighths kept; a
// turn of 60 later and its flush: 1 notch.
#pragma once

#include <optional>

namespace sabrix {

class WheelBurst {
  public:
    static constexpr int kEighthsPerNotch = 120;

    // What a flush draws: notches in (positive) or out about the point (x, y) of the plot's
    // frame, on the magnitude axis or the JD axis.
    struct Zoom {
        int notches = 0;
        bool magnitude = false;
        double x = 0;
        double y = 0;
    };

    // Adds a turn of angleDelta eighths at (x, y); magnitude when it was turned with Ctrl. The
    // last turn's place and axis stand for the whole burst. Returns true when the caller must
    // queue a flush, false when one is queued already.
    bool Add(int angleDelta, bool magnitude, double x, double y);
    // The queued flush runs; busy: a job is running. Returns the zoom to draw; nothing while
    // busy (the turns wait for JobEnded) or when the turns make no whole notch yet (the part
    // is kept for the next turn).
    std::optional<Zoom> Flush(bool busy);
    // The job that was running is over. Returns true when the caller must queue a flush:
    // a flush came while the job ran and handed out nothing.
    bool JobEnded();

  private:
    bool Queue();

    int eighths_ = 0;
    Zoom last_;
    bool queued_ = false;
    bool waitsForJob_ = false;
};

}  // namespace sabrix

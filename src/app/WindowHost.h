// SPDX-License-Identifier: GPL-3.0-or-later
// What the command layer needs of whatever shows it: the main window, or nothing at all on
// the command line.
#pragma once

#include "app/WindowView.h"

namespace sabrix {

class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // Applies the view now, before a question or during a long job.
    virtual void present(const WindowView& view) = 0;
    // Lets the event loop run once: repaints, the progress bar, queued events. Called by long
    // jobs at the pace of EventPacer.
    virtual void yield() = 0;
};

// The host of a run without a window.
class NoWindowHost : public WindowHost {
  public:
    void present(const WindowView&) override {}
    void yield() override {}
};

}  // namespace sabrix

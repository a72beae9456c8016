// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop opener of the windows: QDesktopServices, which hands the address to the
// desktop's launcher (xdg-open or the desktop environment's own).
#pragma once

#include "core/DesktopOpener.h"

namespace sabrix {

class QtDesktopOpener : public DesktopOpener {
  public:
    // Opened when the launcher took the address. When it could not, NoHandler if the desktop
    // has no launcher for the address (no xdg-open, and for a web page no browser named by
    // BROWSER), else Failed.
    Result open(const QUrl& url) override;
};

}  // namespace sabrix

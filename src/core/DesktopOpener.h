// SPDX-License-Identifier: GPL-3.0-or-later
// The door to the desktop's own programs: the default browser, text editor and file manager.
// Commands hand it an address and learn whether something opened it, so tests can record the
// addresses instead of starting programs.
#pragma once

#include <QUrl>

namespace sabrix {

class DesktopOpener {
  public:
    enum class Result {
        // A program of the desktop took the address.
        Opened,
        // The desktop has no program that could open it (no launcher, no browser).
        NoHandler,
        // A program was there but the desktop reported that opening failed.
        Failed,
    };

    virtual ~DesktopOpener() = default;
    // Asks the desktop to open the address (a web page, or a file or folder as a file URL)
    // and returns at once; it does not wait for the program it starts.
    virtual Result open(const QUrl& url) = 0;
};

// The opener of a run without a desktop: opens nothing and says so.
class NoDesktopOpener : public DesktopOpener {
  public:
    Result open(const QUrl&) override { return Result::NoHandler; }
};

}  // namespace sabrix

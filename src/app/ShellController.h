// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that hand a file, a folder or a web address to the desktop's own programs:
// "Documentation" (the user guide in the browser), "View Files" (a file in the text editor),
// "Manage Files" (the files folder in the file manager) and "Download Data File" (the
// download page). A target that the desktop cannot open is said in a message; nothing else
// changes. Until a desktop is set, nothing is opened (the commands say so).
#pragma once

#include <QString>
#include <string>

#include "app/CommandContext.h"
#include "core/DesktopOpener.h"

namespace sabrix {

class ShellController {
  public:
    explicit ShellController(CommandContext& context) : ctx_(context) {}

    // The desktop and where the user guide is. The opener must outlive the commands.
    void setDesktop(DesktopOpener& opener, std::string userGuide);

    // Documentation also clears status panel 1; View Files asks for the file first (cancel
    // opens nothing); Download Data File opens DownloadPageAddress() through OpenURL.
    void mnuDocs_Click();
    void mnuViewer_Click();
    void mnuManage_Click();
    void mnuWebSite_Click();
    // Opens the address in the default browser: "Could not find associated Browser" when the
    // desktop has nothing to open it with, "Web Page not Opened" when opening failed.
    void OpenURL(const QString& url);

  private:
    // Opens a file or folder; when the desktop cannot, says so naming what and where.
    void OpenLocalTarget(const std::string& path, const QString& what, const QString& title);

    CommandContext& ctx_;
    NoDesktopOpener noDesktop_;
    DesktopOpener* desktop_ = &noDesktop_;
    std::string userGuide_;
};

}  // namespace sabrix

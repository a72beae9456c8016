// SPDX-License-Identifier: GPL-3.0-or-later
// ShellController: the user guide, the text viewer, the file manager and the data-download
// page.
#include <QUrl>

#include "app/ShellController.h"
#include "core/DownloadPage.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"

namespace sabrix {

void ShellController::setDesktop(DesktopOpener& opener, std::string userGuide) {
    desktop_ = &opener;
    userGuide_ = std::move(userGuide);
}

void ShellController::OpenLocalTarget(const std::string& path, const QString& what,
                                      const QString& title) {
    // A missing target would reach the desktop as an address that opens an error page, or
    // nothing; the user learns the same from the message.
    const bool there = FileExists(path) || FolderExists(path);
    if (there &&
        desktop_->open(QUrl::fromLocalFile(DisplayText(path))) == DesktopOpener::Result::Opened)
        return;
    ctx_.Say(
        what + QStringLiteral(" ") + DisplayText(path) + QStringLiteral(" could not be opened."),
        title, Buttons::OK, Icon::Exclamation);
}

void ShellController::mnuDocs_Click() {
    OpenLocalTarget(userGuide_, QStringLiteral("The user guide"), QStringLiteral("Documentation"));
    ctx_.view.panels[0].clear();
}

void ShellController::mnuViewer_Click() {
    FileDialogOptions options;
    options.filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(ctx_.state.settings.FilePath);
    const std::optional<QString> chosen = ctx_.prompts.openFile(options);
    if (!chosen || chosen->isEmpty()) return;
    OpenLocalTarget(PathBytes(*chosen), QStringLiteral("The file"), QStringLiteral("View Files"));
}

void ShellController::mnuManage_Click() {
    const std::string& folder = ctx_.state.star.FilesFolder;
    // The folder is made at start; a user may have removed it since.
    if (!folder.empty() && !FolderExists(folder)) CreateFolder(folder);
    OpenLocalTarget(folder, QStringLiteral("The files folder"), QStringLiteral("Manage Files"));
}

void ShellController::mnuWebSite_Click() {
    OpenURL(DownloadPageAddress());
}

void ShellController::OpenURL(const QString& url) {
    const QUrl address(url, QUrl::StrictMode);
    const DesktopOpener::Result result = address.isValid() && !address.isRelative()
                                             ? desktop_->open(address)
                                             : DesktopOpener::Result::Failed;
    switch (result) {
        case DesktopOpener::Result::Opened:
            break;
        case DesktopOpener::Result::NoHandler:
            ctx_.Say(QStringLiteral("Could not find associated Browser"),
                     QStringLiteral("Browser Not Found"), Buttons::OK, Icon::Exclamation);
            break;
        case DesktopOpener::Result::Failed:
            ctx_.Say(QStringLiteral("Web Page not Opened"), QStringLiteral("URL Failed"),
                     Buttons::OK, Icon::Exclamation);
            break;
    }
}

}  // namespace sabrix

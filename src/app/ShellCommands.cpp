// The commands of MainWindowCommands that hand a file, a folder or a web address to the
// desktop's own programs: the user guide, the text viewer, the file manager and the
// data-download page.
#include <QUrl>

#include "app/MainWindowCommands.h"
#include "core/DownloadPage.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"

namespace sabrix {

void MainWindowCommands::setDesktop(DesktopOpener& opener, std::string userGuide) {
    desktop_ = &opener;
    userGuide_ = std::move(userGuide);
}

void MainWindowCommands::OpenLocalTarget(const std::string& path, const QString& what,
                                         const QString& title) {
    // A missing target would reach the desktop as an address that opens an error page, or
    // nothing; the user learns the same from the message.
    const bool there = FileExists(path) || FolderExists(path);
    if (there &&
        desktop_->open(QUrl::fromLocalFile(DisplayText(path))) == DesktopOpener::Result::Opened)
        return;
    Say(what + QStringLiteral(" ") + DisplayText(path) + QStringLiteral(" could not be opened."),
        title, Buttons::OK, Icon::Exclamation);
}

const WindowView& MainWindowCommands::mnuDocs_Click() {
    if (Busy()) return view_;
    OpenLocalTarget(userGuide_, QStringLiteral("The user guide"), QStringLiteral("Documentation"));
    view_.panels[0].clear();
    return view_;
}

const WindowView& MainWindowCommands::mnuViewer_Click() {
    if (Busy()) return view_;
    FileDialogOptions options;
    options.filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(state_.settings.FilePath);
    const std::optional<QString> chosen = prompts_.openFile(options);
    if (!chosen || chosen->isEmpty()) return view_;
    OpenLocalTarget(PathBytes(*chosen), QStringLiteral("The file"), QStringLiteral("View Files"));
    return view_;
}

const WindowView& MainWindowCommands::mnuManage_Click() {
    if (Busy()) return view_;
    const std::string& folder = state_.star.FilesFolder;
    // The folder is made at start; a user may have removed it since.
    if (!folder.empty() && !FolderExists(folder)) CreateFolder(folder);
    OpenLocalTarget(folder, QStringLiteral("The files folder"), QStringLiteral("Manage Files"));
    return view_;
}

const WindowView& MainWindowCommands::mnuWebSite_Click() {
    return OpenURL(DownloadPageAddress());
}

const WindowView& MainWindowCommands::OpenURL(const QString& url) {
    if (Busy()) return view_;
    const QUrl address(url, QUrl::StrictMode);
    const DesktopOpener::Result result = address.isValid() && !address.isRelative()
                                             ? desktop_->open(address)
                                             : DesktopOpener::Result::Failed;
    switch (result) {
        case DesktopOpener::Result::Opened:
            break;
        case DesktopOpener::Result::NoHandler:
            Say(QStringLiteral("Could not find associated Browser"),
                QStringLiteral("Browser Not Found"), Buttons::OK, Icon::Exclamation);
            break;
        case DesktopOpener::Result::Failed:
            Say(QStringLiteral("Web Page not Opened"), QStringLiteral("URL Failed"), Buttons::OK,
                Icon::Exclamation);
            break;
    }
    return view_;
}

}  // namespace sabrix

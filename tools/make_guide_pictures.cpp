// Takes the pictures of the main window for the user guide, with no display: the window as it
// opens, the window with a star loaded, its button frame, and its three menus.
//   make_guide_pictures STAR_FILE OUT_FOLDER
// Runs in a temporary program folder, so no settings or working database of a user is
// touched; the template is the one beside this tool in the build folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>

#include "app/frmPlot.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"

namespace {

// Every message is answered with its first button; no dialog is ever opened.
class SilentPrompts : public sabrix::Prompts {
  public:
    std::optional<QString> openFile(const sabrix::FileDialogOptions&) override { return {}; }
    std::optional<QString> saveFile(const sabrix::FileDialogOptions&) override { return {}; }
    std::optional<int32_t> chooseColor() override { return {}; }
    std::optional<QString> chooseFolder(const QString&) override { return {}; }

  protected:
    sabrix::Answer showMessage(const QString& text, const QString&, sabrix::Buttons buttons,
                               sabrix::Icon, std::optional<sabrix::Answer> dismissed) override {
        std::fprintf(stderr, "make_guide_pictures: message: %s\n", qPrintable(text));
        return sabrix::DismissedAnswer(buttons, dismissed);
    }
};

bool Save(const QPixmap& picture, const QString& folder, const char* name) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (picture.save(path, "PNG")) return true;
    std::fprintf(stderr, "make_guide_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

QtMessageHandler qtMessages = nullptr;

// Qt's note about a missing runtime folder says nothing about the pictures.
void QuietRuntimeDirNote(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: "))) return;
    if (qtMessages) qtMessages(type, context, text);
}

QPixmap MenuPicture(QMenu* menu) {
    menu->ensurePolished();
    menu->resize(menu->sizeHint());
    return menu->grab();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_guide_pictures STAR_FILE OUT_FOLDER\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qtMessages = qInstallMessageHandler(&QuietRuntimeDirNote);
    QApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[2]);
    try {
        QTemporaryDir home;
        if (!home.isValid()) throw std::runtime_error("cannot create a temporary folder");
        const std::string dir = home.path().toStdString();
        sabrix::AppState state;
        state.settings = sabrix::DefaultSettings(dir);
        sabrix::PrepareWorkingDatabase(dir, state);
        state.overlay.DefaultPointColor = 65535;
        SilentPrompts prompts;
        sabrix::frmPlot window(std::move(state), dir, prompts, sabrix::SettingsSeams{});
        window.endProgram = [](int) {};
        if (!window.Form_Load()) return 1;
        window.resize(900, 600);
        window.show();
        QApplication::processEvents();
        bool saved = Save(window.grab(), out, "window-start.png");

        // The status bar shows the file's path: a copy in the scratch folder shows no path of
        // the build machine.
        const QString star = home.filePath(QStringLiteral("stars/observations.txt"));
        if (!QDir().mkpath(home.filePath(QStringLiteral("stars"))) ||
            !QFile::copy(QString::fromLocal8Bit(argv[1]), star))
            throw std::runtime_error("cannot copy the star file");
        window.LoadStarFile(star.toStdString());
        // The guide shows the window once the rows are in, without the fill's progress.
        window.Apply(window.commands().FinishFill());
        if (!window.state().star.FileLoaded) return 1;
        QApplication::processEvents();
        saved = Save(window.grab(), out, "window.png") && saved;
        saved = Save(window.fraButtons->grab(), out, "buttons.png") && saved;
        saved = Save(MenuPicture(window.mnuFiles), out, "menu-files.png") && saved;
        saved = Save(MenuPicture(window.mnuTools), out, "menu-tools.png") && saved;
        saved = Save(MenuPicture(window.mnuHelp), out, "menu-help.png") && saved;
        window.ShutDown();
        return saved ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_guide_pictures: %s\n", e.what());
        return 1;
    }
}

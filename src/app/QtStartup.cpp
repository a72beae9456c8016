#include "app/QtStartup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "app/CommandLine.h"
#include "app/CommandLineTools.h"
#include "app/QtPrompts.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/SettingsFile.h"
#include "dialogs/frmConfig.h"

namespace sabrix {

namespace {

QtMessageHandler qtMessages = nullptr;

// Qt warns on every run without a desktop session (as root, or under a service) that
// XDG_RUNTIME_DIR is not set or not private, and picks a folder of its own. A run of the
// command line uses no runtime folder; its standard error carries its own messages alone.
void DropRuntimeDirWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: ")) &&
        (text.contains(QLatin1String("XDG_RUNTIME_DIR")) ||
         text.contains(QLatin1String("runtime directory"))))
        return;
    if (qtMessages) qtMessages(type, context, text);
}

}  // namespace

SettingsSeams DefaultSettingsSeams() {
    SettingsSeams seams;
    seams.readSettings = [](const std::string& programDir, Settings& settings) {
        ReadSettings(programDir, settings);
    };
    seams.runConfiguration = [](QWidget* parent, Settings& settings, const std::string& programDir,
                                Prompts& prompts) {
        frmConfig dialog(settings, programDir, prompts, parent);
        dialog.exec();
        return !dialog.endProgramRequested();
    };
    return seams;
}

Startup::Startup(std::string programDir, Prompts& prompts, SettingsSeams seams)
    : programDir_(std::move(programDir)),
      prompts_(prompts),
      seams_(std::move(seams)),
      lock_(programDir_) {}

std::unique_ptr<frmPlot> Startup::Fail(const QString& text, const QString& title, Icon icon) {
    prompts_.message(text, title, Buttons::OK, icon);
    exitCode_ = 1;
    return nullptr;
}

std::unique_ptr<frmPlot> Startup::Open(const std::string& commandLine) {
    // Checked before anything is written: a second copy must not replace the working
    // database that the first one is using.
    if (lock_.tryLock() == InstanceLock::Result::HeldByOther)
        return Fail(lock_.refusalText(), InstanceLock::refusalTitle(), Icon::Exclamation);

    AppState state;
    state.CommandLine = commandLine;
    try {
        if (seams_.readSettings) seams_.readSettings(programDir_, state.settings);
        PrepareWorkingDatabase(programDir_, state);
    } catch (const FatalFileError& e) {
        return Fail(DisplayText(e.what()), e.title(), e.icon());
    } catch (const std::exception& e) {
        return Fail(ModuleErrorText(DisplayText(e.what()), QStringLiteral("Main")),
                    QStringLiteral("Error"), Icon::None);
    }

    if (state.settings.IniMissing) {
        bool confirmed = false;
        try {
            if (seams_.runConfiguration)
                confirmed = seams_.runConfiguration(nullptr, state.settings, programDir_, prompts_);
        } catch (const std::exception& e) {
            prompts_.message(ModuleErrorText(DisplayText(e.what()), QStringLiteral("Main")),
                             QStringLiteral("Error"), Buttons::OK, Icon::None);
        }
        if (!confirmed) {
            try {
                DeleteWorkingDatabase(programDir_);
            } catch (const FatalFileError& e) {
                return Fail(DisplayText(e.what()), e.title(), e.icon());
            }
            exitCode_ = 0;
            return nullptr;
        }
    }

    state.view.JDMagnification = 1.0f;
    state.view.MagMagnification = 1.0f;
    state.overlay.DefaultPointColor = 65535;

    auto window = std::make_unique<frmPlot>(std::move(state), programDir_, prompts_, seams_);
    if (!window->Form_Load()) {
        exitCode_ = window->exitCode();
        return nullptr;
    }
    window->show();
    window->Form_Activate();

    window->resize(TwipsToPixels(kStartWidthTwips), TwipsToPixels(kStartHeightTwips));
    if (QScreen* screen = window->screen()) {
        const QRect area = screen->geometry();
        const QSize outer = window->frameGeometry().size();
        window->move(area.left() + area.width() / 2 - outer.width() / 2,
                     area.top() + area.height() / 2 - outer.height() / 2);
    }
    window->picView->setToolCursor(QStringLiteral("XHairs"));
    return window;
}

int Main(int argc, char** argv) {
    // A write past the user's file-size limit (ulimit -f) then fails like a full disk: the
    // checked writer reports it and removes its temporary file, where the default action of
    // SIGXFSZ would end the program and leave the temporary file behind.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const CommandLineRequest request = ParseCommandLine(args);
    switch (request.kind) {
        case CommandLineRequest::Kind::Help:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        case CommandLineRequest::Kind::Version:
            std::printf("%s\n", VersionText().c_str());
            return 0;
        case CommandLineRequest::Kind::Invalid:
            std::fputs(
                TerminalMessage({}, request.problem + " (sabrix --help shows the usage)").c_str(),
                stderr);
            return 2;
        case CommandLineRequest::Kind::Render:
        case CommandLineRequest::Kind::Convert: {
            // No window and no display: fonts and images still need a GUI application.
            if (std::getenv("QT_QPA_PLATFORM") == nullptr)
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
            qtMessages = qInstallMessageHandler(&DropRuntimeDirWarning);
            QGuiApplication app(argc, argv);
            return request.kind == CommandLineRequest::Kind::Render
                       ? RunRender(request.render, ProgramDirectory(), std::cout, std::cerr)
                       : RunConvert(request.convert, ProgramDirectory(), std::cout, std::cerr);
        }
        case CommandLineRequest::Kind::Gui:
            break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sabrix"));
    QApplication::setApplicationVersion(QStringLiteral(SABRIX_VERSION_TEXT));
    // The desktop matches the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("sabrix"));
    // The run ends through ShutDown alone; the main window is hidden while the
    // configuration dialog is open, which must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPrompts prompts;
    Startup startup(ProgramDirectory(), prompts, DefaultSettingsSeams());
    std::unique_ptr<frmPlot> window = startup.Open(request.commandLine);
    if (!window) return startup.exitCode();
    prompts.setParent(window.get());
    // The window shows and keeps the file's full path, as after choosing it in the dialog.
    if (!request.fileToLoad.empty()) {
        window->LoadStarFile(
            std::filesystem::absolute(request.fileToLoad).lexically_normal().string());
        if (request.view && !window->isShutDown())
            window->Apply(window->commands().ShowWindow(request.view->jdLeft, request.view->jdRight,
                                                        request.view->magTop,
                                                        request.view->magBottom));
    }
    // A load can end the run (a working database that cannot be replaced).
    if (window->isShutDown()) return window->exitCode();
    const int code = QApplication::exec();
    return code != 0 ? code : window->exitCode();
}

}  // namespace sabrix

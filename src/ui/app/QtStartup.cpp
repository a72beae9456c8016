// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/QtStartup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <tuple>
#include <vector>

#include "app/BatchPeriodogram.h"
#include "app/CommandLine.h"
#include "app/CommandLineTools.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/RuntimeFolder.h"
#include "core/SettingsFile.h"
#include "data/FileKindGuess.h"
#include "interaction/SideWindowPlace.h"
#include "ui/analysis/QtPeriodDialogs.h"
#include "ui/app/QtPrompts.h"
#include "ui/dialogs/frmConfig.h"

namespace sabrix {

namespace {

// The application of a run with the window. Every command catches what it throws; what still
// reaches the event loop ends the run, and the working database is closed first.
class GuardedApplication : public QApplication {
  public:
    using QApplication::QApplication;
    std::function<void(const char* what)> escaped;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            if (escaped) escaped(e.what());
        } catch (...) {
            if (escaped) escaped("unknown failure");
        }
        return false;
    }
};

QtMessageHandler qtMessages = nullptr;

// The application object has just taken the user's locale for the whole process. Every number
// the program writes or reads goes through the locale-free conversions already; this keeps any
// C library call and any widget that shows a number on "." and no grouping as well.
void KeepNumbersLocaleFree() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

constexpr const char* kNoDisplay =
    "sabrix: no display (use --render, --convert or --periodogram without one)\n";

// While the window's application object starts, Qt's notes about the display are held back:
// when no display can be reached, Qt ends the process with advice about reinstalling it, and
// the user is told the real reason alone. Once the application runs, they are passed on.
bool startingDisplay = false;
std::vector<std::tuple<QtMsgType, QString>> heldBack;

void NoDisplayInsteadOfAbort(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    if (startingDisplay && type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(1);
    }
    if (startingDisplay) {
        heldBack.emplace_back(type, text);
        return;
    }
    if (qtMessages) qtMessages(type, context, text);
}

bool DisplayNamed() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return true;
    return false;
}

// Keeps the whole frame of the window inside its screen's available area once the window
// manager has framed it (its frame then larger than its inside; at most a few seconds after it
// is shown): placed before that, its frame's size was only assumed.
void KeepFrameInsideOnceFramed(QWidget* window) {
    constexpr int kCheckMilliseconds = 50;
    constexpr int kMostChecks = 60;
    auto* timer = new QTimer(window);
    QObject::connect(timer, &QTimer::timeout, window, [window, timer, checks = 0]() mutable {
        const QSize margins = window->frameGeometry().size() - window->size();
        if (margins == QSize(0, 0) && ++checks < kMostChecks) return;
        timer->stop();
        timer->deleteLater();
        QScreen* screen = window->screen();
        if (!screen || window->isMaximized() || window->isFullScreen()) return;
        const QRect frame = window->frameGeometry();
        const QRect inside = FrameInside(frame, screen->availableGeometry());
        if (inside == frame) return;
        window->resize(inside.size() - margins);
        window->move(inside.topLeft());
    });
    timer->start(kCheckMilliseconds);
}

}  // namespace

SettingsSeams DefaultSettingsSeams() {
    SettingsSeams seams;
    seams.readSettings = [](const std::string& programDir, Settings& settings) {
        ReadSettings(programDir, settings);
    };
    seams.replacedSettings = [](const std::string& programDir) {
        Settings settings;
        std::vector<std::string> replaced;
        ReadSettings(programDir, settings, &replaced);
        return replaced;
    };
    seams.runConfiguration = [](QWidget* parent, Settings& settings, const std::string& programDir,
                                Prompts& prompts) {
        frmConfig dialog(settings, programDir, prompts, parent);
        dialog.exec();
        return !dialog.endProgramRequested();
    };
    seams.readLayout = ReadRememberedLayout;
    seams.writeLayout = [](const std::string& programDir, const RememberedLayout& layout) {
        WriteRememberedLayout(programDir, layout);
    };
    return seams;
}

Startup::Startup(std::string programDir, Prompts& prompts, SettingsSeams seams)
    : programDir_(std::move(programDir)),
      prompts_(prompts),
      seams_(std::move(seams)),
      lock_(programDir_) {}

void Startup::setHandOff(QString socketPath, std::string file) {
    handOffSocket_ = std::move(socketPath);
    fileToHandOff_ = std::move(file);
}

std::unique_ptr<frmPlot> Startup::Fail(const QString& text, const QString& title, Icon icon) {
    prompts_.message(text, title, Buttons::OK, icon);
    exitCode_ = 1;
    return nullptr;
}

std::unique_ptr<frmPlot> Startup::Open(const std::string& commandLine) {
    // Checked before anything is written: a second copy must not replace the working
    // database that the first one is using.
    if (lock_.tryLock() == InstanceLock::Result::HeldByOther) {
        if (!fileToHandOff_.empty() && HandOffFile(handOffSocket_, fileToHandOff_)) {
            exitCode_ = 0;
            return nullptr;
        }
        return Fail(lock_.refusalText(), InstanceLock::refusalTitle(), Icon::Exclamation);
    }
    // Listening from here on: a file handed over while the first configuration is open waits
    // for the window.
    if (!handOffSocket_.isEmpty()) {
        handOffServer_ = std::make_unique<FileHandOffServer>(handOffSocket_);
        QObject::connect(handOffServer_.get(), &FileHandOffServer::fileReceived,
                         [this](const QByteArray& message) {
                             handedFiles_.add(ReadHandOffMessage(message.toStdString()));
                         });
        handOffServer_->listen();
    }

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

    if (!state.settings.IniMissing && seams_.replacedSettings) {
        std::string keys;
        for (const std::string& key : seams_.replacedSettings(programDir_))
            keys += (keys.empty() ? "" : ", ") + key;
        if (!keys.empty())
            prompts_.message(
                QStringLiteral("The settings file ") + DisplayText(SettingsFilePath(programDir_)) +
                    QStringLiteral(" gave no value that could be read for ") + DisplayText(keys) +
                    QStringLiteral(". These settings take their first-start values "
                                   "until the configuration is saved."),
                QStringLiteral("Sabrix"), Buttons::OK, Icon::Exclamation);
    }
    if (state.settings.IniMissing) {
        if (!firstDataFolder_.empty()) state.settings.FilePath = firstDataFolder_;
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
    const RememberedLayout layout =
        seams_.readLayout ? seams_.readLayout(programDir_) : RememberedLayout{};
    if (QScreen* screen = window->screen()) {
        // Inside the part of the screen that panels leave free, smaller when the screen is:
        // at a large scale factor the whole window, menu bar included, stays in sight. Where
        // it was last, when that is on a screen still.
        // The window manager may not have framed the window yet: then a likely frame is
        // counted, and the window is placed again once its frame is known.
        const QSize margins =
            FrameMarginsToPlaceBy(window->frameGeometry().size() - window->size());
        const QRect frame =
            layout.mainWindow
                ? RestoredFrame(
                      QRect(layout.mainWindow->topLeft(), layout.mainWindow->size() + margins),
                      ScreenAreas())
                : MainWindowFrame(window->size() + margins, screen->availableGeometry());
        window->resize(frame.size() - margins);
        window->move(frame.topLeft());
        KeepFrameInsideOnceFramed(window.get());
    }
    window->restoreLayout(layout);
    window->picView->setToolCursor(QStringLiteral("XHairs"));
    handedFiles_.setWindow(window.get());
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
        case CommandLineRequest::Kind::Convert:
        case CommandLineRequest::Kind::Periodogram:
        case CommandLineRequest::Kind::Minimum: {
            // No window and no display: fonts and images still need a GUI application.
            if (std::getenv("QT_QPA_PLATFORM") == nullptr)
                setenv("QT_QPA_PLATFORM", "offscreen", 1);
            EnsureRuntimeFolder();
            QGuiApplication app(argc, argv);
            KeepNumbersLocaleFree();
            if (request.kind == CommandLineRequest::Kind::Minimum)
                return RunMinimum(request.minimum, ProgramDirectory(), std::cout, std::cerr);
            if (request.kind == CommandLineRequest::Kind::Periodogram && request.periodogram.batch)
                return RunPeriodogramBatch(request.periodogram, std::cout, std::cerr);
            if (request.kind == CommandLineRequest::Kind::Periodogram)
                return RunPeriodogram(request.periodogram, ProgramDirectory(), std::cout,
                                      std::cerr);
            return request.kind == CommandLineRequest::Kind::Render
                       ? RunRender(request.render, ProgramDirectory(), std::cout, std::cerr)
                       : RunConvert(request.convert, ProgramDirectory(), std::cout, std::cerr);
        }
        case CommandLineRequest::Kind::Gui:
            break;
    }

    const std::string file =
        request.fileToLoad.empty()
            ? std::string()
            : std::filesystem::absolute(request.fileToLoad).lexically_normal().string();
    // Read as a dropped file would be, unless the command line says what it is.
    const ObservationFileKind kind =
        file.empty() ? ObservationFileKind::StarFile
                     : request.load.kind.value_or(GuessObservationFileKind(file));
    if (request.load.timeOffset && kind != ObservationFileKind::ThreeColumnFile) {
        std::fputs(TerminalMessage(file,
                                   "--time-offset is for three-column files; this one is "
                                   "read as a star file.")
                       .c_str(),
                   stderr);
        return 1;
    }
    if (!DisplayNamed()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    const std::string runtimeFolder = EnsureRuntimeFolder();
    qtMessages = qInstallMessageHandler(&NoDisplayInsteadOfAbort);
    startingDisplay = true;
    GuardedApplication app(argc, argv);
    KeepNumbersLocaleFree();
    startingDisplay = false;
    for (const auto& [type, text] : heldBack) qt_message_output(type, QMessageLogContext(), text);
    heldBack.clear();
    QApplication::setApplicationName(QStringLiteral("Sabrix"));
    QApplication::setApplicationVersion(QStringLiteral(SABRIX_VERSION_TEXT));
    // The desktop matches the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("sabrix"));
    // The run ends through ShutDown alone; the main window is hidden while the
    // configuration dialog is open, which must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPrompts prompts;
    const std::string programDir = ProgramDirectory();
    Startup startup(programDir, prompts, DefaultSettingsSeams());
    startup.setFirstDataFolder(ChooseFirstDataFolder(
        CurrentProgramDirSources(),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString()));
    startup.setHandOff(HandOffSocketPath(runtimeFolder, programDir),
                       file.empty() ? file : HandOffMessage(file, request));
    std::unique_ptr<frmPlot> window = startup.Open(request.commandLine);
    if (!window) return startup.exitCode();
    prompts.setParent(window.get());
    // The window shows and keeps the file's full path, as after choosing it in the dialog.
    if (!file.empty()) {
        if (kind == ObservationFileKind::ThreeColumnFile)
            window->LoadThreeColumnFile(file, request.load.timeOffset);
        else
            window->LoadStarFile(file);
        if (request.view && !window->isShutDown()) ShowCommandLineView(*window, *request.view);
    }
    // A load can end the run (a working database that cannot be replaced).
    if (window->isShutDown()) return window->exitCode();
    app.escaped = [&window](const char* what) {
        std::fprintf(stderr, "sabrix: %s\n", what);
        window->endProgram = [](int) { QCoreApplication::exit(1); };
        window->ShutDown();
    };
    const int code = QApplication::exec();
    return code != 0 ? code : window->exitCode();
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the pictures of the main window for the user guide, with no display: the window as it
// opens, the window with a star loaded, its button frame, its three menus, the band panel with
// every band and with one band alone, the window with a three-column file loaded, the period
// search window of that file and its phase plot.
//   make_guide_pictures STAR_FILE THREE_COLUMN_FILE OUT_FOLDER
// Runs in a temporary program folder, so no settings or working database of a user is
// touched; the template is the one beside this tool in the build folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QMenu>
#include <QPixmap>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>

#include "analysis/PeriodDialogs.h"
#include "core/RuntimeFolder.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "ui/analysis/frmPeriodogram.h"
#include "ui/app/frmPlot.h"

namespace {

// Every message is answered with its first button; no dialog is ever opened. Messages other
// than the question before a load are printed.
class SilentPrompts : public sabrix::Prompts {
  public:
    std::optional<QString> openFile(const sabrix::FileDialogOptions&) override { return {}; }
    std::optional<QString> saveFile(const sabrix::FileDialogOptions&) override { return {}; }
    std::optional<int32_t> chooseColor() override { return {}; }
    std::optional<QString> chooseFolder(const QString&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return {};
    }

  protected:
    sabrix::Answer showMessage(const QString& text, const QString&, sabrix::Buttons buttons,
                               sabrix::Icon, std::optional<sabrix::Answer>) override {
        // The question before the second load ("Unload current star ...?") is expected.
        if (buttons == sabrix::Buttons::OKCancel) return sabrix::Answer::OK;
        std::fprintf(stderr, "make_guide_pictures: message: %s\n", qPrintable(text));
        return buttons == sabrix::Buttons::OK ? sabrix::Answer::OK : sabrix::Answer::Yes;
    }
};

bool Save(const QPixmap& picture, const QString& folder, const char* name) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (picture.save(path, "PNG")) return true;
    std::fprintf(stderr, "make_guide_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

// Shows the texts of the window with the scratch folder written as the home folder "~", so
// that the pictures show the paths of a user's files, the same on every machine.
void ShowAtHome(sabrix::frmPlot& window, const QString& scratch) {
    sabrix::WindowView view = window.commands().view();
    const auto atHome = [&scratch](QString& text) { text.replace(scratch, QStringLiteral("~")); };
    atHome(view.starLabel);
    for (QString& panel : view.panels) atHome(panel);
    for (QString& file : view.recentFiles) atHome(file);
    window.Apply(view);
    QApplication::processEvents();
}

QPixmap MenuPicture(QMenu* menu) {
    menu->ensurePolished();
    menu->resize(menu->sizeHint());
    return menu->grab();
}

// The offscreen platform says of every window raised or sized that it cannot do so; those
// lines are no news in the build's output. Every other message goes on as Qt would print it.
QtMessageHandler qtHandler = nullptr;

void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (qtHandler)
        qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_guide_pictures STAR_FILE THREE_COLUMN_FILE OUT_FOLDER\n");
        return 2;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    sabrix::EnsureRuntimeFolder();
    qtHandler = qInstallMessageHandler(QuietOffscreen);
    QApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[3]);
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

        // Copies named as a user's files would be, in the scratch folder: the status bar, the
        // star label and the recent files then show them as "~/stars/...".
        const auto copy = [&home](const char* from, const char* name) {
            const QString path = home.filePath(QStringLiteral("stars/") + QLatin1String(name));
            if (!QDir().mkpath(home.filePath(QStringLiteral("stars"))) ||
                !QFile::copy(QString::fromLocal8Bit(from), path))
                throw std::runtime_error("cannot copy " + std::string(from));
            return path.toStdString();
        };
        window.LoadStarFile(copy(argv[1], "asassn-v-j0600.txt"));
        // The guide shows the window once the rows are in, without the fill's progress.
        window.Apply(window.commands().Run(sabrix::cmd::FinishFill));
        if (!window.state().star.FileLoaded) return 1;
        ShowAtHome(window, home.path());
        saved = Save(window.grab(), out, "window.png") && saved;
        saved = Save(window.fraButtons->grab(), out, "buttons.png") && saved;
        saved = Save(MenuPicture(window.mnuFiles), out, "menu-files.png") && saved;
        saved = Save(MenuPicture(window.mnuTools), out, "menu-tools.png") && saved;
        saved = Save(MenuPicture(window.mnuHelp), out, "menu-help.png") && saved;

        // The band panel beside the plot, with every band shown and then with V alone.
        window.resize(1100, 600);
        window.dckBands->show();
        QApplication::processEvents();
        window.Apply(window.commands().Run(sabrix::cmd::cmdReset_Click));
        ShowAtHome(window, home.path());
        saved = Save(window.grab(), out, "band-panel.png") && saved;
        window.Apply(window.commands().Run(sabrix::cmd::lstBands_DblClick, "V"));
        ShowAtHome(window, home.path());
        saved = Save(window.grab(), out, "one-band.png") && saved;
        window.dckBands->hide();
        window.resize(900, 600);
        QApplication::processEvents();

        // The survey's times are HJD - 2450000: the scale shows them with the offset added.
        window.Apply(window.commands().Run(sabrix::cmd::LoadThreeColumnFile,
                                           copy(argv[2], "survey.dat"), 2450000));
        if (!window.state().star.ThreeColumnFormat) return 1;
        ShowAtHome(window, home.path());
        saved = Save(window.grab(), out, "three-column.png") && saved;

        // The period search of the three-column file with the dialog's defaults, then the phase
        // plot of its highest peak, as a double-click in the table draws it.
        sabrix::PeriodSearchFields fields;
        fields.range = sabrix::PeriodRangeFields{QStringLiteral("2"), QStringLiteral("400"),
                                                 QStringLiteral("10")};
        window.commands().Run(sabrix::cmd::PeriodSearch, fields);
        auto* search = window.findChild<sabrix::frmPeriodogram*>();
        if (!search) throw std::runtime_error("the period search window did not open");
        search->resize(760, 640);
        // The table has the focus, as after a click in it: the chosen peak's cell then shows
        // its focus frame in every run, not only in those where the window came up active.
        search->activateWindow();
        auto* peaks = search->findChild<QTableWidget*>(QStringLiteral("tblPeaks"));
        if (!peaks) throw std::runtime_error("the period search window has no peak table");
        peaks->setFocus();
        for (int turn = 0; turn < 200 && !peaks->hasFocus(); ++turn) {
            QApplication::processEvents();
            QThread::msleep(5);
        }
        // The word-wrapped model text takes its height over later turns of the event loop;
        // grabbed earlier, it came out clipped in some runs.
        for (int turn = 0; turn < 20; ++turn) {
            if (search->layout()) search->layout()->activate();
            QApplication::processEvents();
            QThread::msleep(5);
        }
        saved = Save(search->grab(), out, "period-search.png") && saved;
        window.Apply(window.commands().Run(
            sabrix::cmd::PeriodWindowEvent,
            sabrix::PeriodogramEvent{.kind = sabrix::PeriodogramEvent::Kind::FoldPeak, .peak = 0}));
        ShowAtHome(window, home.path());
        saved = Save(window.grab(), out, "phase-plot.png") && saved;
        window.ShutDown();
        return saved ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_guide_pictures: %s\n", e.what());
        return 1;
    }
}

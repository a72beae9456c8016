// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <filesystem>

#include "core/FileSystem.h"
#include "support/ModalDialog.h"
#include "support/PlotWindowFixture.h"
#include "ui/app/QtStartup.h"
#include "ui/dialogs/frmConfig.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

// A program folder and seams that record the order of the start-up steps.
struct StartupFixture {
    explicit StartupFixture(bool withTemplate = true, bool iniPresent = true)
        : dir(withTemplate), iniPresent(iniPresent) {}

    std::unique_ptr<frmPlot> Open(const std::string& commandLine = "") {
        SettingsSeams s;
        s.readSettings = [this](const std::string&, Settings& settings) {
            calls.push_back("read");
            settings.IniMissing = !iniPresent;
            settings.FilePath = "/data";
        };
        s.runConfiguration = [this](QWidget* parent, Settings& settings, const std::string&,
                                    Prompts&) {
            calls.push_back(parent ? "configure over a window" : "configure");
            offeredDataFolder = settings.FilePath;
            if (AnyMainWindow()) calls.push_back("a window was open");
            settings.IniMissing = !confirm;
            return confirm;
        };
        startup = std::make_unique<Startup>(dir.path(), prompts, s);
        if (!firstDataFolder.empty()) startup->setFirstDataFolder(firstDataFolder);
        std::unique_ptr<frmPlot> window = startup->Open(commandLine);
        if (window) window->endProgram = [](int) {};
        return window;
    }

    static bool AnyMainWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmPlot*>(w)) return true;
        return false;
    }

    test::TempProgramDir dir;
    bool iniPresent;
    bool confirm = true;
    test::ScriptedPrompts prompts;
    std::vector<std::string> calls;
    std::string firstDataFolder;
    std::string offeredDataFolder;
    std::unique_ptr<Startup> startup;
};

TEST(Startup, MissingTemplateShowsItsMessageAndEndsBeforeAnyWindow) {
    StartupFixture f(false, false);
    EXPECT_EQ(f.Open(), nullptr);
    EXPECT_EQ(f.startup->exitCode(), 1);
    EXPECT_EQ(f.prompts.messages,
              (std::vector<test::RecordedMessage>{
                  {QString::fromStdString("Database template " + f.dir.file("Template97.db") +
                                          " missing."),
                   "File Missing", Buttons::OK, Icon::Critical}}));
    EXPECT_EQ(f.calls, std::vector<std::string>{"read"});
    EXPECT_FALSE(StartupFixture::AnyMainWindow());
}

TEST(Startup, OpensTheEmptyWindowCentredOverAFreshWorkingDatabase) {
    StartupFixture f;
    test::WriteFileBytes(f.dir.file("Sabrix97.db"), "left by a crashed run");
    std::unique_ptr<frmPlot> window = f.Open("/alwayssave");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(f.prompts.messages.empty());
    EXPECT_EQ(f.calls, std::vector<std::string>{"read"});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(791, 590));
    const QPoint off = window->frameGeometry().center() - window->screen()->geometry().center();
    EXPECT_LE(off.manhattanLength(), 2);
    EXPECT_EQ(window->picView->toolCursorName(), QString("XHairs"));
    test::ExpectEmptyLook(*window);
    const AppState& s = window->state();
    EXPECT_EQ(s.CommandLine, "/alwayssave");
    EXPECT_EQ(s.settings.FilePath, "/data");
    EXPECT_EQ(s.overlay.DefaultPointColor, 65535);
    EXPECT_EQ(s.star.FilesFolder, f.dir.file("files"));
    EXPECT_TRUE(FolderExists(f.dir.file("files")));

    // A second copy on the same folder is refused and leaves the first copy's data alone.
    ObsTable::BulkInserter inserter(test::CommandsTestPeer::Table(window->commands()));
    inserter.add(ObsRow{});
    inserter.commit();
    Startup second(f.dir.path(), f.prompts, {});
    EXPECT_EQ(second.Open(""), nullptr);
    EXPECT_EQ(second.exitCode(), 1);
    ASSERT_EQ(f.prompts.messages.size(), 1u);
    EXPECT_EQ(f.prompts.messages[0].title, QString("Sabrix Already Running"));
    EXPECT_TRUE(f.prompts.messages[0].text.contains(QString::fromStdString(f.dir.path())));
    EXPECT_EQ(window->table()->Count(), 1);

    window->ShutDown();
    EXPECT_FALSE(fs::exists(f.dir.file("Sabrix97.db")));
}

TEST(Startup, FirstStartRunsTheConfigurationBeforeAnyWindowAndItsCancelEndsTheRun) {
    for (bool confirm : {true, false}) {
        StartupFixture f(true, false);
        f.confirm = confirm;
        f.firstDataFolder = "/home/ann/Documents";
        std::unique_ptr<frmPlot> window = f.Open();
        EXPECT_EQ(f.calls, (std::vector<std::string>{"read", "configure"}));
        EXPECT_EQ(f.offeredDataFolder, "/home/ann/Documents");
        EXPECT_EQ(window != nullptr, confirm);
        EXPECT_EQ(f.startup->exitCode(), 0);
        if (window) {
            EXPECT_FALSE(window->state().settings.IniMissing);
            window->ShutDown();
        } else {
            EXPECT_FALSE(StartupFixture::AnyMainWindow());
        }
        EXPECT_FALSE(fs::exists(f.dir.file("Sabrix97.db")));
    }
}

TEST(Startup, DefaultSeamsReadTheSettingsFileAndRunTheConfigurationDialog) {
    test::TempProgramDir dir;
    SettingsSeams seams = DefaultSettingsSeams();
    Settings settings;
    seams.readSettings(dir.path(), settings);
    EXPECT_TRUE(settings.IniMissing);
    test::ScriptedPrompts prompts;
    for (const char* button : {"cmdCancel", "cmdEnter"}) {
        const bool enter = std::string(button) == "cmdEnter";
        bool goesOn = !enter;
        test::WithModalDialog<frmConfig>(
            [&] { goesOn = seams.runConfiguration(nullptr, settings, dir.path(), prompts); },
            [&](frmConfig& dialog) {
                dialog.findChild<QPushButton*>(QLatin1String(button))->click();
            });
        EXPECT_EQ(goesOn, enter);
        EXPECT_EQ(FileExists(dir.file("Sabrix.ini")), enter);
    }
    Settings reread;
    seams.readSettings(dir.path(), reread);
    EXPECT_FALSE(reread.IniMissing);
    EXPECT_EQ(reread.PolyFit, 40);
    EXPECT_EQ(reread.FilePath, dir.path());
}

}  // namespace
}  // namespace sabrix

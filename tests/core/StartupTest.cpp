#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <filesystem>

#include "core/FileSystem.h"
#include "core/QtStartup.h"
#include "dialogs/frmConfig.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

// Seams that record the order of the start-up steps.
struct FakeSettings {
    bool iniPresent = true;
    bool confirm = true;
    std::vector<std::string> calls;
    bool anyWindowDuringConfig = false;
    QWidget* configParent = reinterpret_cast<QWidget*>(1);

    SettingsSeams seams() {
        SettingsSeams s;
        s.readSettings = [this](const std::string&, Settings& settings) {
            calls.push_back("read");
            if (!iniPresent) settings.IniMissing = true;
            settings.FilePath = "/data";
        };
        s.runConfiguration = [this](QWidget* parent, Settings& settings, const std::string&,
                                    Prompts&) {
            calls.push_back("configure");
            configParent = parent;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<frmPlot*>(w) && w->isVisible()) anyWindowDuringConfig = true;
            if (confirm) settings.IniMissing = false;
            return confirm;
        };
        return s;
    }
};

bool AnyMainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmPlot*>(w)) return true;
    return false;
}

TEST(Startup, MissingTemplateShowsItsMessageAndEndsBeforeAnyWindow) {
    test::TempProgramDir dir(false);
    test::ScriptedPrompts prompts;
    FakeSettings settings;
    settings.iniPresent = false;
    Startup startup(dir.path(), prompts, settings.seams());
    EXPECT_EQ(startup.Open(""), nullptr);
    EXPECT_EQ(startup.exitCode(), 1);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(
        prompts.messages[0].text,
        QString::fromStdString("Database template " + dir.file("Template97.db") + " missing."));
    EXPECT_EQ(prompts.messages[0].title, QString("File Missing"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::OK);
    EXPECT_EQ(prompts.messages[0].icon, Icon::Critical);
    EXPECT_EQ(settings.calls, std::vector<std::string>{"read"});
    EXPECT_FALSE(AnyMainWindow());
}

TEST(Startup, OpensTheEmptyMainWindowCentredAtItsStartSize) {
    test::TempProgramDir dir;
    test::WriteFileBytes(dir.file("Sabrix97.db"), "left by a crashed run");
    test::ScriptedPrompts prompts;
    FakeSettings settings;
    Startup startup(dir.path(), prompts, settings.seams());
    std::unique_ptr<frmPlot> window = startup.Open("/alwayssave");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(settings.calls, std::vector<std::string>{"read"});

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString("Sabrix"));
    EXPECT_EQ(window->size(), QSize(791, 590));
    const QRect screen = window->screen()->geometry();
    EXPECT_LE(std::abs(window->frameGeometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(window->frameGeometry().center().y() - screen.center().y()), 1);
    EXPECT_EQ(window->picView->toolCursorName(), QString("XHairs"));
    EXPECT_EQ(window->picView->cursor().shape(), Qt::BitmapCursor);

    EXPECT_TRUE(window->picNorvane->isVisible());
    EXPECT_TRUE(window->cmdLoad->isVisible());
    EXPECT_FALSE(window->picView->isVisible());
    EXPECT_FALSE(window->fraButtons->isVisible());

    const AppState& s = window->state();
    EXPECT_EQ(s.CommandLine, "/alwayssave");
    EXPECT_EQ(s.settings.FilePath, "/data");
    EXPECT_TRUE(s.overlay.StateOK);
    EXPECT_EQ(s.view.JDMagnification, 1.0f);
    EXPECT_EQ(s.view.MagMagnification, 1.0f);
    EXPECT_EQ(s.overlay.DefaultPointColor, 65535);
    EXPECT_EQ(s.star.FilesFolder, dir.file("files"));
    EXPECT_TRUE(FolderExists(dir.file("files")));
    ASSERT_NE(window->table(), nullptr);
    EXPECT_EQ(window->table()->Count(), 0);

    window->endProgram = [](int) {};
    window->ShutDown();
    EXPECT_FALSE(fs::exists(dir.file("Sabrix97.db")));
}

TEST(Startup, FirstStartRunsTheConfigurationBeforeTheWindow) {
    test::TempProgramDir dir;
    test::ScriptedPrompts prompts;
    FakeSettings settings;
    settings.iniPresent = false;
    Startup startup(dir.path(), prompts, settings.seams());
    std::unique_ptr<frmPlot> window = startup.Open("");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(settings.calls, (std::vector<std::string>{"read", "configure"}));
    EXPECT_EQ(settings.configParent, nullptr);
    EXPECT_FALSE(settings.anyWindowDuringConfig);
    EXPECT_FALSE(window->state().settings.IniMissing);
    window->endProgram = [](int) {};
    window->ShutDown();
}

TEST(Startup, FirstStartNotConfirmedEndsWithoutAWindowAndRemovesTheWorkingDatabase) {
    test::TempProgramDir dir;
    test::ScriptedPrompts prompts;
    FakeSettings settings;
    settings.iniPresent = false;
    settings.confirm = false;
    Startup startup(dir.path(), prompts, settings.seams());
    EXPECT_EQ(startup.Open(""), nullptr);
    EXPECT_EQ(startup.exitCode(), 0);
    EXPECT_FALSE(AnyMainWindow());
    EXPECT_FALSE(fs::exists(dir.file("Sabrix97.db")));
}

TEST(Startup, ASecondCopyOnTheSameFolderIsRefusedAndLeavesTheFirstCopysDataAlone) {
    test::TempProgramDir dir;
    test::ScriptedPrompts prompts;
    FakeSettings settings;
    Startup first(dir.path(), prompts, settings.seams());
    std::unique_ptr<frmPlot> window = first.Open("");
    ASSERT_NE(window, nullptr);
    {
        ObsTable::BulkInserter inserter(*window->table());
        inserter.add(ObsRow{});
        inserter.commit();
    }

    Startup second(dir.path(), prompts, settings.seams());
    EXPECT_EQ(second.Open(""), nullptr);
    EXPECT_EQ(second.exitCode(), 1);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, QString("Sabrix Already Running"));
    EXPECT_TRUE(prompts.messages[0].text.contains(QString::fromStdString(dir.path())));
    EXPECT_EQ(window->table()->Count(), 1);

    window->endProgram = [](int) {};
    window->ShutDown();
}

// Presses a button of the configuration dialog once it is open and modal.
void PressInConfigurationDialog(const char* button) {
    QTimer::singleShot(0, [button] {
        auto* dialog = qobject_cast<frmConfig*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>(QLatin1String(button))->click();
    });
}

TEST(Startup, DefaultSeamsReadTheSettingsFileAndRunTheConfigurationDialog) {
    test::TempProgramDir dir;
    SettingsSeams seams = DefaultSettingsSeams();
    Settings settings;
    seams.readSettings(dir.path(), settings);
    EXPECT_TRUE(settings.IniMissing);
    test::ScriptedPrompts prompts;

    PressInConfigurationDialog("cmdCancel");
    EXPECT_FALSE(seams.runConfiguration(nullptr, settings, dir.path(), prompts));
    EXPECT_FALSE(FileExists(dir.file("Sabrix.ini")));

    PressInConfigurationDialog("cmdEnter");
    EXPECT_TRUE(seams.runConfiguration(nullptr, settings, dir.path(), prompts));
    Settings reread;
    seams.readSettings(dir.path(), reread);
    EXPECT_FALSE(reread.IniMissing);
    EXPECT_EQ(reread.PolyFit, 40);
    EXPECT_EQ(reread.FilePath, dir.path());
}

}  // namespace
}  // namespace sabrix

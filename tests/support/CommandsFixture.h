// The main window's commands as the tests drive them, with no window: a temporary program
// folder with a fresh working table and the colours of a first start, three canvases of a
// fixed size, scripted prompts that must all be used by the end of the test, and a host that
// records every view it is shown and lets a test act inside the turns of the event loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MainWindowCommands.h"
#include "app/WindowHost.h"
#include "core/ProgramDir.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "plot/Canvas.h"
#include "plot/PlotWindow.h"
#include "support/CommandsTestPeer.h"
#include "support/DownloadLines.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix::test {

class RecordingHost : public WindowHost {
  public:
    void present(const WindowView& view) override {
        presented.push_back(view);
        Run([&] {
            if (onPresent) onPresent(view);
        });
    }
    void yield() override {
        ++yields;
        Run([&] {
            if (onYield) onYield();
        });
    }

    std::vector<WindowView> presented;
    int yields = 0;
    // Run inside present() and yield(); a command they start cannot reach them again.
    std::function<void(const WindowView&)> onPresent;
    std::function<void()> onYield;

  private:
    void Run(const std::function<void()>& hook) {
        if (inHook_) return;
        inHook_ = true;
        hook();
        inHook_ = false;
    }
    bool inHook_ = false;
};

class CommandsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        AppState state;
        PrepareWorkingDatabase(dir.path(), state);
        state.settings = DefaultSettings(dir.path());
        ApplyDesignLook(picView, picJDScale, picMagScale);
        commands = std::make_unique<MainWindowCommands>(
            std::move(state),
            MainWindowCommands::TableFiles{WorkingDatabasePath(dir.path()),
                                           TemplateDatabasePath(dir.path())},
            prompts, host, MainWindowCommands::Canvases{picView, picJDScale, picMagScale});
        ASSERT_FALSE(commands->OpenWorkingTable().endRun);
    }

    void TearDown() override { EXPECT_EQ(prompts.pending(), 0u); }

    // Loads a star file and waits until its rows are in the table.
    void LoadAndFill(const std::string& path) {
        commands->LoadStarFile(path);
        commands->FinishFill();
    }

    AppState& state() { return CommandsTestPeer::State(*commands); }
    ObserverMarks& marks() { return CommandsTestPeer::Marks(*commands); }
    Bins& bins() { return CommandsTestPeer::BinsOf(*commands); }
    bool& binsShown() { return CommandsTestPeer::BinsShown(*commands); }
    bool& polyShown() { return CommandsTestPeer::PolyShown(*commands); }
    const WindowView& view() const { return commands->view(); }
    ObsTable& table() { return CommandsTestPeer::Table(*commands); }

    std::string WriteFile(const std::string& name, const std::vector<std::string>& lines) {
        WriteFileBytes(dir.file(name), Lines(lines));
        return dir.file(name);
    }

    // The packed colour drawn on picView at an observation's place; -1 outside the view.
    int32_t ColorAt(double jd, double mag) const {
        const QPointF p = picView.toPixel(jd - commands->state().view.JDFirst, mag);
        const int x = static_cast<int>(p.x());
        const int y = static_cast<int>(p.y());
        if (x < 0 || y < 0 || x >= picView.pixelWidth() || y >= picView.pixelHeight()) return -1;
        return picView.pixelColor(x, y);
    }

    TempProgramDir dir;
    ScriptedPrompts prompts;
    RecordingHost host;
    Canvas picView{400, 300};
    Canvas picJDScale{400, 25};
    Canvas picMagScale{25, 300};
    std::unique_ptr<MainWindowCommands> commands;
};

}  // namespace sabrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands as the tests drive them, with no window: a temporary program
// folder with a fresh working table and the colours of a first start, three canvases (of a
// fixed size, or the fixture's own), scripted prompts that must all be used by the end of the
// test, and a host that records every view it is shown and lets a test act inside the turns
// of the event loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
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

// The edges of the plot window: JD left and right, magnitude top and bottom.
struct Edges {
    double left;
    double right;
    double top;
    double bottom;
    bool operator==(const Edges&) const = default;
};

inline void PrintTo(const Edges& e, std::ostream* os) {
    *os << std::fixed << "JD " << e.left << " to " << e.right << ", mag " << e.top << " to "
        << e.bottom;
}

inline Edges EdgesOf(const PlotWindowState& v) {
    return {v.WinJDLeft, v.WinJDRight, v.WinMagTop, v.WinMagBottom};
}

// True when nothing is drawn on the canvas.
inline bool Blank(const Canvas& canvas) {
    for (int y = 0; y < canvas.pixelHeight(); ++y)
        for (int x = 0; x < canvas.pixelWidth(); ++x)
            if (canvas.pixelColor(x, y) != 0) return false;
    return true;
}

// The first-start colours of bands V and R, and a colour no band has.
constexpr int32_t kBandV = 16744448;
constexpr int32_t kBandR = 255;
constexpr int32_t kBlue = 16711680;

class CommandsFixture : public ::testing::Test {
  protected:
    CommandsFixture() : picView(ownView_), picJDScale(ownJDScale_), picMagScale(ownMagScale_) {}
    // Commands drawing on the fixture's own surfaces, which live as long as it does.
    CommandsFixture(Canvas& view, Canvas& jdScale, Canvas& magScale)
        : picView(view), picJDScale(jdScale), picMagScale(magScale) {}

    void SetUp() override {
        AppState state;
        PrepareWorkingDatabase(dir.path(), state);
        state.settings = DefaultSettings(dir.path());
        Prepare(state);
        ApplyDesignLook(picView, picJDScale, picMagScale);
        commands = std::make_unique<MainWindowCommands>(
            std::move(state),
            MainWindowCommands::TableFiles{WorkingDatabasePath(dir.path()),
                                           TemplateDatabasePath(dir.path())},
            prompts, host, MainWindowCommands::Canvases{picView, picJDScale, picMagScale});
        ASSERT_FALSE(commands->Run(cmd::OpenWorkingTable).endRun);
    }
    // The state the commands start with, beyond the first start's colours.
    virtual void Prepare(AppState&) {}

    void TearDown() override { EXPECT_EQ(prompts.pending(), 0u); }

    // Loads a star file and waits until its rows are in the table.
    void LoadAndFill(const std::string& path) {
        commands->Run(cmd::LoadStarFile, path);
        commands->Run(cmd::FinishFill);
    }
    // "Load a File" with the file chosen in its dialog, and the rows waited for.
    void LoadThroughTheMenu(const std::string& path) {
        prompts.file(QString::fromStdString(path));
        commands->Run(cmd::mnuLoad_Click);
        commands->Run(cmd::FinishFill);
    }
    // Three observations of R Leo: a red R-band row between two V-band rows (the first by
    // observer XYZ), after the header line of a download, which is skipped.
    std::string WriteRLeo() {
        return WriteFile(
            "rleo.txt", {kDownloadHeader, DataLine("2454123.5", "9.1", "V", "r leo ", "ABC", "XYZ"),
                         DataLine("2454125.5", "10.5", "R", "r leo "),
                         DataLine("2454130.5", "11.2", "V", "r leo ")});
    }
    // Marks every observation of the observer in blue and draws the plot with the marks.
    void MarkObserver(const std::string& init) {
        table().MarkObserverInIdOrder(init, kBlue, "1", [](double, double) {});
        marks().ObserverMarked = true;
        marks().MarkCount = 1;
        commands->Run(cmd::Redraw, true);
    }

    // The commands' own state, for what no command sets directly.
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

  private:
    Canvas ownView_{400, 300};
    Canvas ownJDScale_{400, 25};
    Canvas ownMagScale_{25, 300};

  protected:
    TempProgramDir dir;
    ScriptedPrompts prompts;
    RecordingHost host;
    Canvas& picView;
    Canvas& picJDScale;
    Canvas& picMagScale;
    std::unique_ptr<MainWindowCommands> commands;
};

}  // namespace sabrix::test

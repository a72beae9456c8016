// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the widget tests build it: a temporary program folder with a prepared
// working database and the colours of a first start, scripted prompts that must all be used
// by the end of the test, and the end of the run recorded instead of quitting the application.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "support/CommandsTestPeer.h"
#include "support/DownloadLines.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"
#include "ui/app/frmPlot.h"

namespace sabrix::test {

// The window showing a plot: the plot pictures, tool buttons and star label, no start page.
inline void ExpectPlotLook(frmPlot& w) {
    for (QWidget* shown : std::initializer_list<QWidget*>{w.picView, w.picJDScale, w.picMagScale,
                                                          w.fraButtons, w.lblStarName})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    for (QWidget* hidden : std::initializer_list<QWidget*>{w.picNorvane, w.Label1, w.Label2,
                                                           w.cmdLoad, w.prgLoad, w.lblPrg})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
}

// The window with nothing loaded: the start page and the load button over an empty table.
inline void ExpectEmptyLook(frmPlot& w) {
    for (QWidget* hidden : std::initializer_list<QWidget*>{w.picView, w.picJDScale, w.picMagScale,
                                                           w.fraButtons, w.prgLoad, w.lblPrg})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_TRUE(w.cmdLoad->isVisible());
    EXPECT_TRUE(w.picNorvane->isVisible());
    EXPECT_EQ(w.lblStarName->text(), QString());
    EXPECT_FALSE(w.state().star.FileLoaded);
    EXPECT_FALSE(w.isBusy());
    ASSERT_NE(w.table(), nullptr);
    EXPECT_EQ(w.table()->Count(), 0);
}

class PlotWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        AppState state;
        PrepareWorkingDatabase(dir.path(), state);
        // The colours a first start offers, so that every band draws in a colour of its own.
        state.settings = DefaultSettings(dir.path());
        SettingsSeams seams;
        seams.runConfiguration = [this](QWidget* parent, Settings& settings, const std::string&,
                                        Prompts&) {
            ++configCalls;
            configParent = parent;
            visibleDuringConfig = window->isVisible();
            filePathSeenByConfig = settings.FilePath;
            return configGoesOn;
        };
        window = std::make_unique<frmPlot>(std::move(state), dir.path(), prompts, seams);
        window->endProgram = [this](int code) { endCodes.push_back(code); };
        ASSERT_TRUE(window->Form_Load());
        window->show();
    }

    void TearDown() override { EXPECT_EQ(prompts.pending(), 0u); }

    // Loads three observations of R Leo through the window, as choosing the file does;
    // returns the file's path.
    std::string LoadStar(bool edited) {
        const std::string path = dir.file("rleo.txt");
        WriteFileBytes(path, Lines({DataLine("2454123.5", "9.1", "V", "R Leo"),
                                    DataLine("2454125.5", "10.5", "R", "R Leo"),
                                    DataLine("2454130.5", "11.2", "V", "R Leo")}));
        window->LoadStarFile(path);
        window->Apply(window->commands().Run(cmd::FinishFill));
        EXPECT_TRUE(window->state().star.FileLoaded);
        CommandsTestPeer::State(window->commands()).star.FileEdited = edited;
        return path;
    }

    // The packed colour drawn on picView at an observation's place; -1 outside the view.
    int32_t ColorAt(double jd, double mag) const {
        const Canvas& canvas = window->picView->canvas();
        const QPointF p = canvas.toPixel(jd - window->state().view.JDFirst, mag);
        const int x = static_cast<int>(p.x());
        const int y = static_cast<int>(p.y());
        if (x < 0 || y < 0 || x >= canvas.pixelWidth() || y >= canvas.pixelHeight()) return -1;
        return canvas.pixelColor(x, y);
    }

    bool WorkingDatabaseExists() const { return std::filesystem::exists(dir.file("Sabrix97.db")); }

    TempProgramDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<frmPlot> window;
    std::vector<int> endCodes;
    int configCalls = 0;
    QWidget* configParent = nullptr;
    bool visibleDuringConfig = true;
    bool configGoesOn = true;
    std::string filePathSeenByConfig;
};

}  // namespace sabrix::test

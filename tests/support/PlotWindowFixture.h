// The main window as the widget tests build it: a temporary program folder with a prepared
// working database, scripted prompts that must all be used by the end of the test, and the
// end of the run recorded instead of quitting the application.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/WorkingDatabase.h"
#include "app/frmPlot.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

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
    EXPECT_TRUE(w.state().overlay.StateOK);
    EXPECT_FALSE(w.isBusy());
    ASSERT_NE(w.table(), nullptr);
    EXPECT_EQ(w.table()->Count(), 0);
}

class PlotWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        AppState state;
        PrepareWorkingDatabase(dir.path(), state);
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

    // What a finished star load leaves behind.
    void PretendStarLoaded(bool edited) {
        AppState& s = window->state();
        s.settings.FilePath = "/data/stars/rleo.txt";
        s.star.StarName = "R Leo";
        s.star.FileLoaded = true;
        s.star.FileEdited = edited;
        s.view.JDMagnification = 4.0f;
        s.view.WinJDLeft = 2450000;
        s.overlay.tool = Tool::Box;
        ObsTable::BulkInserter inserter(*window->table());
        ObsRow row;
        row.JD = 2450000.5;
        row.Mag = 9.0;
        inserter.add(row);
        inserter.commit();
        window->picView->canvas().Line(0, 0, 1, 1, 255);
        window->lblStarName->setText("R Leo - (1 Points)");
        window->setPanelText(1, "File: /data/stars/rleo.txt");
        window->setPanelText(2, "Magnification = 4 X");
        window->ShowPlotView();
        window->cmdLoad->hide();
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

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/WorkingDatabase.h"
#include "core/frmPlot.h"
#include "shell/frmAbout.h"
#include "shell/frmStats.h"
#include "support/PlotWindowFixture.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

using PlotWindow = test::PlotWindowFixture;

const QString kSaveQuestion =
    "You have edited file /data/stars/rleo.txt but have not saved it. Would you like another "
    "chance to save?";

QStringList Captions(const QList<QAction*>& actions) {
    QStringList list;
    for (QAction* a : actions) list << (a->isSeparator() ? QString("-") : a->text());
    return list;
}

TEST_F(PlotWindow, MenuTreeHasItsCaptionsInOrder) {
    EXPECT_EQ(window->windowTitle(), QString("Sabrix"));
    EXPECT_EQ(Captions(window->menuBar()->actions()),
              (QStringList{"Files", "Tools", "Configure", "Help", "Exit"}));
    EXPECT_EQ(Captions(window->mnuFiles->actions()),
              (QStringList{"Load a File", "Save to Star File", "Omit \"fainter thans\"", "-",
                           "Load 3-Column File", "Save 3-Column File", "-", "Exit"}));
    EXPECT_EQ(Captions(window->mnuTools->actions()),
              (QStringList{"Average Values", "Polynomial Fit", "-", "Download Data File (WWW)", "-",
                           "Stats Window", "-", "View Files", "Manage Files"}));
    EXPECT_EQ(Captions(window->mnuHelp->actions()),
              (QStringList{"Documentation", "-", "About Sabrix"}));
    EXPECT_TRUE(window->mnuFaint->isCheckable());
    EXPECT_TRUE(window->mnuStats->isCheckable());
    EXPECT_FALSE(window->mnuLoad->isCheckable());
    for (const char* name :
         {"mnuLoad",    "mnuSave",  "mnuFaint",   "mnuSpacer6", "mnuXYZ",     "mnuSaveXYZ",
          "mnuSpacer7", "mnuExit1", "mnuAvg",     "mnuPoly",    "mnuSpacer3", "mnuWebSite",
          "mnuSpacer5", "mnuStats", "mnuspacer4", "mnuViewer",  "mnuManage",  "mnuConfig",
          "mnuDocs",    "mnuSpace", "mnuAbout",   "mnuExit"})
        EXPECT_NE(window->findChild<QAction*>(name), nullptr) << name;
}

TEST_F(PlotWindow, CommandsNotYetAvailableAreDisabledAndTheRestWork) {
    for (QAction* a : {window->mnuAvg, window->mnuPoly, window->mnuWebSite, window->mnuViewer,
                       window->mnuManage, window->mnuDocs})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    for (QAction* a :
         {window->mnuLoad, window->mnuSave, window->mnuFaint, window->mnuXYZ, window->mnuSaveXYZ,
          window->mnuExit, window->mnuExit1, window->mnuConfig, window->mnuStats, window->mnuAbout})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(window->cmdLoad->isEnabled());
    EXPECT_EQ(window->mnuLoad->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(window->mnuExit1->shortcut(), QKeySequence("Ctrl+Q"));
}

TEST_F(PlotWindow, ToolButtonsCarryTheirTooltipsAndPictures) {
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"cmdZoomBox", "Select Zoom"},
        {"cmdBox", "Select Edits"},
        {"cmdMagZoom", "Expand/Contract Mag"},
        {"cmdJDZoom", "Expand/Contract JD"},
        {"cmdMag", "Zoom In/Out"},
        {"cmdLocate", "Locate Point"},
        {"cmdPoly", "Polynomial Fit"},
        {"cmdBin", "Averages"},
        {"cmdBegin", "Beginning of Plot"},
        {"cmdEnder", "End of Plot"},
        {"cmdBack", "Back"},
        {"cmdForward", "Forward"},
        {"cmdUp", "Brighter"},
        {"CmdDown", "Dimmer"},
        {"cmdRefresh", "Refresh Plot Screen"},
        {"cmdReset", "Reset Plot"}};
    for (const auto& [name, tip] : buttons) {
        auto* button = window->fraButtons->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->toolTip(), QString(tip));
        EXPECT_EQ(button->text(), QString());
        // Only "Reset Plot" works yet; the other tools arrive with navigation and zooming.
        EXPECT_EQ(button->isEnabled(), std::string(name) == "cmdReset") << name;
        EXPECT_EQ(button->size(), QSize(32, 32));
        if (std::string(name) != "cmdReset") {
            EXPECT_FALSE(button->icon().isNull()) << name;
        }
    }
    EXPECT_TRUE(window->cmdReset->icon().isNull());
    EXPECT_TRUE(window->cmdReset->styleSheet().contains("background-color: #e00000"));
    EXPECT_EQ(window->fraButtons->findChildren<QPushButton*>().size(), 16);
    EXPECT_EQ(window->cmdLoad->text(), QString("Load a File"));
}

TEST_F(PlotWindow, OpensInItsEmptyLook) {
    for (const char* name :
         {"picView", "picJDScale", "picMagScale", "staPlot", "prgLoad", "lblPrg", "lblStarName",
          "picNorvane", "Label1", "Label2", "Label3", "lblCopyright", "fraButtons", "cmdLoad"})
        EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_TRUE(window->picNorvane->isVisible());
    EXPECT_TRUE(window->cmdLoad->isVisible());
    EXPECT_TRUE(window->Label1->isVisible());
    EXPECT_EQ(window->Label1->text(), QString("Sabrix"));
    EXPECT_EQ(window->Label2->text(), QString("Plots Variable Star Observations"));
    EXPECT_EQ(window->Label3->text(), QString());
    EXPECT_TRUE(window->lblCopyright->text().startsWith(QChar(169)));
    EXPECT_FALSE(window->picView->isVisible());
    EXPECT_FALSE(window->picJDScale->isVisible());
    EXPECT_FALSE(window->picMagScale->isVisible());
    EXPECT_FALSE(window->fraButtons->isVisible());
    EXPECT_FALSE(window->prgLoad->isVisible());
    EXPECT_EQ(window->picView->canvas().ForeColor, 65535);
    EXPECT_EQ(window->picView->canvas().BackColor, 0);
    EXPECT_EQ(window->picJDScale->canvas().ForeColor, 16777215);
}

TEST_F(PlotWindow, StatusPanelsAreNumberedOneToFour) {
    for (int i = 1; i <= 4; ++i) window->setPanelText(i, QString("panel %1").arg(i));
    window->setPanelText(0, "none");
    window->setPanelText(5, "none");
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(window->panelText(i), QString("panel %1").arg(i));
    EXPECT_EQ(window->panelText(5), QString());
}

TEST_F(PlotWindow, DesignSizeLaysOutThePlotByTheResizeRules) {
    window->resize(622, 393);  // 9330 x 5895 twips
    EXPECT_EQ(window->picView->geometry(), QRect(15, 72, 561, 179));
    EXPECT_EQ(window->picJDScale->width(), 561);
    EXPECT_EQ(window->picMagScale->x(), 577);  // 8648 twips
    EXPECT_EQ(window->picMagScale->height(), 179);
    EXPECT_EQ(window->picView->canvas().pixelWidth(), 561);
    EXPECT_EQ(window->picView->canvas().pixelHeight(), 179);
    EXPECT_EQ(window->fraButtons->y(), 266);  // 3990 twips
    EXPECT_EQ(window->staPlot->geometry().bottom(), window->height() - 1);

    window->resize(622 + 100, 393);
    EXPECT_EQ(window->picView->width(), 661);
    EXPECT_EQ(window->fraButtons->x(), 15 + 50);
}

TEST_F(PlotWindow, CannotBeMadeSmallerThanItsDesignSize) {
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(622, 393));
    EXPECT_GT(window->picView->height(), 0);
}

TEST_F(PlotWindow, ExitWithoutEditsEndsAtOnce) {
    window->mnuExit->trigger();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->table(), nullptr);
}

TEST_F(PlotWindow, ExitWithEditsAndYesKeepsRunning) {
    for (QAction* exitItem : {window->mnuExit, window->mnuExit1}) {
        PretendStarLoaded(true);
        prompts.answer(Answer::Yes);
        exitItem->trigger();
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].text, kSaveQuestion);
        EXPECT_EQ(prompts.messages[0].title, QString("Do You Want to Save?"));
        EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNo);
        EXPECT_EQ(prompts.messages[0].icon, Icon::None);
        EXPECT_TRUE(endCodes.empty());
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(WorkingDatabaseExists());
        EXPECT_EQ(window->table()->Count(), 1);
        prompts.messages.clear();
        ASSERT_TRUE(window->UnloadStar());
    }
}

TEST_F(PlotWindow, ExitFromTheFilesMenuWithEditsAndNoEnds) {
    PretendStarLoaded(true);
    prompts.answer(Answer::No);
    window->mnuExit1->trigger();
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PlotWindow, ClosingWithEditsAndYesKeepsTheWindowOpen) {
    PretendStarLoaded(true);
    prompts.answer(Answer::Yes);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(endCodes.empty());
    EXPECT_TRUE(WorkingDatabaseExists());

    prompts.answer(Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
}

TEST_F(PlotWindow, ClosingAsksEvenWhileAnotherWindowHasClearedStateOK) {
    PretendStarLoaded(true);
    window->state().overlay.StateOK = false;  // as the record list does while it is open
    prompts.answer(Answer::Yes);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(WorkingDatabaseExists());
}

TEST_F(PlotWindow, ShutDownTwiceEndsOnceAndClosesTheOtherWindows) {
    window->mnuStats->trigger();
    ASSERT_TRUE(window->statsWindow()->isVisible());
    window->state().overlay.BinJD = {1, 2};
    window->ShutDown();
    window->ShutDown();
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(window->statsWindow()->isVisible());
    EXPECT_FALSE(window->state().overlay.StateOK);
    EXPECT_TRUE(window->state().overlay.BinJD.empty());
    EXPECT_FALSE(WorkingDatabaseExists());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(window->isShutDown());
}

TEST_F(PlotWindow, UnloadStarReturnsToTheEmptyLookWithAnEmptyTable) {
    PretendStarLoaded(true);
    window->state().overlay.OmitFainter = true;
    window->state().overlay.StatsShown = true;
    ASSERT_TRUE(window->UnloadStar());

    const AppState& s = window->state();
    EXPECT_FALSE(s.star.FileLoaded);
    EXPECT_FALSE(s.star.FileEdited);
    EXPECT_EQ(s.settings.FilePath, "");
    EXPECT_EQ(s.star.StarName, "");
    EXPECT_EQ(s.view.JDMagnification, 1.0f);
    EXPECT_EQ(s.view.WinJDLeft, 0.0);
    EXPECT_FALSE(s.overlay.BoxMode());
    EXPECT_TRUE(s.overlay.OmitFainter);
    EXPECT_TRUE(s.overlay.StatsShown);
    EXPECT_EQ(s.star.FilesFolder, dir.file("files"));

    EXPECT_TRUE(window->picNorvane->isVisible());
    EXPECT_TRUE(window->cmdLoad->isVisible());
    EXPECT_FALSE(window->picView->isVisible());
    EXPECT_FALSE(window->picJDScale->isVisible());
    EXPECT_FALSE(window->picMagScale->isVisible());
    EXPECT_FALSE(window->fraButtons->isVisible());
    EXPECT_FALSE(window->lblPrg->isVisible());
    EXPECT_EQ(window->lblStarName->text(), QString());
    EXPECT_EQ(window->panelText(2), QString());
    EXPECT_EQ(window->panelText(1), QString("File: /data/stars/rleo.txt"));
    EXPECT_EQ(window->picView->canvas().pixelColor(0, 0), 0);

    ASSERT_NE(window->table(), nullptr);
    EXPECT_EQ(window->table()->Count(), 0);
    EXPECT_TRUE(endCodes.empty());
}

TEST_F(PlotWindow, UnloadStarThatCannotReplaceTheWorkingDatabaseEndsCleanly) {
    PretendStarLoaded(false);
    fs::remove(dir.file("Template97.db"));
    EXPECT_FALSE(window->UnloadStar());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(
        prompts.messages[0].text,
        QString::fromStdString("Database template " + dir.file("Template97.db") + " missing."));
    EXPECT_EQ(prompts.messages[0].title, QString("File Missing"));
    EXPECT_EQ(endCodes, std::vector<int>{1});
    EXPECT_EQ(window->exitCode(), 1);
}

TEST_F(PlotWindow, ConfigureWithAStarLoadedAndYesUnloadsAndKeepsItsFolder) {
    PretendStarLoaded(false);
    prompts.answer(Answer::Yes);
    window->mnuConfig->trigger();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              QString("You cannot change the configuration while a file is loaded.\r\n\r\n"
                      "Do you want to unload the file /data/stars/rleo.txt?"));
    EXPECT_EQ(prompts.messages[0].title, QString("Cannot Reconfigure"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(prompts.messages[0].icon, Icon::None);
    EXPECT_EQ(configCalls, 1);
    EXPECT_EQ(configParent, window.get());
    EXPECT_FALSE(visibleDuringConfig);
    EXPECT_EQ(filePathSeenByConfig, "/data/stars/");
    EXPECT_FALSE(window->state().star.FileLoaded);
    EXPECT_EQ(window->table()->Count(), 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PlotWindow, ConfigureWithAStarLoadedAndNoOrCancelChangesNothing) {
    PretendStarLoaded(false);
    for (Answer answer : {Answer::No, Answer::Cancel}) {
        prompts.answer(answer);
        window->mnuConfig->trigger();
        EXPECT_EQ(configCalls, 0);
        EXPECT_TRUE(window->state().star.FileLoaded);
        EXPECT_EQ(window->state().settings.FilePath, "/data/stars/rleo.txt");
        EXPECT_EQ(window->table()->Count(), 1);
        EXPECT_TRUE(window->picView->isVisible());
    }
}

TEST_F(PlotWindow, ConfigureWithoutAStarOpensTheDialogDirectly) {
    window->state().settings.FilePath = "/data/stars";
    window->mnuConfig->trigger();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(configCalls, 1);
    EXPECT_EQ(filePathSeenByConfig, "/data/stars");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(PlotWindow, ConfigureThatEndsTheProgramShutsDown) {
    configGoesOn = false;
    window->mnuConfig->trigger();
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
}

TEST_F(PlotWindow, StatsItemTwiceLeavesTheWindowClosed) {
    window->mnuStats->trigger();
    EXPECT_TRUE(window->mnuStats->isChecked());
    EXPECT_TRUE(window->state().overlay.StatsShown);
    EXPECT_TRUE(window->statsWindow()->isVisible());
    EXPECT_EQ(window->statsWindow()->windowTitle(), QString("Stats for Plot Window"));

    window->mnuStats->trigger();
    EXPECT_FALSE(window->mnuStats->isChecked());
    EXPECT_FALSE(window->state().overlay.StatsShown);
    EXPECT_FALSE(window->statsWindow()->isVisible());
}

TEST_F(PlotWindow, ClosingTheStatsWindowUnchecksTheItemButKeepsItWanted) {
    window->mnuStats->trigger();
    window->statsWindow()->close();
    EXPECT_FALSE(window->mnuStats->isChecked());
    EXPECT_TRUE(window->state().overlay.StatsShown);

    window->mnuStats->trigger();
    EXPECT_TRUE(window->mnuStats->isChecked());
    EXPECT_TRUE(window->state().overlay.StatsShown);
    EXPECT_TRUE(window->statsWindow()->isVisible());
}

TEST_F(PlotWindow, BusyDisablesEveryCommandAndRestoresEachOneAfterwards) {
    window->setBusy(true);
    for (QAction* a : {window->mnuExit, window->mnuConfig, window->mnuStats, window->mnuAbout})
        EXPECT_FALSE(a->isEnabled());
    EXPECT_FALSE(window->fraButtons->isEnabled());
    EXPECT_FALSE(window->picView->isEnabled());
    window->mnuExit_Click();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(endCodes.empty());

    window->setBusy(false);
    EXPECT_TRUE(window->mnuExit->isEnabled());
    EXPECT_TRUE(window->mnuStats->isEnabled());
    EXPECT_TRUE(window->mnuLoad->isEnabled());
    EXPECT_TRUE(window->cmdLoad->isEnabled());
    EXPECT_FALSE(window->mnuAvg->isEnabled());
    EXPECT_TRUE(window->fraButtons->isEnabled());
}

TEST_F(PlotWindow, HideAndShowPlotViewSwitchTheLook) {
    window->ShowPlotView();
    EXPECT_TRUE(window->picView->isVisible());
    EXPECT_TRUE(window->fraButtons->isVisible());
    EXPECT_FALSE(window->picNorvane->isVisible());
    EXPECT_FALSE(window->lblCopyright->isVisible());
    window->HidePlotView();
    EXPECT_FALSE(window->picView->isVisible());
    EXPECT_FALSE(window->lblStarName->isVisible());
    EXPECT_FALSE(window->Label1->isVisible());
    EXPECT_FALSE(window->Label2->isVisible());
    EXPECT_TRUE(window->picNorvane->isVisible());
}

TEST_F(PlotWindow, AboutOpensModallyAndAClickClosesIt) {
    QString version;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        wasModal = about->isModal();
        version = about->Label3->text();
        QTest::mouseClick(about->Label2, Qt::LeftButton);
    });
    window->mnuAbout->trigger();
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(version.startsWith("Sabrix Version "));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(PlotWindow, MovingOverTheBackgroundClearsThePointerReadouts) {
    window->setPanelText(3, "JD 2450000");
    window->setPanelText(4, "Mag 9.1");
    QTest::mouseMove(window->centralWidget(), QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window->centralWidget(), &move);
    EXPECT_EQ(window->panelText(3), QString());
    EXPECT_EQ(window->panelText(4), QString());
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <set>

#include "support/CommandsTestPeer.h"
#include "support/ModalDialog.h"
#include "support/PlotWindowFixture.h"
#include "ui/app/frmPlot.h"
#include "ui/shell/frmAbout.h"
#include "ui/shell/frmStats.h"

namespace sabrix {
namespace {

using PlotWindow = test::PlotWindowFixture;
using test::ExpectEmptyLook;

// The window as it opens: every command available but Previous View, Undo, Redo and Time Plot
// (no view to go back to, no change and no phase plot yet), no recent files listed, the buttons
// ready and the start page shown.
TEST_F(PlotWindow, OpensWithEveryCommandButPreviousViewUndoAndTimePlotAvailableOnItsStartPage) {
    EXPECT_EQ(window->windowTitle(), QString("Sabrix"));
    for (QAction* a : window->findChildren<QAction*>(QRegularExpression("^mnu")))
        if (!a->isSeparator() && !a->menu() && a->isVisible()) {
            const bool nothingYet = a == window->mnuPrevious || a == window->mnuUndo ||
                                    a == window->mnuRedo || a == window->mnuTimePlot;
            EXPECT_EQ(a->isEnabled(), !nothingYet) << a->objectName().toStdString();
        }
    EXPECT_FALSE(window->mnuCalendar->isChecked());
    EXPECT_FALSE(window->mnuSpacerRecent->isVisible());
    for (QAction* item : window->mnuRecent) EXPECT_FALSE(item->isVisible());
    for (QPushButton* button : window->fraButtons->findChildren<QPushButton*>())
        EXPECT_TRUE(button->isEnabled() && !button->toolTip().isEmpty())
            << button->objectName().toStdString();

    ExpectEmptyLook(*window);
    EXPECT_TRUE(window->Label1->isVisible());
    EXPECT_EQ(window->picView->canvas().ForeColor, 65535);
}

TEST_F(PlotWindow, StatusPanelsAreNumberedOneToFourAndThePointerReadoutsClearOffThePlot) {
    const std::string path = LoadStar(false);
    for (int i : {0, 5}) window->setPanelText(i, "not a panel");
    auto moveOver = [](QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    };
    auto panels = [&] {
        QStringList texts;
        for (int i = 0; i <= 5; ++i) texts << window->panelText(i);
        return texts;
    };
    moveOver(window->picView);
    EXPECT_FALSE(window->panelText(3).isEmpty() || window->panelText(4).isEmpty());
    moveOver(window->centralWidget());
    EXPECT_EQ(panels(), (QStringList{"", QString::fromStdString("File: " + path),
                                     "Magnification = 1 X", "", "", ""}));
}

// Clicking Calendar Dates checked the item before the window saw the change, and panel 3 kept
// its width: the date after the JD was cut off.
TEST_F(PlotWindow, WithCalendarDatesPanelThreeShowsTheReadoutWhole) {
    LoadStar(false);
    QLabel* readout = window->findChild<QLabel*>("staPlotPanel3");
    ASSERT_NE(readout, nullptr);
    window->mnuCalendar->trigger();
    QMouseEvent move(QEvent::MouseMove, QPointF(6, 6), QPointF(6, 6), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window->picView, &move);
    ASSERT_TRUE(window->panelText(3).endsWith("UTC")) << window->panelText(3).toStdString();
    EXPECT_GE(readout->minimumWidth(), readout->fontMetrics().horizontalAdvance(readout->text()));
    window->mnuCalendar->trigger();
}

TEST_F(PlotWindow, DesignSizeLaysOutThePlotByTheResizeRulesAndIsTheSmallest) {
    window->resize(100, 100);
    EXPECT_EQ(window->size(), QSize(622, 393));  // 9330 x 5895 twips
    // The plot 8115 twips wide, the magnitude strip from 8348 twips, 675 twips wide.
    EXPECT_EQ(window->picView->geometry(), QRect(15, 72, 541, 179));
    EXPECT_EQ(window->picView->canvas().pixelWidth(), 541);
    EXPECT_EQ(window->picView->canvas().pixelHeight(), 179);
    EXPECT_EQ(window->picJDScale->width(), 541);
    EXPECT_EQ(window->picMagScale->geometry(), QRect(557, 72, 45, 179));
    EXPECT_EQ(window->fraButtons->y(), 266);  // 3990 twips
    EXPECT_EQ(window->staPlot->geometry().bottom(), window->height() - 1);

    window->resize(622 + 100, 393);
    EXPECT_EQ(window->picView->width(), 641);
    EXPECT_EQ(window->fraButtons->x(), 3 + 50);
}

TEST_F(PlotWindow, EditsAskBeforeEndingYesKeepsRunningAndNoEndsWithoutTheWorkingDatabase) {
    const std::string path = LoadStar(true);
    const std::vector<std::function<void()>> ways = {[&] { window->mnuExit->trigger(); },
                                                     [&] { window->mnuExit1->trigger(); },
                                                     [&] { EXPECT_FALSE(window->close()); }};
    // Yes, and closing the question without an answer, both keep the program and its edits.
    for (const auto& end : ways) {
        prompts.answer(Answer::Yes);
        end();
        prompts.dismiss();
        end();
        EXPECT_TRUE(endCodes.empty() && window->isVisible() && WorkingDatabaseExists());
    }
    const test::RecordedMessage question = {
        QString::fromStdString("You have edited file " + path +
                               " but have not saved it. Would you like another chance to save?"),
        "Do You Want to Save?", Buttons::YesNo, Icon::None};
    EXPECT_EQ(prompts.messages, std::vector<test::RecordedMessage>(6, question));

    prompts.answer(Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
}

TEST_F(PlotWindow, ExitWithoutEditsEndsAtOnceAndASecondShutDownDoesNothing) {
    window->mnuStats->trigger();
    test::CommandsTestPeer::BinsOf(window->commands()).BinJD = {1, 2};
    window->mnuExit->trigger();
    window->ShutDown();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(window->statsWindow()->isVisible());
    EXPECT_TRUE(test::CommandsTestPeer::BinsOf(window->commands()).BinJD.empty());
    EXPECT_FALSE(WorkingDatabaseExists());
    EXPECT_EQ(window->table(), nullptr);
}

TEST_F(PlotWindow, UnloadStarThatCannotReplaceTheWorkingDatabaseEndsWithCodeOne) {
    LoadStar(false);
    std::filesystem::remove(dir.file("Template97.db"));
    EXPECT_FALSE(window->UnloadStar());
    EXPECT_EQ(
        prompts.messages,
        (std::vector<test::RecordedMessage>{
            {QString::fromStdString("Database template " + dir.file("Template97.db") + " missing."),
             "File Missing", Buttons::OK, Icon::Critical}}));
    EXPECT_EQ(endCodes, std::vector<int>{1});
}

TEST(ProgramEnd, AskedForBeforeTheEventLoopRunsEndsItWhenItStarts) {
    QTimer safety;  // ends a loop that would otherwise never end
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safety.start(10000);
    frmPlot::QueueProgramEnd(3);
    EXPECT_EQ(QCoreApplication::exec(), 3);
}

TEST_F(PlotWindow, ConfigureWithAStarLoadedAsksToUnloadItFirst) {
    const std::string path = LoadStar(false);
    for (Answer answer : {Answer::No, Answer::Cancel, Answer::Yes}) prompts.answer(answer);
    for (int i = 0; i < 2; ++i) {
        window->mnuConfig->trigger();
        EXPECT_EQ(configCalls, 0);
        EXPECT_EQ(window->state().settings.FilePath, path);
        EXPECT_EQ(window->table()->Count(), 3);
        EXPECT_TRUE(window->picView->isVisible());
    }
    window->mnuConfig->trigger();
    const test::RecordedMessage question = {
        QString::fromStdString("You cannot change the configuration while a file is loaded.\r\n\r\n"
                               "Do you want to unload the file " +
                               path + "?"),
        "Cannot Reconfigure", Buttons::YesNoCancel, Icon::None};
    EXPECT_EQ(prompts.messages, std::vector<test::RecordedMessage>(3, question));
    // The dialog opens over the hidden window and starts in the folder of the unloaded file.
    EXPECT_EQ(configCalls, 1);
    EXPECT_EQ(configParent, window.get());
    EXPECT_FALSE(visibleDuringConfig);
    EXPECT_EQ(filePathSeenByConfig, dir.path() + "/");
    ExpectEmptyLook(*window);
    EXPECT_TRUE(window->isVisible());

    // Without a star there is nothing to ask; a dialog that ends the program ends it.
    configGoesOn = false;
    window->mnuConfig->trigger();
    EXPECT_EQ(configCalls, 2);
    EXPECT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
}

TEST_F(PlotWindow, StatsItemTogglesTheWindowAndItsCloseBoxOnlyUnchecksTheItem) {
    auto expectStats = [&](bool checked, bool wanted, bool shown) {
        EXPECT_EQ(window->mnuStats->isChecked(), checked);
        EXPECT_EQ(window->state().overlay.StatsShown, wanted);
        EXPECT_EQ(window->statsWindow()->isVisible(), shown);
    };
    window->mnuStats->trigger();
    expectStats(true, true, true);
    EXPECT_EQ(window->statsWindow()->windowTitle(), QString("Stats for Plot Window"));
    window->mnuStats->trigger();
    expectStats(false, false, false);
    window->mnuStats->trigger();
    window->statsWindow()->printLine("High Mag. = 9.1   JD = 2454123.5");
    window->statsWindow()->close();
    expectStats(false, true, false);
    EXPECT_EQ(window->statsWindow()->text(), QString());  // figures of a view now gone
    window->mnuStats->trigger();
    expectStats(true, true, true);
}

// The panel shows the command layer's lines; a click on one runs its command, and the plot
// area gives the docked panel its room.
TEST_F(PlotWindow, BandPanelListsTheBandsAndItsCheckBoxesAndDoubleClickChangeThePlot) {
    LoadStar(false);
    // The plot stays inside the room the docked panel leaves it.
    const auto plotFits = [&] {
        return window->picView->geometry().right() < window->frmPlotClient->width() &&
               window->frmPlotClient->geometry().right() < window->dckBands->geometry().left();
    };
    window->mnuBands->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->dckBands->isVisible() && plotFits(); }));
    QListWidget* list = window->bandPanel->list();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QString("V  (2)"));
    EXPECT_EQ(list->item(1)->text(), QString("R  (1)"));

    // The panel reports a click once the list has handled it.
    const auto labelBecomes = [&](const char* label) {
        return QTest::qWaitFor([&] { return window->lblStarName->text() == QString(label); });
    };
    list->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(labelBecomes("R LEO - (1 Points)"));
    EXPECT_EQ(window->state().star.HiddenBands, std::set<std::string>{"V"});
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_TRUE(labelBecomes("R LEO - (2 Points)"));
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    window->bandPanel->allBandsButton()->click();
    EXPECT_TRUE(labelBecomes("R LEO - (3 Points)"));

    window->mnuBands->trigger();
    EXPECT_FALSE(window->dckBands->isVisible());
}

// SideWindowPlace decides the place; the window moves it there.
TEST_F(PlotWindow, StatsWindowOpensBesideTheMainWindow) {
    const QRect area = window->screen()->availableGeometry();
    const QSize main = window->frameGeometry().size();
    frmStats* stats = window->statsWindow();
    // Narrow enough to fit beside the main window on either side, not on both.
    const QSize size((area.width() - main.width()) * 3 / 4, 200);
    stats->resize(size);
    // Moves and resizes of windows reach the widgets through the event loop.
    ASSERT_TRUE(QTest::qWaitFor([&] { return stats->size() == size; }));
    const QPoint place(area.right() + 1 - main.width(), area.top() + 40);
    window->move(place);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry().topLeft() == place; }));
    window->mnuStats->trigger();
    ASSERT_TRUE(stats->isVisible());
    EXPECT_FALSE(stats->frameGeometry().intersects(window->frameGeometry()));
    EXPECT_TRUE(area.contains(stats->frameGeometry()));
    EXPECT_LT(stats->frameGeometry().left(), window->frameGeometry().left());
}

TEST_F(PlotWindow, ASaveDisablesEveryCommandAndARedrawMissedMeanwhileFollowsIt) {
    LoadStar(true);
    const std::vector<QAction*> commands = {window->mnuLoad,  window->mnuSave,   window->mnuFaint,
                                            window->mnuExit,  window->mnuConfig, window->mnuStats,
                                            window->mnuAbout, window->mnuExit1};
    bool asked = false;
    prompts.onMessage = [&](const test::RecordedMessage&) {
        asked = true;
        for (QAction* a : commands) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        EXPECT_FALSE(window->fraButtons->isEnabled() || window->picView->isEnabled());
        window->mnuExit_Click();
        EXPECT_FALSE(window->close());
        // The canvases take the new size, blank, while the save goes on.
        window->resize(900, 600);
    };
    prompts.answer(Answer::No);  // the star layout, not Save as Download File
    window->mnuSave->trigger();
    ASSERT_TRUE(asked);
    EXPECT_TRUE(endCodes.empty());
    EXPECT_FALSE(window->state().star.FileEdited);

    for (QAction* a : commands) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(window->fraButtons->isEnabled() && window->picView->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ColorAt(2454125.5, 10.5) == 255; }));
    EXPECT_EQ(window->picView->canvas().pixelWidth(), window->picView->width());
    EXPECT_EQ(window->picView->canvas().pixelHeight(), window->picView->height());
    EXPECT_EQ(window->picJDScale->canvas().pixelWidth(), window->picView->width());
    test::ExpectPlotLook(*window);
}

// A dropped file loads once the drop is over; the recent-file items name it and reload it.
TEST_F(PlotWindow, ADroppedFileLoadsAndItsRecentItemLoadsItAgain) {
    const std::string path = dir.file("rcar & co.txt");
    test::WriteFileBytes(path, "2454123.5 9.1 0.01\n2454130.5 11.2 0.02\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->state().star.FileLoaded; }));
    EXPECT_TRUE(window->state().star.ThreeColumnFormat);
    EXPECT_TRUE(window->mnuSpacerRecent->isVisible());
    EXPECT_TRUE(window->mnuRecent[0]->isVisible());
    EXPECT_FALSE(window->mnuRecent[1]->isVisible());
    EXPECT_EQ(window->mnuRecent[0]->text(),
              "&1 " + QString::fromStdString(path).replace("&", "&&") + " (3-column file)");

    // Two files are not one drop.
    data.setUrls({QUrl::fromLocalFile("/a.txt"), QUrl::fromLocalFile("/b.txt")});
    QDragEnterEvent two(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &two);
    EXPECT_FALSE(two.isAccepted());

    prompts.answer(Answer::OK);
    window->mnuRecent[0]->trigger();
    EXPECT_EQ(prompts.messages.back().title, QString("Unload Current File?"));
    EXPECT_TRUE(window->state().star.FileLoaded);
    EXPECT_TRUE(window->state().star.ThreeColumnFormat);
}

TEST_F(PlotWindow, TheFillBehindThePlotDisablesTheRowCommandsAndCancelOrClosingStopsIt) {
    const std::vector<QAction*> needRows = {window->mnuLoad,         window->mnuSave,
                                            window->mnuXYZ,          window->mnuSaveXYZ,
                                            window->mnuSaveDownload, window->mnuConfig};
    const auto duringTheFill = [&] {
        EXPECT_TRUE(window->picView->isVisible() && window->prgLoad->isVisible() &&
                    window->lblPrg->isVisible() && window->cmdCancel->isVisible());
        for (QAction* a : needRows) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        EXPECT_TRUE(window->fraButtons->isEnabled() && window->picView->isEnabled() &&
                    window->mnuFaint->isEnabled() && window->mnuExit->isEnabled());
    };
    const std::string file = test::SampleFile("download-mixed.txt");

    // The window's timer takes the end of the fill in.
    window->LoadStarFile(file);
    duringTheFill();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->commands().view().filling; }));
    test::ExpectPlotLook(*window);
    EXPECT_FALSE(window->cmdCancel->isVisible());
    for (QAction* a : needRows) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    window->LoadStarFile(file);
    duringTheFill();
    window->cmdCancel->click();
    test::ExpectEmptyLook(*window);
    EXPECT_FALSE(window->cmdCancel->isVisible());
    for (QAction* a : needRows) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();

    // Closing during the fill asks nothing and ends without the working database.
    window->LoadStarFile(file);
    ASSERT_TRUE(window->commands().view().filling);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(WorkingDatabaseExists());
}

TEST_F(PlotWindow, AboutOpensModallyAndAClickClosesIt) {
    QString version;
    test::WithModalDialog<frmAbout>([&] { window->mnuAbout->trigger(); },
                                    [&](frmAbout& about) {
                                        version = about.Label3->text();
                                        QTest::mouseClick(about.Label2, Qt::LeftButton);
                                    });
    EXPECT_TRUE(version.startsWith("Sabrix Version "));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace sabrix

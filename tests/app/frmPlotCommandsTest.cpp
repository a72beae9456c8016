// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "support/CommandsTestPeer.h"
#include "support/DownloadLines.h"
#include "support/ModalDialog.h"
#include "support/PlotWindowFixture.h"
#include "support/TestEnvironment.h"
#include "ui/app/frmPlot.h"
#include "ui/interaction/frmEditRecord.h"

namespace sabrix {
namespace {

using test::DataLine;

constexpr int32_t kBandV = 16744448;  // the first-start colour of band V
constexpr int32_t kBlue = 16711680;
constexpr double kFirst = 2454000.5;
constexpr double kLast = 2455000.5;

using PlotCommands = test::PlotWindowFixture;

TEST_F(PlotCommands, ButtonsAndKeysMoveAZoomedPlotWhichKeepsTheKeyboard) {
    const std::string path = dir.file("long.txt");
    test::WriteFileBytes(path, test::Lines({DataLine("2454000.5", "9.0", "V", "R Leo"),
                                            DataLine("2454500.5", "11.0", "V", "R Leo"),
                                            DataLine("2455000.5", "12.0", "V", "R Leo")}));
    window->resize(800, 500);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    prompts.file(QString::fromStdString(path));
    QTest::mouseClick(window->cmdLoad, Qt::LeftButton);
    window->Apply(window->commands().Run(cmd::FinishFill));
    test::ExpectPlotLook(*window);
    window->Apply(window->commands().Run(cmd::ShowWindow, kFirst + 500, kFirst + 600, 8.5, 10.5));
    EXPECT_TRUE(window->picView->hasFocus());

    struct Step {
        const char* what;
        std::function<void()> act;
        double left;  // WinJDLeft after it
        double top;   // WinMagTop after it
    };
    auto click = [](QPushButton* button) {
        return [button] { QTest::mouseClick(button, Qt::LeftButton); };
    };
    auto press = [this](Qt::Key key) {
        return [this, key] { QTest::keyClick(window->picView, key); };
    };
    const std::vector<Step> steps = {
        {"cmdForward", click(window->cmdForward), kFirst + 566, 8.5},
        {"cmdBack", click(window->cmdBack), kFirst + 500, 8.5},
        {"Right", press(Qt::Key_Right), kFirst + 566, 8.5},
        {"Left", press(Qt::Key_Left), kFirst + 500, 8.5},
        {"cmdEnder", click(window->cmdEnder), kLast - 95, 8.5},
        {"cmdBegin", click(window->cmdBegin), kFirst - 5, 8.5},
        {"End", press(Qt::Key_End), kLast - 95, 8.5},
        {"Home", press(Qt::Key_Home), kFirst - 5, 8.5},
        {"CmdDown", click(window->CmdDown), kFirst - 5, 9.0},
        {"cmdUp", click(window->cmdUp), kFirst - 5, 8.5},
        {"Down", press(Qt::Key_Down), kFirst - 5, 9.0},
        {"Up", press(Qt::Key_Up), kFirst - 5, 8.5},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        const PlotWindowState& v = window->state().view;
        EXPECT_NEAR(v.WinJDLeft, step.left, 1e-6);
        EXPECT_EQ(v.WinMagTop, step.top);
        EXPECT_NEAR(window->picView->canvas().ScaleLeft(), v.WinJDLeft - kFirst, 1e-6);
        EXPECT_TRUE(window->picView->hasFocus());
    }

    // F5 and "Refresh Plot Screen" take the marks and the overlays away.
    test::CommandsTestPeer::Table(window->commands())
        .MarkObserverInIdOrder("ABC", kBlue, "1", [](double, double) {});
    test::CommandsTestPeer::Marks(window->commands()).ObserverMarked = true;
    test::CommandsTestPeer::Marks(window->commands()).MarkCount = 1;
    window->Redraw(true);
    ASSERT_EQ(ColorAt(kFirst, 9.0), kBlue);
    QTest::keyClick(window->picView, Qt::Key_F5);
    EXPECT_EQ(ColorAt(kFirst, 9.0), kBandV);
    EXPECT_EQ(test::CommandsTestPeer::Marks(window->commands()).MarkCount, 0);
    test::CommandsTestPeer::BinsShown(window->commands()) = true;
    QTest::mouseClick(window->cmdRefresh, Qt::LeftButton);
    EXPECT_FALSE(test::CommandsTestPeer::BinsShown(window->commands()));
    EXPECT_NEAR(window->state().view.WinJDLeft, kFirst - 5, 1e-6);
    EXPECT_TRUE(window->picView->hasFocus());
    test::ExpectPlotLook(*window);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PlotCommands, TheRecordListAndTheEditorWorkOnTheRowsOfTheChosenLines) {
    const std::string path = dir.file("three.txt");
    test::WriteFileBytes(path, test::Lines({DataLine("2454000.5", "9.0", "V", "R Leo"),
                                            DataLine("2454500.5", "11.0", "V", "R Leo"),
                                            DataLine("2455000.5", "12.0", "V", "R Leo")}));
    window->resize(800, 500);
    window->LoadStarFile(path);
    window->Apply(window->commands().Run(cmd::FinishFill));
    test::ExpectPlotLook(*window);

    // A right-button drag around the last two rows opens the list beside the plot.
    window->Run(cmd::picView_MouseDown, 2, 0, 400, 10.5);
    window->Run(cmd::picView_MouseMove, 2, 0, 1100, 12.5);
    window->Run(cmd::picView_MouseUp, 2, 0, 1100, 12.5);
    QPointer<frmSelect> list = window->recordDialogs().list();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_FALSE(list->isModal());
    EXPECT_EQ(list->Label3->text(), QString("2 Records Shown"));
    EXPECT_EQ(list->windowTitle(), QString("Select Observation to Log or Mark"));
    EXPECT_TRUE(list->lstRecords->model()
                    ->headerData(0, Qt::Horizontal)
                    .toString()
                    .startsWith("JD,Mag,Uncertain,HQUncertain,Band,Init,"));
    ASSERT_EQ(list->LineCount(), 2);
    EXPECT_EQ(list->LineText(1), QString("2455000.5,12.0,,,V,ABC,,,,,,,,,,,,R LEO"));
    EXPECT_FALSE(list->cmd0[0]->isEnabled());

    // Edit Record on the second line: the editor takes a new magnitude.
    list->ClickLine(1);
    test::WithModalDialog<frmEditRecord>(
        [&] { QTest::mouseClick(list->cmdEdit, Qt::LeftButton); },
        [](frmEditRecord& editor) {
            editor.findChild<QLineEdit*>("txtMag")->setText("11.5");
            QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
        });
    EXPECT_EQ(window->table()->RowById(3)->Mag, 11.5);
    EXPECT_EQ(list->LineText(1), QString("2455000.5,11.5,,,V,ABC,,,,,,,,,,,,R LEO"));
    EXPECT_EQ(ColorAt(kLast, 11.5), kBandV);
    EXPECT_TRUE(window->state().star.FileEdited);

    // Both lines chosen, the Delete key asks as Delete Record does, deletes both and the list
    // goes.
    list->lstRecords->selectAll();
    prompts.answer(Answer::Yes);
    QTest::keyClick(list->lstRecords, Qt::Key_Delete);
    EXPECT_EQ(prompts.messages.front().text,
              QString("Are you sure you want to delete these 2 records?"));
    EXPECT_EQ(window->table()->Count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.isNull(); }));
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (1 Points)"));

    // A locate press on the remaining row lists it modally; its colour square marks it.
    test::WithModalDialog<frmSelect>([&] { window->Run(cmd::picView_MouseDown, 1, 0, 0, 9.0); },
                                     [&](frmSelect& modal) {
                                         EXPECT_EQ(&modal, window->recordDialogs().list());
                                         EXPECT_TRUE(modal.isModal());
                                         modal.ClickLine(0);
                                         QTest::mouseClick(modal.cmdMark, Qt::LeftButton);
                                         EXPECT_TRUE(modal.fraPalette->isVisible());
                                         QTest::mouseClick(modal.cmd0[9], Qt::LeftButton);
                                         QTest::mouseClick(modal.cmdClose, Qt::LeftButton);
                                     });
    EXPECT_EQ(window->recordDialogs().list(), nullptr);
    EXPECT_EQ(ColorAt(kFirst, 9.0), kBlue);
}

}  // namespace
}  // namespace sabrix

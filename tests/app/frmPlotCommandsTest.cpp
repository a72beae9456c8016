#include <gtest/gtest.h>

#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "app/frmPlot.h"
#include "support/DownloadLines.h"
#include "support/PlotWindowFixture.h"
#include "support/TestEnvironment.h"

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
    window->Apply(window->commands().FinishFill());
    test::ExpectPlotLook(*window);
    window->Apply(window->commands().ShowWindow(kFirst + 500, kFirst + 600, 8.5, 10.5));
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
    window->table()->MarkObserver("ABC", kBlue, "1");
    window->state().overlay.ObserverMarked = true;
    window->state().overlay.MarkCount = 1;
    window->Redraw(true);
    ASSERT_EQ(ColorAt(kFirst, 9.0), kBlue);
    QTest::keyClick(window->picView, Qt::Key_F5);
    EXPECT_EQ(ColorAt(kFirst, 9.0), kBandV);
    EXPECT_EQ(window->state().overlay.MarkCount, 0);
    window->state().overlay.BinsShown = true;
    QTest::mouseClick(window->cmdRefresh, Qt::LeftButton);
    EXPECT_FALSE(window->state().overlay.BinsShown);
    EXPECT_NEAR(window->state().view.WinJDLeft, kFirst - 5, 1e-6);
    EXPECT_TRUE(window->picView->hasFocus());
    test::ExpectPlotLook(*window);
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace sabrix

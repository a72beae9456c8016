// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include "analysis/PhaseFolding.h"
#include "ui/analysis/frmBins.h"
#include "ui/analysis/frmPeriodSearch.h"
#include "ui/analysis/frmPeriodogram.h"

namespace sabrix {
namespace {

PeriodSearchFields Fields(bool available) {
    PeriodSearchFields f;
    f.range = {QStringLiteral("0.05"), QStringLiteral("2400"), QStringLiteral("10")};
    f.defaults = {QStringLiteral("0.01"), QStringLiteral("2400"), QStringLiteral("10")};
    f.uncertaintiesAvailable = available;
    f.useUncertainties = true;
    f.summary = QStringLiteral("3 observations shown");
    return f;
}

TEST(frmPeriodSearch, RefusedFieldsKeepTheDialogOpenWithTheFieldChosen) {
    frmPeriodSearch dialog;
    dialog.setFields(Fields(false));
    EXPECT_FALSE(dialog.chkWeights->isEnabled());
    EXPECT_EQ(dialog.txtMaxPeriod->text(), "2400");
    std::vector<PeriodSearchFields> asked;
    dialog.onSearch = [&](const PeriodSearchFields& f) {
        asked.push_back(f);
        return asked.size() == 1 ? PeriodSearchAnswer{false, PeriodRangeField::SamplesPerPeak}
                                 : PeriodSearchAnswer{};
    };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.txtSamples->setText(QStringLiteral("x"));
    dialog.cmdSearch->click();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].range.samplesPerPeak, "x");
    EXPECT_FALSE(asked[0].uncertaintiesAvailable);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.txtSamples->selectedText(), "x");
    // "Defaults" puts back the range of the observations.
    dialog.cmdDefaults->click();
    EXPECT_EQ(dialog.txtMinPeriod->text(), "0.01");
    EXPECT_EQ(dialog.txtSamples->text(), "10");
    dialog.cmdSearch->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

PeriodogramWindowView View(bool computing) {
    PeriodogramWindowView v;
    v.title = QStringLiteral("Period Search - X");
    v.peaks = {{"4.0478526", "0.2470447", "0.9100", "0.3000"},
               {"1.3300000", "0.7518797", "0.4000", "0.1000"}};
    v.chosen = 0;
    v.foldPeriod = QStringLiteral("4.0478526");
    v.axisCaption = QStringLiteral("Frequency (cycles/day)");
    v.computing = computing;
    v.canRemove = !computing;
    v.draw = [](Canvas& plot, Canvas& across, Canvas& power) {
        plot.SetUserScale(0, 1, 1, -1);
        across.SetUserScale(0, 0, 1, 20);
        power.SetUserScale(0, 1, 20, -1);
        plot.Cls();
        plot.Line(0, 0, 1, 1, 65535);
        return QString();
    };
    return v;
}

// The window's control of that object name; fails the test when there is none.
template <class Widget>
Widget* Child(QWidget& window, const char* name) {
    Widget* child = window.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(frmPeriodogram, ShowsTheViewAndReportsClicksAsEvents) {
    frmPeriodogram window;
    std::vector<PeriodogramEvent> events;
    window.onEvent = [&](const PeriodogramEvent& e) { events.push_back(e); };
    window.Apply(View(false));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(events.empty());  // applying a view reports nothing
    EXPECT_EQ(window.windowTitle(), "Period Search - X");
    ASSERT_EQ(Child<QTableWidget>(window, "tblPeaks")->rowCount(), 2);
    EXPECT_EQ(Child<QTableWidget>(window, "tblPeaks")->item(1, 0)->text(), "1.3300000");
    EXPECT_EQ(Child<QLineEdit>(window, "txtPeriod")->text(), "4.0478526");
    EXPECT_FALSE(Child<QProgressBar>(window, "prgPeriod")->isVisible());
    EXPECT_GT(Child<PictureBox>(window, "picPeriodogram")->canvas().pixelWidth(), 100);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblAxisTitle"))->text(),
              "Frequency (cycles/day)");

    Child<QTableWidget>(window, "tblPeaks")->selectRow(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, PeriodogramEvent::Kind::ChoosePeak);
    EXPECT_EQ(events[0].peak, 1);
    // Typing in the period field is kept while the view's period stays the same.
    Child<QLineEdit>(window, "txtPeriod")->setText(QStringLiteral("4.05"));
    window.Apply(View(false));
    EXPECT_EQ(Child<QLineEdit>(window, "txtPeriod")->text(), "4.05");
    Child<QLineEdit>(window, "txtEpoch")->setText(QStringLiteral("2450000.1"));
    Child<QPushButton>(window, "cmdPhase")->click();
    EXPECT_EQ(events.back().kind, PeriodogramEvent::Kind::Fold);
    EXPECT_EQ(events.back().period, "4.05");
    EXPECT_EQ(events.back().epoch, "2450000.1");

    // A box dragged on the picture, in the plot's frame.
    PictureBox* pic = Child<PictureBox>(window, "picPeriodogram");
    QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 50), pic->mapToGlobal(QPointF(60, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(60, 50));
    EXPECT_EQ(events.back().kind, PeriodogramEvent::Kind::ZoomBox);
    EXPECT_NEAR(events.back().x1, pic->canvas().userX(10), 1e-9);
    EXPECT_NEAR(events.back().y2, pic->canvas().userY(50), 1e-9);

    Child<QPushButton>(window, "cmdClose")->click();
    EXPECT_EQ(events.back().kind, PeriodogramEvent::Kind::Close);
    EXPECT_TRUE(window.isVisible());  // it closes only when told
}

TEST(frmPeriodogram, EscapeCancelsARunningComputationAndClosesOtherwise) {
    frmPeriodogram window;
    std::vector<PeriodogramEvent::Kind> kinds;
    window.onEvent = [&](const PeriodogramEvent& e) { kinds.push_back(e.kind); };
    window.Apply(View(true));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(Child<QProgressBar>(window, "prgPeriod")->isVisible());
    EXPECT_FALSE(Child<QPushButton>(window, "cmdRemove")->isEnabled());
    QTest::keyClick(&window, Qt::Key_Escape);
    window.Apply(View(false));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(kinds, (std::vector<PeriodogramEvent::Kind>{PeriodogramEvent::Kind::Cancel,
                                                          PeriodogramEvent::Kind::Close}));
    window.Unload();
    EXPECT_FALSE(window.isVisible());
}

TEST(frmBins, OnThePhasePlotAsksForAPhaseWidthWithoutJDRangeOrBinFile) {
    frmBins dialog;
    dialog.setFields(InitialPhaseBinFields(2));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.lblBinSize->text(), "Bin Size (Phase)");
    EXPECT_FALSE(dialog.txtFromJD->isVisible());
    EXPECT_FALSE(dialog.chkBinFil->isVisible());
    EXPECT_EQ(dialog.txtBinWid->text(), "0.05");
    EXPECT_TRUE(dialog.fields().phase);
    dialog.setFields(BinDialogFields{});
    EXPECT_TRUE(dialog.txtFromJD->isVisible());
    EXPECT_EQ(dialog.lblBinSize->text(), "Bin Size (Days)");
    dialog.cmdCancel->click();
}

}  // namespace
}  // namespace sabrix

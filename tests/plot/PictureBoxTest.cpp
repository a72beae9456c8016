// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ui/plot/PictureBox.h"

namespace sabrix {
namespace {

TEST(PictureBox, KeepsItsCanvasAsLargeAsItselfAndShowsWhatIsDrawn) {
    PictureBox box;
    QSignalSpy resized(&box, &PictureBox::resized);
    box.resize(200, 100);
    box.show();
    EXPECT_GE(resized.count(), 1);
    EXPECT_EQ(box.canvas().image().size(), QSize(200, 100));
    box.canvas().SetUserScale(0, 0, 200, 100);
    box.canvas().Line(0, 10, 199, 10, 255);
    EXPECT_EQ(box.grab().toImage().pixelColor(25, 10), QColor(255, 0, 0));
}

TEST(PictureBox, AHiddenPictureKeepsWhatWasDrawnWhenItIsShown) {
    QWidget parent;
    parent.resize(300, 300);
    parent.show();
    auto* box = new PictureBox(&parent);
    box->hide();
    box->setGeometry(0, 0, 120, 80);
    EXPECT_TRUE(box->fitCanvas());
    box->canvas().SetUserScale(0, 0, 120, 80);
    box->canvas().Line(0, 5, 119, 5, 255);
    box->show();
    EXPECT_EQ(box->canvas().pixelWidth(), 120);
    EXPECT_EQ(box->canvas().pixelColor(60, 5), 255);
}

TEST(PictureBox, MouseEventsArriveInUserCoordinatesWithButtonAndShiftCodes) {
    PictureBox box;
    box.resize(200, 100);
    box.show();
    box.canvas().SetUserScale(1000, 8, 50, 4);
    QSignalSpy down(&box, &PictureBox::mouseDown);
    QSignalSpy up(&box, &PictureBox::mouseUp);
    QTest::mousePress(&box, Qt::RightButton, Qt::ShiftModifier | Qt::AltModifier, QPoint(100, 50));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::ControlModifier, QPoint(40, 25));
    ASSERT_EQ(down.count(), 1);
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(down[0], (QVariantList{2, 5, 1025.0, 10.0}));
    EXPECT_EQ(up[0], (QVariantList{2, 2, 1010.0, 9.0}));
    EXPECT_EQ(MouseButtonCode(Qt::LeftButton | Qt::MiddleButton), 5);
    EXPECT_EQ(ShiftCode(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
}

TEST(PictureBox, KnowsTheFiveToolCursorsAndNothingElse) {
    PictureBox box;
    for (const char* name : {"XHairs", "Magnify1", "MagZoom", "JDZoom2", "Normal01"}) {
        EXPECT_TRUE(box.setToolCursor(name)) << name;
        EXPECT_EQ(box.cursor().shape(), Qt::BitmapCursor);
    }
    EXPECT_FALSE(box.setToolCursor("Hourglass"));
    EXPECT_EQ(box.toolCursorName(), QString("Normal01"));
}

TEST(PictureBox, RubberBandIsPaintedOverThePictureWithoutTouchingTheCanvas) {
    PictureBox box;
    box.resize(100, 100);
    box.show();
    box.canvas().SetUserScale(0, 0, 10, 10);
    box.setRubberBand(2, 2, 6, 6);
    const QImage shown = box.grab().toImage();
    EXPECT_NE(shown.pixelColor(20, 40), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(40, 40), QColor(Qt::black));
    EXPECT_EQ(box.canvas().pixelColor(20, 40), 0);
    box.clearRubberBand();
    EXPECT_EQ(box.grab().toImage().pixelColor(20, 40), QColor(Qt::black));
}

}  // namespace
}  // namespace sabrix

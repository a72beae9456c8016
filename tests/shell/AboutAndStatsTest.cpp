// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>

#include "shell/AboutText.h"
#include "ui/shell/frmAbout.h"
#include "ui/shell/frmStats.h"

namespace sabrix {
namespace {

TEST(frmAbout, ShowsTheProgramsOwnVersionAndClosesOnAnyClick) {
    const QStringList parts = AboutVersionText().split("\r\n");
    ASSERT_EQ(parts.size(), 5);
    EXPECT_EQ(parts[0], QString("Sabrix Version %1.%2.%3")
                            .arg(SABRIX_VERSION_MAJOR)
                            .arg(SABRIX_VERSION_MINOR)
                            .arg(SABRIX_VERSION_PATCH));
    EXPECT_TRUE(parts[1].isEmpty() && parts[3].isEmpty() && !parts[2].isEmpty());
    EXPECT_EQ(VersionNumberText(), QString(SABRIX_VERSION_TEXT));
    EXPECT_EQ(CopyrightText().at(0), QChar(169));
    for (const char* target : {"Label1", "Label2", "Label3", "lblCopyright", "picLogo", ""}) {
        frmAbout about;
        about.show();
        EXPECT_EQ(about.Label3->text(), AboutVersionText());
        EXPECT_TRUE(about.lblCopyright->text().contains("GNU General Public License, version 3"));
        QWidget* widget = *target ? about.findChild<QWidget*>(target) : &about;
        ASSERT_NE(widget, nullptr) << target;
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(about.isVisible()) << target;
    }
}

TEST(frmStats, PrintsLinesBelowEachOtherClearsAndSaysWhenClosed) {
    frmStats stats;
    int unloads = 0;
    QObject::connect(&stats, &frmStats::unloaded, [&] { ++unloads; });
    stats.printLine("Brightest 9.1 at 2450000.5");
    stats.printLine("Faintest 12.3 at 2450100.5");
    EXPECT_EQ(stats.text(), QString("Brightest 9.1 at 2450000.5\nFaintest 12.3 at 2450100.5"));
    stats.clear();
    stats.printLine("again");
    EXPECT_EQ(stats.text(), QString("again"));
    stats.show();
    stats.close();
    EXPECT_EQ(unloads, 1);
}

}  // namespace
}  // namespace sabrix

#include <gtest/gtest.h>

#include <QTest>

#include "shell/AboutText.h"
#include "shell/frmAbout.h"
#include "shell/frmStats.h"

namespace sabrix {
namespace {

TEST(AboutText, VersionLineComesFromTheProgramsOwnVersion) {
    const QString expected = QString("Sabrix Version %1.%2.%3")
                                 .arg(SABRIX_VERSION_MAJOR)
                                 .arg(SABRIX_VERSION_MINOR)
                                 .arg(SABRIX_VERSION_PATCH);
    const QStringList parts = AboutVersionText().split("\r\n");
    ASSERT_EQ(parts.size(), 5);
    EXPECT_EQ(parts[0], expected);
    EXPECT_EQ(parts[1], QString());
    EXPECT_FALSE(parts[2].isEmpty());
    EXPECT_EQ(parts[3], QString());
    EXPECT_FALSE(parts[4].isEmpty());
    EXPECT_EQ(VersionNumberText(), QString(SABRIX_VERSION_TEXT));
    EXPECT_EQ(CopyrightText().at(0), QChar(169));
}

TEST(frmAbout, ShowsItsTextsWhenActivated) {
    frmAbout about;
    about.show();
    EXPECT_EQ(about.windowTitle(), QString("About Sabrix"));
    EXPECT_EQ(about.Label1->text(), QString("Sabrix"));
    EXPECT_EQ(about.Label2->text(), QString("Plots Variable Star Observations"));
    EXPECT_EQ(about.Label3->text(), AboutVersionText());
    EXPECT_EQ(about.lblCopyright->text(), CopyrightText());
    EXPECT_EQ(about.Label1->font().family(), QString("Arial"));
}

TEST(frmAbout, AClickOnAnyLabelOrTheBackgroundClosesIt) {
    for (const char* target : {"Label1", "Label2", "Label3", "lblCopyright", "picLogo", ""}) {
        frmAbout about;
        about.show();
        QWidget* widget = *target ? about.findChild<QWidget*>(target) : &about;
        ASSERT_NE(widget, nullptr) << target;
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(about.isVisible()) << target;
    }
}

TEST(frmStats, PrintsLinesBelowEachOtherAndClears) {
    frmStats stats;
    stats.printLine("Brightest 9.1 at 2450000.5");
    stats.printLine("Faintest 12.3 at 2450100.5");
    EXPECT_EQ(stats.text(), QString("Brightest 9.1 at 2450000.5\nFaintest 12.3 at 2450100.5"));
    stats.clear();
    EXPECT_EQ(stats.text(), QString());
    stats.printLine("again");
    EXPECT_EQ(stats.text(), QString("again"));
}

TEST(frmStats, ClosingSaysSo) {
    frmStats stats;
    int unloads = 0;
    QObject::connect(&stats, &frmStats::unloaded, [&] { ++unloads; });
    stats.show();
    stats.close();
    EXPECT_EQ(unloads, 1);
}

}  // namespace
}  // namespace sabrix

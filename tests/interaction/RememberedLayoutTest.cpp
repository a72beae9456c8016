// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/ProgramDir.h"
#include "core/SettingsFile.h"
#include "interaction/RememberedLayout.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

TEST(RememberedLayout, KeptInASectionOfItsOwnBesideTheSettingsBothWays) {
    test::TempProgramDir dir(false);
    const std::string ini = SettingsFilePath(dir.path());
    RememberedLayout layout;
    layout.mainWindow = QRect(-40, 80, 1200, 800);
    layout.bandPanelShown = true;
    layout.bandPanelWidth = 240;
    layout.periodWindow = QPoint(1330, 80);

    // No Sabrix.ini: nothing is written, so the next start still offers the configuration.
    EXPECT_FALSE(WriteRememberedLayout(dir.path(), layout));
    EXPECT_EQ(ReadRememberedLayout(dir.path()), RememberedLayout{});

    // A file of an older version, without the section, keeps its settings and gains it.
    Settings settings = DefaultSettings("/data/stars");
    settings.PolyFit = 12;
    WriteSettings(dir.path(), settings);
    const std::string settingsText = test::ReadFileBytes(ini);
    EXPECT_EQ(ReadRememberedLayout(dir.path()), RememberedLayout{});
    ASSERT_TRUE(WriteRememberedLayout(dir.path(), layout));
    EXPECT_EQ(test::ReadFileBytes(ini).substr(0, settingsText.size()), settingsText);
    EXPECT_EQ(ReadRememberedLayout(dir.path()), layout);
    Settings read;
    std::vector<std::string> replaced;
    ASSERT_TRUE(ReadSettings(dir.path(), read, &replaced));
    EXPECT_EQ(read.PolyFit, 12);
    EXPECT_TRUE(replaced.empty());

    // Confirming the configuration keeps the layout; a second layout replaces the first.
    settings.PolyFit = 7;
    WriteSettings(dir.path(), settings);
    EXPECT_EQ(ReadRememberedLayout(dir.path()), layout);
    layout.bandPanelShown = false;
    layout.periodWindow.reset();
    ASSERT_TRUE(WriteRememberedLayout(dir.path(), layout));
    EXPECT_EQ(ReadRememberedLayout(dir.path()), layout);
    const std::string text = test::ReadFileBytes(ini);
    EXPECT_EQ(text.find("[Layout]"), text.rfind("[Layout]"));
    EXPECT_EQ(text.find("PeriodWindow"), std::string::npos);
    ASSERT_TRUE(ReadSettings(dir.path(), read));
    EXPECT_EQ(read.PolyFit, 7);
}

TEST(RememberedLayout, ValuesThatCannotBeReadAreLeftUnknown) {
    const RememberedLayout layout = ParseLayoutSection(
        "[Sabrix.exe]\nMainWindow=1,2,3,4\n[Layout]\r\nMainWindow=10,20,0,500\r\n"
        "BandPanel=Yes,200\r\nPeriodWindow=5,6,7\r\nPeriodWindow=8,x\n[Other]\nBandPanel=True\n");
    EXPECT_EQ(layout, RememberedLayout{});
    const RememberedLayout cut = ParseLayoutSection("[Layout]\nBandPanel=True\nPeriodWindow=-5,9");
    EXPECT_EQ(cut.bandPanelShown, true);
    EXPECT_EQ(cut.bandPanelWidth, 0);
    EXPECT_EQ(cut.periodWindow, QPoint(-5, 9));
    // The section is replaced in place of its lines; the others stay, a last line without
    // its end included.
    EXPECT_EQ(WithLayoutSection("[A]\nx=1\n[Layout]\nMainWindow=1,1,9,9\n[B]\ny=2", cut),
              "[A]\nx=1\n[B]\ny=2\r\n[Layout]\r\nBandPanel=True,0\r\nPeriodWindow=-5,9\r\n");
}

TEST(RememberedLayout, AFrameOffEveryScreenComesBackOntoOne) {
    const QRect left(0, 30, 1600, 970);  // primary, below a panel
    const QRect right(1600, 0, 1920, 1080);
    const std::vector<QRect> areas = {left, right};
    // Wholly on a screen: kept, also on the second.
    EXPECT_EQ(RestoredFrame(QRect(100, 100, 800, 600), areas), QRect(100, 100, 800, 600));
    EXPECT_EQ(RestoredFrame(QRect(2000, 50, 800, 600), areas), QRect(2000, 50, 800, 600));
    // Across the two: onto the one it overlaps most.
    EXPECT_EQ(RestoredFrame(QRect(1400, 100, 800, 600), areas), QRect(1600, 100, 800, 600));
    // Under the panel: moved down.
    EXPECT_EQ(RestoredFrame(QRect(100, 0, 800, 600), areas), QRect(100, 30, 800, 600));
    // On a screen that is gone: onto the primary one, no larger than it.
    EXPECT_EQ(RestoredFrame(QRect(5000, 2000, 800, 600), areas), QRect(800, 400, 800, 600));
    EXPECT_EQ(RestoredFrame(QRect(-3000, 0, 2000, 1200), areas), QRect(0, 30, 1600, 970));
}

}  // namespace
}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SabrixError.h"
#include "core/SettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::ReadFileBytes;
using test::TempProgramDir;
using test::WriteFileBytes;

std::string DefaultFileText(const std::string& folder) {
    return "[Sabrix.exe]\r\nFilePath=" + folder +
           "\r\nConnectMarked=False\r\nPolyFit=40\r\nDefaultSigma=2\r\n"
           "ColorVIS=65280\r\nColorFAINT=9539985\r\nColorDISC=33023\r\nColorNA=65280\r\n"
           "ColorCR=8454016\r\nColorU=16711680\r\nColorV=16744448\r\nColorB=16776960\r\n"
           "ColorR=255\r\nColorI=16744576\r\nColorCV=12615935\r\nColorJ=4227200\r\n"
           "ColorH=16744703\r\n";
}

// Settings with every member away from its zero value, to see which ones a read touches.
Settings Sentinel() {
    Settings s;
    s.FilePath = "/old";
    s.ConnectMarked = true;
    s.PolyFit = 7;
    s.DefaultSigma = 3;
    for (const auto& color : ColorSettings()) s.*color.member = 1;
    return s;
}

void ExpectSameSettings(const Settings& got, const Settings& want) {
    EXPECT_EQ(
        std::tie(got.FilePath, got.ConnectMarked, got.PolyFit, got.DefaultSigma, got.IniMissing),
        std::tie(want.FilePath, want.ConnectMarked, want.PolyFit, want.DefaultSigma,
                 want.IniMissing));
    for (const auto& color : ColorSettings())
        EXPECT_EQ(got.*color.member, want.*color.member) << color.key;
}

int EntriesIn(const std::string& folder) {
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++entries;
    return entries;
}

TEST(SettingsFile, DefaultsAreWrittenByteForByteAndEveryValueRoundTrips) {
    TempProgramDir dir(false);
    WriteSettings(dir.path(), DefaultSettings(dir.path()));
    EXPECT_EQ(ReadFileBytes(dir.file("Sabrix.ini")), DefaultFileText(dir.path()));

    Settings written = DefaultSettings("/data/stars = variable");
    written.ConnectMarked = true;
    written.PolyFit = -32768;
    written.DefaultSigma = 32767;
    written.ColorB = 16777215;
    written.ColorH = 0;
    WriteSettings(dir.path(), written);
    Settings read;
    EXPECT_TRUE(ReadSettings(dir.path(), read));
    ExpectSameSettings(read, written);
}

TEST(SettingsFile, FirstStartColoursTellBandBAndDiscrepantFromEveryOtherKind) {
    // VIS and N/A share green by design; B and discrepant observations must stand apart
    // from every other default by a clearly visible step.
    const auto rgb = [](double packed) {
        const auto value = static_cast<int32_t>(packed);
        return std::array<int, 3>{value & 255, (value >> 8) & 255, (value >> 16) & 255};
    };
    for (const char* key : {"ColorB", "ColorDISC"}) {
        const std::array<int, 3> own = rgb(DefaultColor(key));
        for (const auto& other : ColorSettings()) {
            if (std::string_view(other.key) == key) continue;
            const std::array<int, 3> theirs = rgb(other.defaultColor);
            int squared = 0;
            for (size_t i = 0; i < 3; ++i) squared += (own[i] - theirs[i]) * (own[i] - theirs[i]);
            EXPECT_GE(squared, 100 * 100) << key << " against " << other.key;
        }
    }
}

TEST(SettingsFile, ColoursAreWrittenAsWholeNumbers) {
    Settings s = DefaultSettings("/p");
    s.ColorVIS = 65280.4;
    s.ColorR = 254.5;  // halfway goes to the even neighbour
    const std::string text = SettingsFileText(s);
    EXPECT_NE(text.find("\r\nColorVIS=65280\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nColorR=254\r\n"), std::string::npos);
}

TEST(SettingsFile, ReadingTakesTheKeysItKnowsAndGivesTheOthersTheirFirstStartValues) {
    struct Case {
        std::string text;
        std::function<void(Settings&)> change;  // how the read differs from the defaults
    };
    const Case cases[] = {
        {"[Anything at all]\r\nColorH=16744703\nColorJ=4227200\rColorCV=12615935\r\n"
         "Window=Maximized\r\nColorI=16744576\r\nColorR=255\r\nColorB=16744448\r\n"
         "ColorV=16744448\r\nColorU=16711680\r\nColorCR=8454016\r\nColorNA=65280\r\n"
         "ColorDISC=12615680\r\n; a comment line\r\nColorFAINT=9539985\r\nColorVIS=65280\r\n"
         "DefaultSigma=2\r\nPolyFit=40\r\nConnectMarked=False\r\nFilePath=/data\r\n",
         // A file written with older defaults keeps them.
         [](Settings& s) {
             s = DefaultSettings("/data");
             s.ColorB = 16744448, s.ColorDISC = 12615680;
         }},
        {"[Sabrix.exe]\r\nFilePath= /a=b/c= \r\n", [](Settings& s) { s.FilePath = " /a=b/c= "; }},
        {"[Sabrix.exe]\r\nfilepath=/lower\r\nPolyFit =12\r\nPOLYFIT=13\r\nColorb=5\r\n",
         [](Settings&) {}},
        {"[Sabrix.exe]\r\nPolyFit=5\r\nFilePath=/first\r\nPolyFit=6\r\nFilePath=/second\r\n",
         [](Settings& s) { s.PolyFit = 6, s.FilePath = "/second"; }},
        {"[Sabrix.exe]\r\nDefaultSigma=9\r\n", [](Settings& s) { s.DefaultSigma = 9; }},
        {"[Sabrix.exe]\r\nthis line has no equals sign\r\n\r\nPolyFit=forty\r\n"
         "DefaultSigma=40000\r\nConnectMarked=maybe\r\nColorVIS=green\r\nColorFAINT=-1\r\n"
         "ColorDISC=16777216\r\nColorNA=\r\nColorR=255\r\nFilePath=/kept/reading\r\n",
         [](Settings& s) { s.ColorR = 255, s.FilePath = "/kept/reading"; }},
        {"[Sabrix.exe]\r\nConnectMarked=0\r\nPolyFit= 12 \r\nDefaultSigma=2.5\r\n"
         "ColorB=1.6744448E7\r\n",
         [](Settings& s) {
             s.ConnectMarked = false, s.PolyFit = 12, s.DefaultSigma = 2, s.ColorB = 16744448;
         }},
        {"[Sabrix.exe]\r\nConnectMarked=False\r\nConnectMarked=-1\r\n",
         [](Settings& s) { s.ConnectMarked = true; }},
        {"[Sabrix.exe]\r\nConnectMarked=0\r\nConnectMarked=true\r\n",
         [](Settings& s) { s.ConnectMarked = true; }},
        {"", [](Settings&) {}},
        {"[Sabrix.exe]", [](Settings&) {}},
        {"PolyFit=3\r\n", [](Settings&) {}}};
    TempProgramDir dir(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFileBytes(dir.file("Sabrix.ini"), c.text);
        Settings got = Sentinel(), want = DefaultSettings(dir.path());
        EXPECT_TRUE(ReadSettings(dir.path(), got));
        c.change(want);
        ExpectSameSettings(got, want);
    }
    Settings missing = Sentinel();  // a read never clears IniMissing
    missing.IniMissing = true;
    EXPECT_TRUE(ReadSettings(dir.path(), missing));
    EXPECT_TRUE(missing.IniMissing);
}

TEST(SettingsFile, EmptiedOrCutShortFileLeavesNoColourBlack) {
    TempProgramDir dir(false);
    const std::string full = DefaultFileText(dir.path());
    for (const size_t kept : {size_t{0}, full.find("ColorV=") + 9}) {
        SCOPED_TRACE(kept);
        WriteFileBytes(dir.file("Sabrix.ini"), full.substr(0, kept));
        Settings read;
        ASSERT_TRUE(ReadSettings(dir.path(), read));
        for (const auto& color : ColorSettings()) EXPECT_NE(read.*color.member, 0) << color.key;
        EXPECT_EQ(read.ColorVIS, 65280);
        EXPECT_EQ(read.ColorH, 16744703);
        EXPECT_EQ(read.PolyFit, 40);
        EXPECT_EQ(read.DefaultSigma, 2);
    }
}

// A damaged file fell back to the first-start values without a word.
TEST(SettingsFile, ReadingNamesTheKeysThatTookTheirFirstStartValues) {
    TempProgramDir dir(false);
    WriteFileBytes(dir.file("Sabrix.ini"),
                   "[Sabrix.exe]\r\nPolyFit=forty\r\nDefaultSigma=3\r\nDefaultSigma=x\r\n"
                   "ConnectMarked=False\r\nFilePath=/d\r\nColorVIS=green\r\n");
    Settings read;
    std::vector<std::string> replaced = {"stale"};
    ASSERT_TRUE(ReadSettings(dir.path(), read, &replaced));
    EXPECT_EQ(replaced,
              (std::vector<std::string>{"PolyFit", "ColorVIS", "ColorFAINT", "ColorDISC", "ColorNA",
                                        "ColorCR", "ColorU", "ColorV", "ColorB", "ColorR", "ColorI",
                                        "ColorCV", "ColorJ", "ColorH"}));
    WriteSettings(dir.path(), read);
    ASSERT_TRUE(ReadSettings(dir.path(), read, &replaced));
    EXPECT_EQ(replaced, std::vector<std::string>{});
}

TEST(SettingsFile, FullDiskKeepsTheOldFileAndReportsTheFailure) {
    TempProgramDir dir(false);
    const std::string path = dir.file("Sabrix.ini");
    WriteFileBytes(path, DefaultFileText("/old"));
    Settings changed = DefaultSettings("/a/much/longer/folder/than/before");
    {
        test::FileSizeLimit fullAfter(100);
        EXPECT_THROW(WriteSettings(dir.path(), changed), SabrixError);
    }
    EXPECT_EQ(ReadFileBytes(path), DefaultFileText("/old"));
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(SettingsFile, MissingFileSetsIniMissingAndChangesNothingElse) {
    const std::function<void(const TempProgramDir&)> setups[] = {
        [](const TempProgramDir&) {},
        [](const TempProgramDir& d) {
            WriteFileBytes(d.file("sabrix.INI"), "[Sabrix.exe]\r\nPolyFit=3\r\n");
        },
        [](const TempProgramDir& d) { std::filesystem::create_directory(d.file("Sabrix.ini")); }};
    for (const auto& setup : setups) {
        TempProgramDir dir(false);
        setup(dir);
        Settings s = Sentinel(), want = Sentinel();
        EXPECT_FALSE(ReadSettings(dir.path(), s));
        want.IniMissing = true;
        ExpectSameSettings(s, want);
    }
}

TEST(SettingsFile, FailedWriteThrowsNamingTheFileAndLeavesNothingBehind) {
    TempProgramDir dir(false);
    std::filesystem::create_directories(dir.file("Sabrix.ini/inside"));
    EXPECT_THROW(WriteSettings(dir.path(), DefaultSettings("/p")), SabrixError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Sabrix.ini/inside")));
    EXPECT_EQ(EntriesIn(dir.path()), 1);
    try {
        WriteSettings(dir.file("gone"), DefaultSettings("/p"));
        FAIL() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_NE(std::string(e.what()).find(dir.file("gone/Sabrix.ini")), std::string::npos);
    }
}

}  // namespace
}  // namespace sabrix

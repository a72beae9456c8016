#include <gtest/gtest.h>

#include <filesystem>

#include "core/SabrixError.h"
#include "core/SettingsFile.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::ReadFileBytes;
using test::TempProgramDir;
using test::WriteFileBytes;

const std::string kDefaultColorLines =
    "ColorVIS=65280\r\n"
    "ColorFAINT=9539985\r\n"
    "ColorDISC=12615680\r\n"
    "ColorNA=65280\r\n"
    "ColorCR=8454016\r\n"
    "ColorU=16711680\r\n"
    "ColorV=16744448\r\n"
    "ColorB=16744448\r\n"
    "ColorR=255\r\n"
    "ColorI=16744576\r\n"
    "ColorCV=12615935\r\n"
    "ColorJ=4227200\r\n"
    "ColorH=16744703\r\n";

std::string DefaultFileText(const std::string& folder) {
    return "[Sabrix.exe]\r\nFilePath=" + folder +
           "\r\nConnectMarked=False\r\nPolyFit=40\r\nDefaultSigma=2\r\n" + kDefaultColorLines;
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
    EXPECT_EQ(got.FilePath, want.FilePath);
    EXPECT_EQ(got.ConnectMarked, want.ConnectMarked);
    EXPECT_EQ(got.PolyFit, want.PolyFit);
    EXPECT_EQ(got.DefaultSigma, want.DefaultSigma);
    for (const auto& color : ColorSettings())
        EXPECT_EQ(got.*color.member, want.*color.member) << color.key;
    EXPECT_EQ(got.IniMissing, want.IniMissing);
}

Settings ReadText(const TempProgramDir& dir, const std::string& text, Settings start = {}) {
    WriteFileBytes(dir.file("Sabrix.ini"), text);
    EXPECT_TRUE(ReadSettings(dir.path(), start));
    return start;
}

TEST(SettingsFile, DefaultsAreWrittenByteForByte) {
    TempProgramDir dir(false);
    WriteSettings(dir.path(), DefaultSettings(dir.path()));
    EXPECT_EQ(ReadFileBytes(dir.file("Sabrix.ini")), DefaultFileText(dir.path()));
}

TEST(SettingsFile, RoundTripKeepsEveryValue) {
    TempProgramDir dir(false);
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
    EXPECT_NE(ReadFileBytes(dir.file("Sabrix.ini")).find("ConnectMarked=True\r\n"),
              std::string::npos);
}

TEST(SettingsFile, ColoursAreWrittenAsWholeNumbers) {
    Settings s = DefaultSettings("/p");
    s.ColorVIS = 65280.4;
    s.ColorR = 254.5;  // halfway goes to the even neighbour
    const std::string text = SettingsFileText(s);
    EXPECT_NE(text.find("\r\nColorVIS=65280\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nColorR=254\r\n"), std::string::npos);
}

TEST(SettingsFile, KeysInAnyOrderWithOtherKeysBetweenReadTheSame) {
    TempProgramDir dir(false);
    const std::string text =
        "[Anything at all]\r\n"
        "ColorH=16744703\nColorJ=4227200\rColorCV=12615935\r\n"
        "Window=Maximized\r\n"
        "ColorI=16744576\r\nColorR=255\r\nColorB=16744448\r\nColorV=16744448\r\n"
        "ColorU=16711680\r\nColorCR=8454016\r\nColorNA=65280\r\nColorDISC=12615680\r\n"
        "; a comment line\r\n"
        "ColorFAINT=9539985\r\nColorVIS=65280\r\nDefaultSigma=2\r\nPolyFit=40\r\n"
        "ConnectMarked=False\r\nFilePath=/data\r\n";
    ExpectSameSettings(ReadText(dir, text, Sentinel()), DefaultSettings("/data"));
}

TEST(SettingsFile, FilePathKeepsEverythingAfterTheFirstEquals) {
    TempProgramDir dir(false);
    const Settings s = ReadText(dir, "[Sabrix.exe]\r\nFilePath= /a=b/c= \r\n");
    EXPECT_EQ(s.FilePath, " /a=b/c= ");
}

TEST(SettingsFile, KeysAreCaseAndBlankSensitive) {
    TempProgramDir dir(false);
    const Settings s = ReadText(
        dir, "[Sabrix.exe]\r\nfilepath=/lower\r\nPolyFit =12\r\nPOLYFIT=13\r\nColorb=5\r\n",
        Sentinel());
    EXPECT_EQ(s.FilePath, "/old");
    EXPECT_EQ(s.PolyFit, 7);
    EXPECT_EQ(s.ColorB, 1);
}

TEST(SettingsFile, LastOccurrenceOfAKeyWins) {
    TempProgramDir dir(false);
    const Settings s = ReadText(
        dir, "[Sabrix.exe]\r\nPolyFit=5\r\nFilePath=/first\r\nPolyFit=6\r\nFilePath=/second\r\n");
    EXPECT_EQ(s.PolyFit, 6);
    EXPECT_EQ(s.FilePath, "/second");
}

TEST(SettingsFile, MissingKeysKeepTheirValues) {
    TempProgramDir dir(false);
    Settings want = Sentinel();
    want.DefaultSigma = 9;
    ExpectSameSettings(ReadText(dir, "[Sabrix.exe]\r\nDefaultSigma=9\r\n", Sentinel()), want);
}

TEST(SettingsFile, BadLinesCostOnlyTheirOwnKey) {
    TempProgramDir dir(false);
    const std::string text =
        "[Sabrix.exe]\r\n"
        "this line has no equals sign\r\n"
        "\r\n"
        "PolyFit=forty\r\n"
        "DefaultSigma=40000\r\n"
        "ConnectMarked=maybe\r\n"
        "ColorVIS=green\r\n"
        "ColorFAINT=-1\r\n"
        "ColorDISC=16777216\r\n"
        "ColorNA=\r\n"
        "ColorR=255\r\n"
        "FilePath=/kept/reading\r\n";
    Settings want = Sentinel();
    want.ColorR = 255;
    want.FilePath = "/kept/reading";
    ExpectSameSettings(ReadText(dir, text, Sentinel()), want);
}

TEST(SettingsFile, NumbersAndBooleansInTheirOtherForms) {
    TempProgramDir dir(false);
    Settings s = ReadText(dir,
                          "[Sabrix.exe]\r\nConnectMarked=-1\r\nPolyFit= 12 \r\n"
                          "DefaultSigma=2.5\r\nColorB=1.6744448E7\r\n");
    EXPECT_TRUE(s.ConnectMarked);
    EXPECT_EQ(s.PolyFit, 12);
    EXPECT_EQ(s.DefaultSigma, 2);
    EXPECT_EQ(s.ColorB, 16744448);

    s = ReadText(dir, "[Sabrix.exe]\r\nConnectMarked=0\r\n", s);
    EXPECT_FALSE(s.ConnectMarked);
    s = ReadText(dir, "[Sabrix.exe]\r\nConnectMarked=true\r\n", s);
    EXPECT_TRUE(s.ConnectMarked);
}

TEST(SettingsFile, EmptyOrSectionOnlyFileChangesNothing) {
    TempProgramDir dir(false);
    for (const std::string text : {"", "[Sabrix.exe]", "[Sabrix.exe]\r\n", "PolyFit=3\r\n"}) {
        SCOPED_TRACE(text);
        ExpectSameSettings(ReadText(dir, text, Sentinel()), Sentinel());
    }
}

TEST(SettingsFile, MissingFileSetsIniMissingAndChangesNothingElse) {
    TempProgramDir dir(false);
    Settings s = Sentinel();
    EXPECT_FALSE(ReadSettings(dir.path(), s));
    Settings want = Sentinel();
    want.IniMissing = true;
    ExpectSameSettings(s, want);
}

TEST(SettingsFile, NameDifferingOnlyInCaseCountsAsMissing) {
    TempProgramDir dir(false);
    WriteFileBytes(dir.file("sabrix.INI"), "[Sabrix.exe]\r\nPolyFit=3\r\n");
    Settings s = Sentinel();
    EXPECT_FALSE(ReadSettings(dir.path(), s));
    EXPECT_TRUE(s.IniMissing);
    EXPECT_EQ(s.PolyFit, 7);
}

TEST(SettingsFile, FolderNamedLikeTheFileCountsAsMissing) {
    TempProgramDir dir(false);
    std::filesystem::create_directory(dir.file("Sabrix.ini"));
    Settings s;
    EXPECT_FALSE(ReadSettings(dir.path(), s));
    EXPECT_TRUE(s.IniMissing);
}

TEST(SettingsFile, ReadingNeverClearsIniMissing) {
    TempProgramDir dir(false);
    Settings start;
    start.IniMissing = true;
    const Settings s = ReadText(dir, DefaultFileText("/x"), start);
    EXPECT_TRUE(s.IniMissing);
}

TEST(SettingsFile, FailedReplaceThrowsAndLeavesNoTemporaryFile) {
    TempProgramDir dir(false);
    std::filesystem::create_directories(dir.file("Sabrix.ini/inside"));
    EXPECT_THROW(WriteSettings(dir.path(), DefaultSettings("/p")), SabrixError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("Sabrix.ini/inside")));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFile, WriteIntoMissingFolderThrowsNamingTheFile) {
    TempProgramDir dir(false);
    const std::string missing = dir.file("gone");
    try {
        WriteSettings(missing, DefaultSettings("/p"));
        FAIL() << "no exception";
    } catch (const SabrixError& e) {
        EXPECT_NE(std::string(e.what()).find(missing + "/Sabrix.ini"), std::string::npos);
    }
}

TEST(SettingsFile, WriteReplacesAnOlderFileAndLeavesNoTemporaryFile) {
    TempProgramDir dir(false);
    WriteFileBytes(dir.file("Sabrix.ini"), std::string(5000, 'x'));
    WriteSettings(dir.path(), DefaultSettings("/p"));
    EXPECT_EQ(ReadFileBytes(dir.file("Sabrix.ini")), DefaultFileText("/p"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace sabrix

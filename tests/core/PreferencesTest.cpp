// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "core/Preferences.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {

using Kind = ObservationFileKind;

RecentFile Star(const std::string& path) {
    return {Kind::StarFile, path};
}
RecentFile ThreeColumn(const std::string& path) {
    return {Kind::ThreeColumnFile, path};
}

}  // namespace

TEST(Preferences, WrittenFileReadsBackAndAMissingFileGivesTheDefaults) {
    test::TempProgramDir dir;
    const Preferences none = ReadPreferences(dir.path());
    EXPECT_FALSE(none.CalendarDates);
    EXPECT_TRUE(none.RecentFiles.empty());

    Preferences kept;
    kept.CalendarDates = true;
    kept.RecentFiles = {ThreeColumn("/data/rcar v.dat"), Star("/data/a=b.txt")};
    WritePreferences(dir.path(), kept);
    EXPECT_EQ(test::ReadFileBytes(dir.file("Sabrix.prefs")),
              "CalendarDates=True\r\nThreeColumnFile=/data/rcar v.dat\r\n"
              "StarFile=/data/a=b.txt\r\n");
    const Preferences read = ReadPreferences(dir.path());
    EXPECT_TRUE(read.CalendarDates);
    EXPECT_EQ(read.RecentFiles, kept.RecentFiles);
    // Sabrix.ini is not touched.
    EXPECT_FALSE(std::filesystem::exists(dir.file("Sabrix.ini")));
}

// Hand edits and damage cost the lines they hit, never the rest of the file.
TEST(Preferences, DamagedLinesArePassedOverAndTheListKeepsItsRules) {
    test::TempProgramDir dir;
    test::WriteFileBytes(dir.file("Sabrix.prefs"),
                         std::string(1, '\0') + "\xff garbage\nCalendarDates=maybe\r\n" +
                             "StarFile=/" + std::string(70000, 'x') + "\n" +
                             "StarFile=\nStarFile=/a\nThreeColumnFile=/a\ncalendardates=True\n"
                             "Other=1\nnoequals\nThreeColumnFile=/b\rStarFile=/c\nStarFile=/d\n"
                             "StarFile=/e\nStarFile=/f\nCalendarDates=True");
    const Preferences read = ReadPreferences(dir.path());
    EXPECT_TRUE(read.CalendarDates);
    EXPECT_EQ(read.RecentFiles, (std::vector<RecentFile>{Star("/a"), ThreeColumn("/b"), Star("/c"),
                                                         Star("/d"), Star("/e")}));
}

TEST(Preferences, RememberPutsTheFileFirstOnceAndKeepsTheNewestFive) {
    Preferences p;
    for (const char* path : {"/1", "/2", "/3", "/4", "/5", "/6"}) RememberRecentFile(p, Star(path));
    EXPECT_EQ(p.RecentFiles, (std::vector<RecentFile>{Star("/6"), Star("/5"), Star("/4"),
                                                      Star("/3"), Star("/2")}));
    // Loaded again, as the other kind: first, and only once.
    RememberRecentFile(p, ThreeColumn("/4"));
    EXPECT_EQ(p.RecentFiles, (std::vector<RecentFile>{ThreeColumn("/4"), Star("/6"), Star("/5"),
                                                      Star("/3"), Star("/2")}));
    // A name with a line break would break the file: it is not kept.
    RememberRecentFile(p, Star("/odd\nname"));
    EXPECT_EQ(p.RecentFiles.front(), ThreeColumn("/4"));
    EXPECT_TRUE(ForgetRecentFile(p, "/5"));
    EXPECT_FALSE(ForgetRecentFile(p, "/5"));
    EXPECT_EQ(p.RecentFiles.size(), 4u);
}

}  // namespace sabrix

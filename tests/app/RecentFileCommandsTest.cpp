// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/MainWindowCommands.h"
#include "core/Preferences.h"
#include "support/CommandsFixture.h"
#include "support/DownloadLines.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::DataLine;
using Msg = test::RecordedMessage;
using Kind = ObservationFileKind;

class RecentFiles : public test::CommandsFixture {
  protected:
    std::string Star(const std::string& name, const std::string& star) {
        return WriteFile(name, {DataLine("2454123.5", "9.1", "V", star),
                                DataLine("2454130.5", "11.2", "V", star)});
    }
    std::string ThreeColumn(const std::string& name) {
        return WriteFile(name, {"2454123.5 9.1 0.01", "2454130.5 11.2 0.02"});
    }
    std::vector<RecentFile> Kept() const { return ReadPreferences(dir.path()).RecentFiles; }
    QString Q(const std::string& text) const { return QString::fromStdString(text); }
};

TEST_F(RecentFiles, EachLoadGoesFirstInTheListWhichKeepsTheNewestFiveInTheFile) {
    // Without the program folder (the command line) nothing is kept.
    LoadAndFill(Star("0.txt", "ZERO"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Sabrix.prefs")));

    commands->setPreferencesFolder(dir.path());
    std::vector<std::string> stars;
    for (const char* name : {"1", "2", "3", "4", "5"})
        stars.push_back(Star(std::string(name) + ".txt", name));
    for (const std::string& path : stars) LoadAndFill(path);
    const std::string columns = ThreeColumn("rcar.dat");
    commands->Run(cmd::LoadThreeColumnFile, columns);
    // Loaded again: first once more, not twice in the list.
    LoadAndFill(stars[2]);
    // A load that fails is not listed.
    LoadAndFill(WriteFile("bad.txt", {"no observations here"}));
    ASSERT_EQ(prompts.messages.size(), 1u);

    const std::vector<RecentFile> want = {{Kind::StarFile, stars[2]},
                                          {Kind::ThreeColumnFile, columns},
                                          {Kind::StarFile, stars[4]},
                                          {Kind::StarFile, stars[3]},
                                          {Kind::StarFile, stars[1]}};
    EXPECT_EQ(Kept(), want);
    EXPECT_EQ(view().recentFiles,
              (std::vector<QString>{Q(stars[2]), Q(columns) + " (3-column file)", Q(stars[4]),
                                    Q(stars[3]), Q(stars[1])}));
}

// A list that cannot be written is a failure to say, not to hide; the load itself stands.
TEST_F(RecentFiles, AListThatCannotBeKeptIsSaidAndTheLoadStands) {
    commands->setPreferencesFolder(dir.file("no such folder"));
    LoadAndFill(Star("rleo.txt", "R Leo"));
    EXPECT_TRUE(state().star.FileLoaded);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Error \"Cannot write " +
                                                    Q(dir.file("no such folder/Sabrix.prefs"))));
    EXPECT_TRUE(prompts.messages[0].text.endsWith("encountered in module WritePreferences."));
    EXPECT_EQ(view().recentFiles.size(), 1u);
}

TEST_F(RecentFiles, AnItemLoadsItsFileAfterTheUsualQuestionOfItsKind) {
    commands->setPreferencesFolder(dir.path());
    const std::string star = Star("rleo.txt", "R Leo");
    const std::string columns = ThreeColumn("rcar.dat");
    LoadAndFill(star);
    commands->Run(cmd::LoadThreeColumnFile, columns);

    prompts.answer(Answer::Cancel);
    commands->Run(cmd::mnuRecent_Click, 1);
    commands->Run(cmd::FinishFill);
    EXPECT_EQ(state().star.StarName, "rcar");
    prompts.answer(Answer::OK);
    commands->Run(cmd::mnuRecent_Click, 1);
    commands->Run(cmd::FinishFill);
    EXPECT_EQ(view().starLabel, QString("R LEO - (2 Points)"));
    EXPECT_EQ(view().panels[0], "File: " + Q(star));
    prompts.answer(Answer::OK);
    commands->Run(cmd::mnuRecent_Click, 1);
    commands->Run(cmd::FinishFill);
    EXPECT_TRUE(state().star.ThreeColumnFormat);
    EXPECT_EQ(state().star.StarName, "rcar");
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"Unload current star RCAR ?", "Unload Current Star?",
                                 Buttons::OKCancel, Icon::Question},
                                {"Unload current star RCAR ?", "Unload Current Star?",
                                 Buttons::OKCancel, Icon::Question},
                                {"Unload current file R Leo ?", "Unload Current File?",
                                 Buttons::OKCancel, Icon::Question}}));
    // An item beyond the list does nothing.
    commands->Run(cmd::mnuRecent_Click, 5);
    commands->Run(cmd::FinishFill);
    EXPECT_EQ(prompts.messages.size(), 3u);
}

TEST_F(RecentFiles, AFileNoLongerThereIsSaidSoAndTakenOffTheList) {
    commands->setPreferencesFolder(dir.path());
    const std::string gone = Star("gone.txt", "GONE");
    const std::string columns = ThreeColumn("rcar.dat");
    LoadAndFill(gone);
    commands->Run(cmd::LoadThreeColumnFile, columns);
    std::filesystem::remove(gone);

    commands->Run(cmd::mnuRecent_Click, 1);
    commands->Run(cmd::FinishFill);
    const Msg missing = {"The file " + Q(gone) +
                             " is no longer there. It has been taken off the list of recent files.",
                         "File Not Found", Buttons::OK, Icon::Exclamation};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{missing});
    EXPECT_EQ(Kept(), (std::vector<RecentFile>{{Kind::ThreeColumnFile, columns}}));
    EXPECT_EQ(view().recentFiles.size(), 1u);
    // The star that was loaded stays.
    EXPECT_TRUE(state().star.FileLoaded);
    EXPECT_EQ(state().star.StarName, "rcar");
}

// A folder in place of the file was called "no longer there".
TEST_F(RecentFiles, SomethingElseUnderTheNameIsNoRegularFile) {
    commands->setPreferencesFolder(dir.path());
    const std::string star = Star("rleo.txt", "R Leo");
    LoadAndFill(star);
    ASSERT_TRUE(commands->Run(cmd::UnloadStar));
    std::filesystem::remove(star);
    std::filesystem::create_directory(star);
    commands->Run(cmd::mnuRecent_Click, 0);
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"The file " + Q(star) +
                                     " is no longer a regular file. It has been taken off the list "
                                     "of recent files.",
                                 "Not a File", Buttons::OK, Icon::Exclamation}}));
    EXPECT_TRUE(Kept().empty());
}

TEST_F(RecentFiles, DroppedFilesLoadAsTheirKindAfterTheUsualQuestion) {
    const std::string star = Star("rleo.txt", "R Leo");
    commands->Run(cmd::DropFile, star);
    commands->Run(cmd::FinishFill);
    EXPECT_TRUE(state().star.FileLoaded);
    EXPECT_FALSE(state().star.ThreeColumnFormat);
    EXPECT_EQ(view().starLabel, QString("R LEO - (2 Points)"));

    // Three columns in a ".txt": known by its lines.
    const std::string columns = ThreeColumn("rcar.txt");
    prompts.answer(Answer::Cancel);
    commands->Run(cmd::DropFile, columns);
    commands->Run(cmd::FinishFill);
    EXPECT_EQ(view().starLabel, QString("R LEO - (2 Points)"));
    prompts.answer(Answer::OK);
    commands->Run(cmd::DropFile, columns);
    commands->Run(cmd::FinishFill);
    EXPECT_TRUE(state().star.ThreeColumnFormat);
    EXPECT_EQ(view().panels[0], "File: " + Q(columns));
    EXPECT_EQ(table().Count(), 2);

    commands->Run(cmd::DropFile, dir.path());
    commands->Run(cmd::FinishFill);
    EXPECT_EQ(prompts.messages.back(), (Msg{Q(dir.path()) + " is not a file that can be loaded.",
                                            "File Not Found", Buttons::OK, Icon::Exclamation}));
    EXPECT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(state().star.ThreeColumnFormat);
}

TEST_F(RecentFiles, CalendarDatesRelabelTheJDStripAddTheDateToTheReadoutAndAreKept) {
    commands->setPreferencesFolder(dir.path());
    LoadAndFill(Star("rleo.txt", "R Leo"));
    const QImage jdLabels = picJDScale.image();
    const uint64_t plotDrawn = picView.revision();

    EXPECT_TRUE(commands->Run(cmd::mnuCalendar_Click).calendarChecked);
    EXPECT_NE(picJDScale.image(), jdLabels);
    EXPECT_EQ(picView.revision(), plotDrawn);
    commands->Run(cmd::picView_MouseMove, 0, 0, 0, 9.1);
    EXPECT_EQ(view().panels[2], QString("JD = 2454123.5000  2007-01-23 00:00 UTC"));
    commands->Run(cmd::picJDScale_MouseMove, 2454130.75);
    EXPECT_EQ(view().panels[2], QString("JD = 2454131  2007-01-30 06:00 UTC"));
    EXPECT_TRUE(ReadPreferences(dir.path()).CalendarDates);

    // The next run starts with them; a redraw keeps them.
    MainWindowCommands next(state(), {}, prompts, host, {picView, picJDScale, picMagScale});
    next.setPreferencesFolder(dir.path());
    EXPECT_TRUE(next.view().calendarChecked);
    EXPECT_TRUE(next.state().overlay.CalendarDates);
    const QImage calendarLabels = picJDScale.image();
    commands->Run(cmd::Redraw, true);
    EXPECT_EQ(picJDScale.image(), calendarLabels);

    EXPECT_FALSE(commands->Run(cmd::mnuCalendar_Click).calendarChecked);
    EXPECT_EQ(picJDScale.image(), jdLabels);
    EXPECT_FALSE(ReadPreferences(dir.path()).CalendarDates);
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
}  // namespace sabrix

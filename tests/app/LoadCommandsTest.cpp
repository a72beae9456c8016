// The ways a load ends besides success: a fill that fails after the first plot, a cancel
// during the read or the fill, and the end of the run during the fill.
#include <SQLiteCpp/Database.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/WorkingDatabase.h"
#include "support/CommandsFixture.h"

namespace sabrix {
namespace {

using Look = WindowView::Look;
using Msg = test::RecordedMessage;

class Loads : public test::CommandsFixture {
  protected:
    std::string WriteRLeo() {
        return WriteFile("rleo.txt", {test::DataLine("2454123.5", "9.1", "V", "R Leo"),
                                      test::DataLine("2454125.5", "10.5", "R", "R Leo"),
                                      test::DataLine("2454130.5", "11.2", "V", "R Leo")});
    }

    // Nothing of the file is left: the empty look naming no file, an empty table that the
    // next load may fill.
    void ExpectNothingKept() {
        EXPECT_EQ(view().look, Look::Empty);
        EXPECT_EQ(view().panels[0], QString());
        EXPECT_EQ(view().starLabel, QString());
        EXPECT_FALSE(view().busy || view().filling || view().cancelShown ||
                     view().progressBarShown || view().captionShown);
        EXPECT_FALSE(state().star.FileLoaded);
        EXPECT_TRUE(commands->TableReady());
        EXPECT_EQ(table().Count(), 0);
        EXPECT_FALSE(table().Extremes());
    }
};

TEST_F(Loads, RowTheDatabaseRefusesAfterTheFirstPlotAbandonsTheImportWithItsMessage) {
    {
        SQLite::Database db(WorkingDatabasePath(dir.path()), SQLite::OPEN_READWRITE);
        db.exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON Obs WHEN NEW.JD = 2454125.5 "
            "BEGIN SELECT RAISE(ABORT, 'Data type conversion error.'); END");
    }
    commands->LoadStarFile(WriteRLeo());
    EXPECT_EQ(view().look, Look::Plot);
    EXPECT_TRUE(prompts.messages.empty());

    std::optional<WindowView> behindTheMessage;
    prompts.onMessage = [&](const Msg&) { behindTheMessage = host.presented.back(); };
    commands->FinishFill();
    const Msg failed = {
        "Error in loading database. Check source file. Last JD loaded was: "
        "2454125.5.\r\nData type conversion error.",
        "Error", Buttons::OK, Icon::Critical};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{failed});
    ASSERT_TRUE(behindTheMessage);
    EXPECT_EQ(behindTheMessage->look, Look::Empty);
    ExpectNothingKept();
    // The next load starts from a fresh table, without the refusing trigger.
    commands->LoadStarFile(WriteRLeo());
    commands->FinishFill();
    EXPECT_EQ(table().Count(), 3);
}

TEST_F(Loads, CancelDuringTheReadOrTheFillKeepsNothingOfTheFileAndSaysNothing) {
    struct Moment {
        const char* name;
        bool duringRead;
        std::function<void()> load;
    };
    const std::vector<Moment> moments = {
        {"star file, read", true,
         [&] { commands->LoadStarFile(test::SampleFile("download-mixed.txt")); }},
        {"star file, fill", false,
         [&] { commands->LoadStarFile(test::SampleFile("download-mixed.txt")); }},
        {"three-column file, read", true,
         [&] { commands->LoadThreeColumnFile(test::SampleFile("three-column.dat")); }},
    };
    for (const Moment& m : moments) {
        SCOPED_TRACE(m.name);
        test::WriteFileBytes(dir.file("files/Errors.txt"), "earlier\r\n");
        if (m.duringRead)
            host.onPresent = [&](const WindowView& v) {
                if (v.busy && v.look == Look::Loading) commands->CancelLoad();
            };
        m.load();
        if (!m.duringRead) {
            ASSERT_TRUE(view().filling);
            commands->CancelLoad();
        }
        host.onPresent = nullptr;
        EXPECT_TRUE(prompts.messages.empty());
        ExpectNothingKept();
        EXPECT_FALSE(state().star.ThreeColumnFormat);
        if (m.duringRead) {
            EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), "earlier\r\n");
        }
    }
}

TEST_F(Loads, EndOfTheRunDuringTheFillStopsItAndDeletesTheWorkingDatabase) {
    commands->LoadStarFile(test::SampleFile("download-mixed.txt"));
    ASSERT_TRUE(view().filling);
    EXPECT_EQ(commands->CloseWorkingTable(0), 0);
    EXPECT_FALSE(FileExists(WorkingDatabasePath(dir.path())));
    EXPECT_EQ(commands->table(), nullptr);
}

}  // namespace
}  // namespace sabrix

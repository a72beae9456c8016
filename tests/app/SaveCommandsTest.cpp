// SPDX-License-Identifier: GPL-3.0-or-later
// The three saves through the commands: their refusals and questions, the backup once per
// load, and every failure leaving the files and the edit flag as they were.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/CsvLine.h"
#include "data/DownloadFileExport.h"
#include "data/StarFileExport.h"
#include "data/ThreeColumnFile.h"
#include "support/CommandsFixture.h"
#include "support/FileSizeLimit.h"

namespace sabrix {
namespace {

using test::ReadFileBytes;
using Messages = std::vector<test::RecordedMessage>;

const QDateTime kNow(QDate(2024, 3, 7), QTime(9, 5, 3));
const std::string kOriginal = "JD,Magnitude,...\r\n2454123.5,9.1,,,Vis.,XYZ\r\n";
const test::RecordedMessage kNoChanges{"There have been no changes to save.", "No Changes",
                                       Buttons::OK, Icon::Information};

class FixedClock : public Clock {
  public:
    QDateTime now() const override { return kNow; }
};

ObsRow Obs(double jd, double mag, double error = 0) {
    ObsRow r;
    r.Star = "RCAR";
    r.JD = jd;
    r.Mag = mag;
    r.Error = error;
    return r;
}

// A star "RCAR" taken as loaded from rcar.txt, its rows put in by the test.
class Saves : public test::CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        test::WriteFileBytes(star, kOriginal);
        state().settings.FilePath = star;
        state().star.FileLoaded = true;
        state().star.StarName = "RCAR";
        commands->setClock(&clock);
    }
    void Add(const std::vector<ObsRow>& rows) {
        ObsTable::BulkInserter inserter(table());
        for (const ObsRow& r : rows) inserter.add(r);
        inserter.commit();
    }
    void Save() { commands->Run(cmd::mnuSave_Click); }
    std::string Written() { return StarFileText(table(), "RCAR", kNow, {}); }
    // The captions shown over the logo while the plot gave way to the save, in order.
    std::vector<QString> Steps() const {
        std::vector<QString> steps;
        for (const WindowView& v : host.presented)
            if (v.look == WindowView::Look::Saving &&
                (steps.empty() || steps.back() != v.progressCaption))
                steps.push_back(v.progressCaption);
        return steps;
    }

    std::string star = dir.file("rcar.txt");
    std::string backup = dir.file("rcar.bak");
    FixedClock clock;
};

TEST_F(Saves, TwoStarFilesOfOneBaseNameKeepBothOriginals) {
    const std::string csv = dir.file("rcar.csv");
    const std::string csvOriginal = "JD,Magnitude\r\n2454200.5,8.7,,,Vis.,ABC\r\n";
    test::WriteFileBytes(csv, csvOriginal);
    Add({Obs(2454123.5, 9.1)});
    state().CommandLine = "/alwayssave";
    Save();
    state().settings.FilePath = csv;  // the second file loaded from the same folder
    state().star.BackupMade = false;
    Save();
    EXPECT_EQ(ReadFileBytes(dir.file("rcar.txt.bak")), kOriginal);
    EXPECT_EQ(ReadFileBytes(dir.file("rcar.csv.bak")), csvOriginal);
    EXPECT_FALSE(FileExists(backup));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(Saves, RefusalsComeBeforeAlwaysSaveAndWriteNothing) {
    state().star.ThreeColumnFormat = true;
    state().CommandLine = "/alwayssave";
    Save();
    commands->Run(cmd::mnuSaveDownload_Click);
    state().star.ThreeColumnFormat = false;
    state().star.FileLoaded = false;
    Save();
    commands->Run(cmd::mnuSaveXYZ_Click);
    state().star.FileLoaded = true;
    state().CommandLine = "";
    Save();
    const test::RecordedMessage threeColumn = {
        "This file is in 3-column format. Use the \"Save 3-Column\" menu item.",
        "Wrong File Format", Buttons::OK, Icon::Information};
    EXPECT_EQ(prompts.messages,
              (Messages{threeColumn,
                        threeColumn,
                        {"No star file is loaded.", "No Star Loaded", Buttons::OK, Icon::Critical},
                        {"This file is not in 3-column format. Use the \"Save to Star File\" menu "
                         "item.",
                         "Wrong File Format", Buttons::OK, Icon::Information},
                        kNoChanges}));
    EXPECT_TRUE(Steps().empty());
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
}

TEST_F(Saves, AlwaysSaveWritesAtOnceAndBacksUpOncePerLoad) {
    Add({Obs(2454123.5, 9.1), Obs(2454124.5, 12.345)});
    state().CommandLine = "/alwayssave";
    // Each turn of the event loop shows the save under way, every command refused.
    host.onYield = [&] {
        EXPECT_TRUE(view().busy);
        EXPECT_EQ(view().look, WindowView::Look::Saving);
        EXPECT_TRUE(view().captionShown);
    };
    Save();
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(ReadFileBytes(star), Written());
    EXPECT_EQ(Steps(), (std::vector<QString>{"Backing up file. . . .", "Saving. . . ."}));
    EXPECT_NE(view().look, WindowView::Look::Saving);
    EXPECT_FALSE(view().busy || view().captionShown);
    EXPECT_GE(host.yields, 2);
    Save();
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    state().star.BackupMade = false;  // a new load of the same file
    Save();
    EXPECT_EQ(ReadFileBytes(backup), Written());
}

TEST_F(Saves, OtherCommandLinesAskBeforeOverwritingEdits) {
    Add({Obs(2454123.5, 9.1)});
    state().star.FileEdited = true;
    state().CommandLine = "/AlwaysSave";
    prompts.answer(Answer::No);
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{QString::fromStdString("Are you SURE you want to overwrite " + star + "?"),
                         "Are you SURE?", Buttons::YesNo, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_TRUE(state().star.FileEdited);
    state().CommandLine = "/alwayssave x";
    prompts.answer(Answer::Yes);
    Save();
    EXPECT_EQ(ReadFileBytes(star), Written());
    EXPECT_FALSE(state().star.FileEdited);
}

// A magnitude of four decimals stopped the save with "Cannot format Number" alone, the start
// page instead of the plot behind the box, and no way on: now the question names the first row
// that does not fit, over the plot, and No leaves everything as it was.
TEST_F(Saves, UnformattableMagnitudeOrJDIsNamedOverThePlotAndKeepsEverything) {
    // The magnitude needs seven columns; the JD's whole part alone needs twenty-one.
    Add({Obs(2454123.5, 9.1)});
    const std::pair<ObsRow, QString> cases[] = {
        {Obs(2454124.5, 9.1234),
         "the observation at JD 2454124.5 has the magnitude 9.1234, which does not fit the six "
         "columns that the star file layout has for a magnitude (12.345 fits)."},
        {Obs(1e20, 9.1),
         "the observation at JD 100000000000000000000 has a JD that does not "
         "fit the thirteen columns that the star file layout has for it, even "
         "without its decimals."}};
    int64_t id = 1;
    for (const auto& [unfit, says] : cases) {
        // A second row that does not fit either: the first in ID order is named.
        Add({unfit, Obs(2454125.5, 12.34567)});
        test::WriteFileBytes(backup, "older backup");
        prompts.messages.clear();
        state().star.FileEdited = true;
        state().CommandLine = "/alwayssave";
        std::vector<WindowView::Look> behind;
        prompts.onMessage = [&](const test::RecordedMessage&) {
            behind.push_back(host.presented.back().look);
        };
        prompts.answer(Answer::No);
        Save();
        prompts.onMessage = nullptr;
        EXPECT_EQ(prompts.messages,
                  (Messages{{"Cannot format Number: " + says +
                                 "\r\n\r\nNothing has been saved. Save as Download File "
                                 "instead? It keeps every value.",
                             "OOPS!!", Buttons::YesNo, Icon::Question}}));
        EXPECT_EQ(behind, std::vector{WindowView::Look::Plot});
        EXPECT_EQ(ReadFileBytes(star), kOriginal);
        EXPECT_EQ(ReadFileBytes(backup), "older backup");
        EXPECT_TRUE(state().star.FileEdited);
        EXPECT_EQ(view().look, WindowView::Look::Plot);
        EXPECT_TRUE(prompts.fileDialogs.empty());
        // Nor is the copy begun for the backup left behind.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_NE(entry.path().filename().string().rfind(".rcar.", 0), 0u) << entry.path();
        table().DeleteByIds({++id, ++id});
    }
}

// Yes to the question runs Save as Download File: its dialog offers the loaded file, and the
// file chosen holds every row as the download layout writes it.
TEST_F(Saves, UnformattableMagnitudeOffersSaveAsDownloadFile) {
    Add({Obs(2454123.5, 9.1), Obs(2454124.5, 9.1234)});
    state().star.FileEdited = true;
    prompts.answer(Answer::Yes);  // Are you SURE?
    prompts.answer(Answer::Yes);  // Save as Download File instead?
    const std::string chosen = dir.file("rcar-download.txt");
    prompts.file(QString::fromStdString(chosen));
    std::vector<WindowView::Look> behind;
    prompts.onMessage = [&](const test::RecordedMessage&) {
        behind.push_back(host.presented.back().look);
    };
    prompts.onFileDialog = [&] { behind.push_back(host.presented.back().look); };
    Save();
    // The question and the dialog both come over the plot (the first question came before the
    // save showed anything).
    ASSERT_EQ(behind.size(), 3u);
    EXPECT_EQ(std::vector(behind.begin() + 1, behind.end()),
              std::vector(2, WindowView::Look::Plot));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_TRUE(
        prompts.messages[1].text.startsWith("Cannot format Number: the observation at JD "
                                            "2454124.5 has the magnitude 9.1234"));
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].fileName, QString::fromStdString(star));
    EXPECT_EQ(ReadFileBytes(chosen), DownloadFileText(table(), nullptr, {}).bytes());
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_EQ(state().settings.FilePath, chosen);
}

TEST_F(Saves, EmptyTableOrMissingStarFileShowSaveFileErrorAndWriteNothing) {
    state().star.FileEdited = true;
    prompts.answer(Answer::Yes);
    Save();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text,
              "Error \"No current record.\" encountered in module SaveFile.");
    EXPECT_EQ(prompts.messages[1].title, "Error");
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_TRUE(state().star.FileEdited);

    Add({Obs(2454123.5, 9.1)});
    state().settings.FilePath = dir.file("gone.txt");
    state().CommandLine = "/alwayssave";
    Save();
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(prompts.messages[2].text.endsWith("\" encountered in module SaveFile."));
    EXPECT_FALSE(FileExists(dir.file("gone.txt")));
}

TEST_F(Saves, FailureOfTheCommandItselfIsReportedAndTheProgramGoesOn) {
    prompts.onMessage = [](const test::RecordedMessage& m) {
        if (m.title == "Are you SURE?") throw SabrixError("Dialog failed");
    };
    state().star.FileEdited = true;
    Save();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1],
              (test::RecordedMessage{"Error Dialog failed occured in module mnuSave", "Save Error",
                                     Buttons::OK, Icon::Exclamation}));
    EXPECT_TRUE(state().star.FileEdited);
    EXPECT_FALSE(view().busy);
}

TEST_F(Saves, FullDiskKeepsTheFileAndSaysWhy) {
    std::vector<ObsRow> rows;
    for (int i = 0; i < 100; ++i) rows.push_back(Obs(2454123.5 + i, 9.1, 0.012));
    Add(rows);
    state().star.FileEdited = true;
    state().CommandLine = "/alwayssave";
    {
        // Room for the backup of the small original, not for the new file.
        test::FileSizeLimit fullAfter(1000);
        Save();
    }
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"" + QString(std::strerror(EFBIG)) + "\" encountered in module SaveFile.", "Error",
                         Buttons::OK, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_TRUE(state().star.FileEdited);

    // The three-column save to a chosen file alike.
    state().star.ThreeColumnFormat = true;
    state().star.ThreeColumnFilePath = star;
    prompts.messages.clear();
    const std::string output = dir.file("out.txt");
    test::WriteFileBytes(output, "old three columns\r\n");
    prompts.file(QString::fromStdString(output));
    {
        test::FileSizeLimit fullAfter(1000);
        commands->Run(cmd::mnuSaveXYZ_Click);
    }
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"" + QString(std::strerror(EFBIG)) + "\" encountered in module XYZSaveFile.", "Error",
                         Buttons::OK, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(output), "old three columns\r\n");
    EXPECT_TRUE(state().star.FileEdited);
}

class SaveXYZ : public Saves {
  protected:
    void SetUp() override {
        Saves::SetUp();
        state().star.ThreeColumnFormat = true;
        state().star.ThreeColumnFilePath = star;
        state().settings.FilePath = dir.path();
    }
    void Save() { commands->Run(cmd::mnuSaveXYZ_Click); }
};

TEST_F(SaveXYZ, NoEditsSaysNoChangesUnlessAlwaysSaveAndCancelWritesNothing) {
    Save();
    EXPECT_EQ(prompts.messages, Messages{kNoChanges});
    state().CommandLine = "/alwayssave";
    prompts.file(std::nullopt);
    Save();
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter, "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|");
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder, QString::fromStdString(dir.path()));
    EXPECT_TRUE(prompts.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(Steps(), std::vector<QString>{"Backing up file. . . ."});
    EXPECT_FALSE(FileExists(backup));
}

TEST_F(SaveXYZ, EditsAreWrittenToTheChosenFileAfterABackupButNeverFromAnEmptyTable) {
    state().star.FileEdited = true;
    prompts.file(QString::fromStdString(dir.file("out.txt")));
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"No current record.\" encountered in module XYZSaveFile.", "Error",
                         Buttons::OK, Icon::None}}));
    EXPECT_FALSE(FileExists(dir.file("out.txt")));
    EXPECT_TRUE(state().star.FileEdited);
    Add({Obs(2454123.5, 9.1, 0.012)});
    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_EQ(ReadFileBytes(star), "2454123.5          9.1  0.0120  \r\n");
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_FALSE(state().star.FileEdited);
}

class SaveDownload : public Saves {
  protected:
    void Save() { commands->Run(cmd::mnuSaveDownload_Click); }
};

TEST_F(SaveDownload, OverTheLoadedFileBacksItUpOnceAndAnyOtherFileIsJustWritten) {
    Add({Obs(2454123.5, 9.1234)});
    state().star.FileEdited = true;
    const std::string written = DownloadFileText(table(), nullptr, {}).bytes();
    prompts.file(std::nullopt);  // cancelled: nothing written
    Save();
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].fileName, QString::fromStdString(star));
    EXPECT_TRUE(prompts.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_FALSE(FileExists(backup));
    host.presented.clear();

    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_EQ(ReadFileBytes(star), written);
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_EQ(Steps(),
              (std::vector<QString>{"Saving. . . .", "Backing up file. . . .", "Saving. . . ."}));
    // Elsewhere: no backup of that file, and the first backup of the load stays.
    test::WriteFileBytes(star, "changed since\r\n");
    test::WriteFileBytes(dir.file("other.txt"), "old\r\n");
    prompts.file(QString::fromStdString(dir.file("other.txt")));
    Save();
    EXPECT_EQ(ReadFileBytes(dir.file("other.txt")), written);
    EXPECT_FALSE(FileExists(dir.file("other.bak")));
    EXPECT_EQ(ReadFileBytes(backup), kOriginal);
    EXPECT_TRUE(prompts.messages.empty());
}

// Saved under another name, the edits were in the new file while the window went on naming
// the old one, and a later Ctrl+S said "There have been no changes to save.".
TEST_F(SaveDownload, ToAnotherNameIsASaveAsThatMakesTheNewFileTheLoadedOne) {
    commands->setPreferencesFolder(dir.path());
    Add({Obs(2454123.5, 9.1)});
    state().star.FileEdited = true;
    const std::string copy = dir.file("copy.csv");
    prompts.file(QString::fromStdString(copy));
    Save();
    EXPECT_EQ(ReadFileBytes(copy), DownloadFileText(table(), nullptr, {}).bytes());
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_EQ(state().settings.FilePath, copy);
    EXPECT_EQ(view().panels[0], QString::fromStdString("File: " + copy));
    EXPECT_EQ(commands->preferences().RecentFiles,
              (std::vector<RecentFile>{{ObservationFileKind::StarFile, copy}}));
    EXPECT_FALSE(state().star.FileEdited);

    // Edits from here on belong to the new file, a download file: Ctrl+S asks about it, says
    // what the star layout drops, and backs it up.
    state().star.FileEdited = true;
    prompts.answer(Answer::No);
    commands->Run(cmd::mnuSave_Click);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(
        QString::fromStdString(copy + " is a download file. The star layout keeps no band, ")));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(ReadFileBytes(copy), Written());
    EXPECT_EQ(ReadFileBytes(dir.file("copy.bak")), DownloadFileText(table(), nullptr, {}).bytes());
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
}

// A download saved again upper-cased its star names, wrote 10.290 as 10.29 and dropped the
// blanks of its Charts and Comments: the file no longer was the one that was read.
TEST_F(SaveDownload, GivesBackTheFileAsReadAndChangesOnlyTheLineOfAnEditedRow) {
    for (const std::string& file : test::RealDownloads()) {
        SCOPED_TRACE(file);
        const std::string original = ReadFileBytes(file);
        // The file's own line ends, and CR LF with a last line that has none.
        const std::string crlf = dir.file("crlf.txt");
        std::string crlfText;
        for (const char c : original)
            crlfText += c == '\n' ? std::string("\r\n") : std::string(1, c);
        crlfText.resize(crlfText.size() - 2);
        test::WriteFileBytes(crlf, crlfText);
        for (const auto& [path, bytes] : {std::pair(file, original), std::pair(crlf, crlfText)}) {
            LoadAndFill(path);
            const std::string copy = dir.file("copy.txt");
            prompts.file(QString::fromStdString(copy));
            Save();
            ASSERT_EQ(ReadFileBytes(copy), bytes);

            ObsRow row = *table().RowById(3);
            row.Comments = "dim, low";
            ASSERT_TRUE(table().UpdateRow(row));
            prompts.file(QString::fromStdString(copy));
            Save();
            const std::vector<size_t> before = LineEnds(bytes);
            const std::string_view third(bytes.data() + before[2], before[3] - before[2]);
            std::vector<std::string_view> fields;
            SplitCsvFieldsAsWritten(LineContent(third), fields);
            fields[10] = "\"dim, low\"";
            std::string edited;
            for (const std::string_view f : fields) edited.append(f).append(",");
            edited.pop_back();
            edited += third.substr(LineContent(third).size());
            EXPECT_EQ(ReadFileBytes(copy),
                      bytes.substr(0, before[2]) + edited + bytes.substr(before[3]));
            commands->Run(cmd::UnloadStar);
        }
    }
}

// Ctrl+S over a loaded download asked only whether to overwrite it, and Yes turned it into the
// star layout, which keeps no band or uncertainty.
TEST_F(SaveDownload, CtrlSOverADownloadOffersSaveAsDownloadFileFirst) {
    const std::string file = dir.file("ccd.txt");
    const std::string original = ReadFileBytes(test::SampleFile("download-ccd.txt"));
    test::WriteFileBytes(file, original);
    LoadAndFill(file);
    ObsRow row = *table().RowById(1);
    row.Comments = "checked";
    ASSERT_TRUE(table().UpdateRow(row));
    state().star.FileEdited = true;
    prompts.answer(Answer::Cancel);
    commands->Run(cmd::mnuSave_Click);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(QString::fromStdString(
        file + " is a download file. The star layout keeps no band, uncertainty,")));
    EXPECT_EQ(std::tie(prompts.messages[0].title, prompts.messages[0].buttons),
              std::make_tuple(QString("Are you SURE?"), Buttons::YesNoCancel));
    EXPECT_EQ(ReadFileBytes(file), original);

    // Yes: Save as Download File, here under a new name, which Ctrl+S then targets.
    const std::string copy = dir.file("copy.txt");
    prompts.answer(Answer::Yes);
    prompts.file(QString::fromStdString(copy));
    commands->Run(cmd::mnuSave_Click);
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].fileName, QString::fromStdString(file));
    EXPECT_EQ(ReadFileBytes(file), original);
    EXPECT_NE(ReadFileBytes(copy).find(",checked,"), std::string::npos);
    row.Comments = "checked twice";
    ASSERT_TRUE(table().UpdateRow(row));
    state().star.FileEdited = true;
    prompts.answer(Answer::No);
    commands->Run(cmd::mnuSave_Click);
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_TRUE(prompts.messages[2].text.startsWith(QString::fromStdString(copy + " is a ")));
    EXPECT_EQ(ReadFileBytes(copy), StarFileText(table(), state().star.StarName, kNow, {}));
}

TEST_F(SaveDownload, EmptyTableSaysWhyAndKeepsTheFile) {
    prompts.file(QString::fromStdString(star));
    Save();
    EXPECT_EQ(prompts.messages,
              (Messages{{"Error \"No current record.\" encountered in module DownloadSaveFile.",
                         "Error", Buttons::OK, Icon::None}}));
    EXPECT_EQ(ReadFileBytes(star), kOriginal);
    EXPECT_FALSE(FileExists(backup));
}

}  // namespace
}  // namespace sabrix

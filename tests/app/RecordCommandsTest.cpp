// SPDX-License-Identifier: GPL-3.0-or-later
// Box selection, locate and the record list through the command layer, with a scripted list
// and editor: what each action does to the table, the plot columns, FileEdited, the plot's
// pixels and the saved file.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <tuple>

#include "core/NumberText.h"
#include "data/DownloadSource.h"
#include "data/StarFileExport.h"
#include "interaction/ObserverMarking.h"
#include "interaction/RecordDialogs.h"
#include "support/CommandsFixture.h"
#include "support/FileSizeLimit.h"

namespace sabrix {
namespace {

using Msg = test::RecordedMessage;
using test::DataLine;
using Command = const CommandDeclaration<RecordsController, void>*;

constexpr int kRight = 2;
constexpr int32_t kBandV = 16744448;
constexpr int32_t kRed = 255;                    // band R
constexpr int32_t kFuchsia = 255 + 255 * 65536;  // palette colour 13
constexpr int32_t kRing = 255 + 255 * 256;       // yellow

// The list and the editor, answered from a script. A modal list runs whileModal and then
// stays open until the commands close it (a script that leaves it open fails the test).
class ScriptedRecordDialogs : public RecordDialogs {
  public:
    void showList(const RecordListView& view, bool modal,
                  const std::function<void(const RecordListEvent&)>& onEvent) override {
        ++shows;
        open = true;
        shown = view;
        shownModal = modal;
        send = onEvent;
        if (!modal) return;
        if (whileModal) whileModal();
        EXPECT_FALSE(open) << "a modal list must be closed before it returns";
        open = false;
    }
    void updateList(const RecordListView& view) override {
        ++updates;
        shown = view;
    }
    void closeList() override { open = false; }
    void editRecord(const QString& caption, const std::vector<RecordField>& fields,
                    const std::function<bool(const std::vector<RecordField>&)>& accept) override {
        editorCaption = caption;
        editorFields = fields;
        // Each scripted OK edits the fields as shown; the editor closes when one is taken.
        while (!edits.empty()) {
            std::vector<RecordField> typed = fields;
            edits.front()(typed);
            edits.pop_front();
            acceptResults.push_back(accept(typed));
            if (acceptResults.back()) return;
        }
    }

    int shows = 0;
    int updates = 0;
    bool open = false;
    bool shownModal = false;
    RecordListView shown;
    std::function<void(const RecordListEvent&)> send;
    std::function<void()> whileModal;
    QString editorCaption;
    std::vector<RecordField> editorFields;
    std::deque<std::function<void(std::vector<RecordField>&)>> edits;
    std::vector<bool> acceptResults;
};

// Sets the text of the editor's field with that column name.
void Type(std::vector<RecordField>& fields, const QString& name, const QString& text) {
    for (RecordField& f : fields)
        if (f.name == name) f.text = text;
}

class RecordCommands : public test::CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        commands->setRecordDialogs(&dialogs);
    }

    // Six observations from JD 2455000 to 2455050; the full view runs from 2454995 to
    // 2455055 and from magnitude 8.5 to 13.5.
    void LoadStar() {
        const std::string path =
            WriteFile("ttst.txt", {DataLine("2455000", "10.0", "V", "T Tst", "", "ABC"),
                                   DataLine("2455010", "11.0", "V", "T Tst", "", "O'B"),
                                   DataLine("2455020", "<12", "Vis.", "T Tst", "", "ABC"),
                                   DataLine("2455030", "12.4", "V", "T Tst", "", "XYZ"),
                                   DataLine("2455040", "9.0", "B", "T Tst", "", "ABC"),
                                   DataLine("2455050", "13.0", "R", "T Tst", "", "XYZ")});
        LoadAndFill(path);
        ASSERT_EQ(view().look, WindowView::Look::Plot);
        ASSERT_TRUE(prompts.messages.empty());
    }

    // A select-edits drag (right button) between two points, x in days since 2455000.
    void DragBox(double x1, double y1, double x2, double y2) {
        commands->Run(cmd::picView_MouseDown, kRight, 0, x1, y1);
        commands->Run(cmd::picView_MouseMove, kRight, 0, x2, y2);
        commands->Run(cmd::picView_MouseUp, kRight, 0, x2, y2);
    }

    // Lists the rows 2, 3 and 4 and chooses the lines given.
    void ListAndChoose(const std::vector<int>& lines) {
        DragBox(10, 11.0, 30, 12.4);
        ASSERT_EQ(dialogs.shown.Count(), 3u);
        commands->Run(cmd::lstRecords_Click, lines, lines.empty() ? -1 : lines.back());
    }

    // Is a ring drawn around the observation's place (at its radius, to the right)?
    bool Ringed(double jd, double mag) const {
        const QPointF p = picView.toPixel(jd - 2455000, mag);
        for (int dx = 3; dx <= 7; ++dx)
            if (picView.pixelColor(static_cast<int>(p.x()) + dx, static_cast<int>(p.y())) == kRing)
                return true;
        return false;
    }

    // Is the colour drawn at the observation's place or a pixel beside it?
    bool Drawn(double jd, double mag, int32_t color) const {
        const QPointF p = picView.toPixel(jd - 2455000, mag);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const int x = static_cast<int>(p.x()) + dx;
                const int y = static_cast<int>(p.y()) + dy;
                if (x >= 0 && y >= 0 && x < picView.pixelWidth() && y < picView.pixelHeight() &&
                    picView.pixelColor(x, y) == color)
                    return true;
            }
        return false;
    }

    // The plotted columns against a fresh connection's query of the file.
    void ExpectPlotInStep() {
        table().Count();  // a statement of the table: it waits for a marking still being written
        SQLite::Database db(table().path(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, "SELECT JD, Mag, PunktFarb FROM Obs ORDER BY JD, ID");
        std::vector<std::tuple<double, float, int32_t>> queried, plotted;
        while (q.executeStep())
            queried.emplace_back(q.getColumn(0).getDouble(),
                                 static_cast<float>(q.getColumn(1).getDouble()),
                                 q.getColumn(2).getInt());
        table().ForEachPointInWindow(-1e9, 1e9, PointFilter(), [&](const PlotPoint& p) {
            plotted.emplace_back(p.JD, p.Mag, p.PunktFarb);
        });
        EXPECT_EQ(plotted, queried);
    }

    ScriptedRecordDialogs dialogs;
};

const QString kLine2 = "2455010,11.0,,,V,O'B,,,,,,,,,,,,T TST";
const QString kLine3 = "2455020,<12.0,,,Vis.,ABC,,,,,,,,,,,,T TST";
const QString kLine4 = "2455030,12.4,,,V,XYZ,,,,,,,,,,,,T TST";

TEST_F(RecordCommands, ABoxDraggedEitherWayListsTheRowsOnAndInsideItsEdges) {
    LoadStar();
    const double drags[][4] = {{10, 11.0, 30, 12.4}, {30, 12.4, 10, 11.0}, {10, 12.4, 30, 11.0}};
    for (const auto& d : drags) {
        DragBox(d[0], d[1], d[2], d[3]);
        ASSERT_NE(commands->recordList(), nullptr);
        EXPECT_EQ(dialogs.shown.Lines(), (std::vector<QString>{kLine2, kLine3, kLine4}));
        EXPECT_EQ(dialogs.shown.heading, QString("3 Records Shown"));
        EXPECT_TRUE(dialogs.shown.editEnabled && dialogs.shown.markEnabled);
        EXPECT_FALSE(dialogs.shownModal);
        EXPECT_EQ(state().overlay.tool, Tool::Locate);
        commands->Run(cmd::frmSelect_Unload);
        EXPECT_FALSE(dialogs.open);
    }
    EXPECT_EQ(dialogs.shows, 3);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RecordCommands, AnEmptyBoxSaysSoAndRedrawsALocatePressNearNothingShowsNothing) {
    LoadStar();
    const size_t presented = host.presented.size();
    DragBox(1, 12, 5, 13);
    EXPECT_EQ(prompts.messages, (std::vector<Msg>{{"No records selected.", "No Selection",
                                                   Buttons::OK, Icon::Information}}));
    EXPECT_GT(host.presented.size(), presented + 1);  // the plot drawn again
    commands->Run(cmd::picView_MouseDown, 1, 0, 5, 13);
    EXPECT_EQ(dialogs.shows, 0);
    EXPECT_EQ(commands->recordList(), nullptr);
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(RecordCommands, ALocatePressListsTheRowsNearItInAModalListThatCloseEnds) {
    LoadStar();
    dialogs.whileModal = [this] {
        EXPECT_EQ(dialogs.shown.Lines(), std::vector<QString>{kLine4});
        EXPECT_EQ(dialogs.shown.heading, QString("1 Records Shown"));
        RecordListEvent close;
        close.kind = RecordListEvent::Kind::Close;
        dialogs.send(close);
    };
    // 0.5 day and 0.05 magnitude from row 4: within a hundredth of the 60-day window and 0.1.
    commands->Run(cmd::picView_MouseDown, 1, 0, 30.5, 12.45);
    EXPECT_TRUE(dialogs.shownModal);
    EXPECT_EQ(commands->recordList(), nullptr);
    EXPECT_EQ(view().cursorName, QString("XHairs"));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(RecordCommands, ANewSelectionWhileTheListIsOpenListsItsRowsInThatWindow) {
    LoadStar();
    DragBox(10, 11.0, 30, 12.4);
    commands->Run(cmd::lstRecords_Click, std::vector<int>{2}, 2);
    DragBox(-1, 9.5, 45, 10.5);  // row 1
    EXPECT_EQ(dialogs.shows, 1);
    EXPECT_EQ(dialogs.shown.heading, QString("1 Records Shown"));
    EXPECT_EQ(dialogs.shown.Lines(), std::vector<QString>{"2455000,10.0,,,V,ABC,,,,,,,,,,,,T TST"});
    EXPECT_TRUE(dialogs.shown.chosen.empty());  // the chosen row is no longer listed
    // A locate press lists its rows there too, instead of opening a second, modal list.
    commands->Run(cmd::picView_MouseDown, 1, 0, 30, 12.4);
    EXPECT_EQ(dialogs.shows, 1);
    EXPECT_EQ(dialogs.shown.Lines(), std::vector<QString>{kLine4});
    EXPECT_TRUE(dialogs.open);
}

TEST_F(RecordCommands, EachActionWarnsWhileNoLineIsChosenAndChangesNothing) {
    LoadStar();
    ListAndChoose({});
    const Msg star{"You did not select a star", "No Star Selected", Buttons::OK, Icon::Exclamation};
    const Msg record{"You did not select a record", "No Star Selected", Buttons::OK,
                     Icon::Exclamation};
    const std::pair<Command, Msg> actions[] = {{&cmd::cmdLog_Click, star},
                                               {&cmd::cmdDelete_Click, star},
                                               {&cmd::cmdEdit_Click, star},
                                               {&cmd::cmdMark_Click, record}};
    for (const auto& [action, warning] : actions) {
        prompts.messages.clear();
        commands->Run(*action);
        EXPECT_EQ(prompts.messages, std::vector<Msg>{warning});
    }
    EXPECT_FALSE(dialogs.shown.paletteShown);
    EXPECT_TRUE(dialogs.editorFields.empty());
    EXPECT_EQ(table().Count(), 6);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_TRUE(dialogs.open);
}

TEST_F(RecordCommands, NoToTheDeleteQuestionChangesNothing) {
    LoadStar();
    ListAndChoose({2});
    prompts.answer(Answer::No);
    commands->Run(cmd::cmdDelete_Click);
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"Are you sure you want to delete this record?",
                                 "Delete This Record?", Buttons::YesNo, Icon::None}}));
    EXPECT_EQ(table().Count(), 6);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_EQ(dialogs.shown.Count(), 3u);
    EXPECT_TRUE(dialogs.open);
    EXPECT_TRUE(Drawn(2455030, 12.4, kBandV));
}

TEST_F(RecordCommands, DeleteRemovesTheChosenRowsFromTheTableAndThePlotAndClosesTheList) {
    const struct {
        std::vector<int> lines;
        QString question;
        QString title;
    } cases[] = {
        {{2}, "Are you sure you want to delete this record?", "Delete This Record?"},
        {{0, 2}, "Are you sure you want to delete these 2 records?", "Delete These Records?"}};
    for (const auto& c : cases) {
        prompts.messages.clear();
        LoadStar();
        ListAndChoose(c.lines);
        prompts.answer(Answer::Yes);
        commands->Run(cmd::cmdDelete_Click);
        EXPECT_EQ(prompts.messages,
                  (std::vector<Msg>{{c.question, c.title, Buttons::YesNo, Icon::None},
                                    {"Database successfully updated.", "Record Deleted",
                                     Buttons::OK, Icon::None}}));
        EXPECT_EQ(table().Count(), 6 - static_cast<int64_t>(c.lines.size()));
        EXPECT_FALSE(table().RowById(4));
        EXPECT_EQ(table().RowById(2).has_value(), c.lines.size() == 1);
        EXPECT_TRUE(table().RowById(3));
        ExpectPlotInStep();
        EXPECT_TRUE(state().star.FileEdited);
        EXPECT_FALSE(Drawn(2455030, 12.4, kBandV));
        EXPECT_EQ(Drawn(2455010, 11.0, kBandV), c.lines.size() == 1);
        EXPECT_EQ(view().starLabel,
                  QString("T TST - (%1 Points)").arg(6 - static_cast<int>(c.lines.size())));
        EXPECT_FALSE(dialogs.open);
        EXPECT_EQ(commands->recordList(), nullptr);
    }
}

TEST_F(RecordCommands, EditRefusesAFieldItCannotWriteAndWritesTheRowOnOK) {
    LoadStar();
    ListAndChoose({2});
    dialogs.edits.push_back([](std::vector<RecordField>& f) { Type(f, "Mag", "12.4:"); });
    dialogs.edits.push_back([](std::vector<RecordField>& f) {
        Type(f, "Mag", "12.1");
        Type(f, "Band", "R");
        Type(f, "Comments", "typo mended");
    });
    commands->Run(cmd::cmdEdit_Click);
    EXPECT_EQ(dialogs.editorCaption, QString("Edit Record"));
    EXPECT_EQ(dialogs.acceptResults, (std::vector<bool>{false, true}));
    EXPECT_EQ(prompts.messages,
              (std::vector<Msg>{{"Mag is not a number: \"12.4:\". Type a number such as 9.5; "
                                 "nothing has been changed.",
                                 "Edit Record", Buttons::OK, Icon::Exclamation}}));
    const ObsRow row = *table().RowById(4);
    EXPECT_EQ(std::make_tuple(row.Mag, row.Band, row.Comments, row.PunktFarb),
              std::make_tuple(12.1, std::string("R"), std::string("typo mended"), kRed));
    ExpectPlotInStep();
    EXPECT_TRUE(state().star.FileEdited);
    EXPECT_TRUE(Drawn(2455030, 12.1, kRed));
    EXPECT_FALSE(Drawn(2455030, 12.4, kBandV));
    EXPECT_EQ(dialogs.shown.Line(2), QString("2455030,12.1,,,R,XYZ,,,,,typo mended,,,,,,,T TST"));
    EXPECT_TRUE(dialogs.open);

    // Cancel (the script runs out) and an OK that changed nothing leave everything alone.
    state().star.FileEdited = false;
    commands->Run(cmd::cmdEdit_Click);
    dialogs.edits.push_back([](std::vector<RecordField>&) {});
    commands->Run(cmd::cmdEdit_Click);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_EQ(table().RowById(4)->Mag, 12.1);
}

TEST_F(RecordCommands, MarkingColoursTheObserversRowsAndCloseDrawsThemJoined) {
    state().settings.ConnectMarked = true;
    LoadStar();
    ListAndChoose({1});                  // row 3, observer ABC
    commands->Run(cmd::cmd0_Click, 13);  // the palette is not shown yet: nothing happens
    EXPECT_FALSE(marks().ObserverMarked);
    commands->Run(cmd::cmdMark_Click);
    EXPECT_TRUE(dialogs.shown.paletteShown);
    EXPECT_EQ(dialogs.shown.colorPrompt, QString("Pick a color for observer ABC. "));
    commands->Run(cmd::cmd0_Click, 13);
    EXPECT_FALSE(dialogs.shown.paletteShown);
    EXPECT_TRUE(dialogs.open);
    for (const int64_t id : {1, 3, 5}) {
        EXPECT_EQ(table().RowById(id)->PunktFarb, kFuchsia) << id;
        EXPECT_EQ(table().RowById(id)->Marked, "1") << id;
    }
    EXPECT_EQ(table().RowById(4)->Marked, "");
    ExpectPlotInStep();
    EXPECT_FALSE(state().star.FileEdited);
    // The marks show when the list closes: the points and the line from row 3 to row 5.
    EXPECT_FALSE(Drawn(2455030, 10.5, kFuchsia));
    commands->Run(cmd::cmdClose_Click);
    EXPECT_TRUE(Drawn(2455000, 10.0, kFuchsia));
    EXPECT_TRUE(Drawn(2455030, 10.5, kFuchsia));
    EXPECT_TRUE(Drawn(2455030, 12.4, kBandV));

    // Deleting a marked row takes its point out of the joining line; Refresh unmarks.
    DragBox(19, 9, 41, 12.5);  // rows 3, 4 and 5
    commands->Run(cmd::lstRecords_Click, std::vector<int>{2}, 2);
    prompts.answer(Answer::Yes);
    commands->Run(cmd::cmdDelete_Click);
    EXPECT_EQ(marks().MarkList, (std::vector<MarkEntry>{{"1", "2455000", "10", "16711935"},
                                                        {"1", "2455020", "12", "16711935"}}));
    EXPECT_FALSE(Drawn(2455030, 10.5, kFuchsia));
    commands->Run(cmd::cmdRefresh_Click);
    EXPECT_EQ(table().RowById(1)->PunktFarb, kBandV);
    EXPECT_FALSE(Drawn(2455000, 10.0, kFuchsia));
}

TEST_F(RecordCommands, MoreColorsMarksInTheChosenColourClosesTheListAndShowsTheMarks) {
    LoadStar();
    ListAndChoose({0});  // row 2, observer O'B
    commands->Run(cmd::cmdMark_Click);
    prompts.color(std::nullopt);  // cancel: the list stays as it was
    commands->Run(cmd::cmdMoreColors_Click);
    EXPECT_TRUE(dialogs.open && dialogs.shown.paletteShown);
    prompts.color(kFuchsia);
    commands->Run(cmd::cmdMoreColors_Click);
    EXPECT_EQ(table().RowById(2)->PunktFarb, kFuchsia);
    EXPECT_EQ(marks().MarkList, (std::vector<MarkEntry>{{"1", "2455010", "11", "16711935"}}));
    EXPECT_FALSE(dialogs.open);
    EXPECT_TRUE(Drawn(2455010, 11.0, kFuchsia));
}

TEST_F(RecordCommands, LogToFileAppendsTheChosenLinesToTheFileChosen) {
    LoadStar();
    ListAndChoose({1});
    const std::string log = state().star.FilesFolder + "/log.txt";
    for (int i = 0; i < 2; ++i) {
        prompts.file(QString::fromStdString(log));
        commands->Run(cmd::cmdLog_Click);
    }
    prompts.file(std::nullopt);  // cancel writes nothing
    commands->Run(cmd::cmdLog_Click);
    const std::string line = kLine3.toStdString() + "\r\n";
    EXPECT_EQ(test::ReadFileBytes(log), line + line);
    ASSERT_EQ(prompts.fileDialogs.size(), 3u);
    EXPECT_EQ(prompts.fileDialogs[0].filter,
              QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder,
              QString::fromStdString(state().star.FilesFolder));
    // A file that cannot be written says so.
    prompts.file(QString::fromStdString(dir.file("no/such/folder/log.txt")));
    commands->Run(cmd::cmdLog_Click);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.endsWith("encountered in module cmdLog."));
    EXPECT_FALSE(state().star.FileEdited);
}

// A full disk tore the appended lines: the log kept a part of a line without its CR LF.
TEST_F(RecordCommands, LogToFileOnAFullDiskLeavesTheLogAsItWas) {
    LoadStar();
    ListAndChoose({1});
    const std::string log = state().star.FilesFolder + "/log.txt";
    const std::string old(100, 'x');
    test::WriteFileBytes(log, old);
    prompts.file(QString::fromStdString(log));
    {
        test::FileSizeLimit fullAfter(old.size() + 10);
        commands->Run(cmd::cmdLog_Click);
    }
    EXPECT_EQ(test::ReadFileBytes(log), old);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.endsWith("encountered in module cmdLog."));
}

TEST_F(RecordCommands, CloseEndsInTheLocateToolTheCloseBoxLeavesTheToolAndTakesTheRings) {
    LoadStar();
    ListAndChoose({0});
    commands->Run(cmd::cmdJDZoom_Click);
    commands->Run(cmd::frmSelect_Unload);
    EXPECT_FALSE(dialogs.open);
    EXPECT_EQ(state().overlay.tool, Tool::JDZoom);
    EXPECT_FALSE(Ringed(2455010, 11.0));

    commands->Run(cmd::cmdLocate_Click);
    ListAndChoose({0});
    commands->Run(cmd::cmdJDZoom_Click);
    commands->Run(cmd::cmdClose_Click);
    EXPECT_EQ(state().overlay.tool, Tool::Locate);
    EXPECT_EQ(view().cursorName, QString("XHairs"));
    EXPECT_FALSE(dialogs.open);
}

TEST_F(RecordCommands, TheChosenLinesPointsAreRingedWhileTheListIsOpen) {
    LoadStar();
    ListAndChoose({0, 2});  // rows 2 and 4 of rows 2, 3 and 4
    EXPECT_TRUE(Ringed(2455010, 11.0));
    EXPECT_FALSE(Ringed(2455020, 12.0));
    EXPECT_TRUE(Ringed(2455030, 12.4));
    // Another choice moves the rings; a redraw (a zoom, a resize) keeps them.
    commands->Run(cmd::lstRecords_Click, std::vector<int>{1}, 1);
    commands->Run(cmd::cmdRefresh_Click);
    EXPECT_FALSE(Ringed(2455010, 11.0));
    EXPECT_TRUE(Ringed(2455020, 12.0));
    commands->Run(cmd::cmdClose_Click);
    EXPECT_FALSE(Ringed(2455020, 12.0));
}

TEST_F(RecordCommands, UnloadingTheStarClosesItsList) {
    LoadStar();
    ListAndChoose({0});
    commands->Run(cmd::UnloadStar);
    EXPECT_FALSE(dialogs.open);
    EXPECT_EQ(commands->recordList(), nullptr);
    EXPECT_EQ(commands->Run(cmd::cmdDelete_Click).look, WindowView::Look::Start);
}

// The list of a three-column file showed fifteen empty download fields and reduced times
// while the tooltip showed the times of the scale.
TEST_F(RecordCommands, ThreeColumnDataIsListedWithItsOwnFieldsAndTimesWithoutEditAndMark) {
    commands->Run(cmd::LoadThreeColumnFile,
                  WriteFile("curve.dat", {"5000.5 10.0 0.02", "5001.5 10.5 0.03"}), 2450000.0);
    ASSERT_EQ(view().look, WindowView::Look::Plot);
    commands->Run(cmd::BoxFinder, -10, 0, 10, 20);
    EXPECT_EQ(dialogs.shown.Lines(),
              (std::vector<QString>{"2455000.5,10.0,0.02", "2455001.5,10.5,0.03"}));
    EXPECT_EQ(RecordListHeader(dialogs.shown.threeColumn), QString("JD,Mag,Error"));
    EXPECT_FALSE(dialogs.shown.editEnabled || dialogs.shown.markEnabled);
}

TEST_F(RecordCommands, ASaveAfterEditsAndDeletesOfADownloadWritesTheEditsAndLacksTheDeleted) {
    const std::string path = dir.file("download-ccd.txt");
    test::WriteFileBytes(path, test::ReadFileBytes(test::SampleFile("download-ccd.txt")));
    LoadAndFill(path);
    ASSERT_EQ(table().Count(), 340);
    ASSERT_TRUE(prompts.messages.empty());
    std::vector<ObsRow> rows;
    table().ForEachRowById([&rows](const ObsRow& r) { rows.push_back(r); });
    const double first = state().view.JDFirst;
    // A box around rows 1 and 2, whose JDs have five decimals.
    commands->Run(cmd::BoxFinder, rows[0].JD - first - 0.0003, rows[0].Mag + 0.01,
                  rows[1].JD - first + 0.0003, rows[1].Mag - 0.01);
    ASSERT_EQ(dialogs.shown.Count(), 2u);
    commands->Run(cmd::lstRecords_Click, std::vector<int>{0, 1}, 1);
    prompts.answer(Answer::Yes);
    commands->Run(cmd::cmdDelete_Click);
    commands->Run(cmd::BoxFinder, rows[2].JD - first - 0.0003, rows[2].Mag - 0.01,
                  rows[2].JD - first + 0.0003, rows[2].Mag + 0.01);
    ASSERT_EQ(dialogs.shown.Count(), 1u);
    commands->Run(cmd::lstRecords_Click, std::vector<int>{0}, 0);
    dialogs.edits.push_back([](std::vector<RecordField>& f) {
        Type(f, "Mag", "10.5");
        Type(f, "Comments", "checked");
    });
    commands->Run(cmd::cmdEdit_Click);
    prompts.answer(Answer::No);  // the star layout, not Save as Download File
    commands->Run(cmd::mnuSave_Click);
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_FALSE(state().star.FileEdited);

    const std::string saved = test::ReadFileBytes(path);
    ObsRow edited = rows[2];
    edited.Mag = 10.5;
    edited.Comments = "checked";
    EXPECT_NE(StarFileRecordLine(edited).find(" 10.5"), std::string::npos);
    std::string expected;
    for (size_t i = 2; i < rows.size(); ++i)
        expected += StarFileRecordLine(i == 2 ? edited : rows[i]) + "\r\n";
    EXPECT_EQ(saved.substr(saved.find("\r\n\r\n") + 4), expected);
}

// An edited number is written as it was typed ("10.500", not "10.5") while the row holds the
// value typed; an undo gives back the file's own line, a redo the typed text. A typed
// exponent is no form of the file and is written plainly.
TEST_F(RecordCommands, SaveAsDownloadFileWritesEditedNumbersWithTheDigitsTyped) {
    const std::string path = dir.file("download-ccd.txt");
    const std::string original = test::ReadFileBytes(test::SampleFile("download-ccd.txt"));
    test::WriteFileBytes(path, original);
    LoadAndFill(path);
    const ObsRow row = *table().RowById(3);
    const double first = state().view.JDFirst;
    const std::string jdTyped = FormatDouble(row.JD + 0.25) + "00";
    // Edits row 3, drawn at (x, y), to the texts typed.
    const auto editRow3 = [&](double x, double y, const QString& jd, const QString& mag) {
        commands->Run(cmd::BoxFinder, x - first - 0.0003, y - 0.01, x - first + 0.0003, y + 0.01);
        ASSERT_EQ(dialogs.shown.Count(), 1u);
        commands->Run(cmd::lstRecords_Click, std::vector<int>{0}, 0);
        dialogs.edits.push_back([=](std::vector<RecordField>& f) {
            Type(f, "JD", jd);
            Type(f, "Mag", mag);
        });
        commands->Run(cmd::cmdEdit_Click);
        commands->Run(cmd::cmdClose_Click);
    };
    const std::string copy = dir.file("copy.txt");
    const auto saved = [&] {
        prompts.file(QString::fromStdString(copy));
        commands->Run(cmd::mnuSaveDownload_Click);
        return test::ReadFileBytes(copy);
    };
    const std::vector<size_t> ends = LineEnds(original);
    const std::string before = original.substr(0, ends[2]);
    const std::string after = original.substr(ends[3]);
    const std::string_view line(original.data() + ends[2], ends[3] - ends[2]);
    const std::string rest(line.substr(line.find(',', line.find(',') + 1)));

    // (A save clears the undo stack.)
    const QString jdWithBlanks = QString::fromStdString(" " + jdTyped + " ");
    editRow3(row.JD, row.Mag, jdWithBlanks, QStringLiteral("10.500"));
    commands->Run(cmd::mnuUndo_Click);
    EXPECT_EQ(saved(), original);
    editRow3(row.JD, row.Mag, jdWithBlanks, QStringLiteral("10.500"));
    commands->Run(cmd::mnuUndo_Click);
    commands->Run(cmd::mnuRedo_Click);
    EXPECT_EQ(saved(), before + jdTyped + ",10.500" + rest + after);

    editRow3(row.JD + 0.25, 10.5, QString::fromStdString(jdTyped), QStringLiteral("1.06e1"));
    EXPECT_EQ(saved(), before + jdTyped + ",10.6" + rest + after);
}

// What a change to the table can touch: every field of every row in ID order (the order
// of a save) and the plotted points.
struct TableSnapshot {
    std::vector<ObsRow> rows;
    uint64_t points = 0;
    bool operator==(const TableSnapshot&) const = default;
};

class TableChanges : public RecordCommands {
  protected:
    TableSnapshot Snapshot() {
        TableSnapshot s;
        table().ForEachRowById([&s](const ObsRow& r) { s.rows.push_back(r); });
        s.points = table().Columns().Digest() + table().Columns().size();
        return s;
    }
};

TEST_F(TableChanges, UndoAndRedoOfEachKindRestoreTheTableAndTheUnsavedState) {
    LoadStar();
    const auto remove = [this](std::vector<int> lines) {
        ListAndChoose(lines);
        prompts.answer(Answer::Yes);
        commands->Run(cmd::cmdDelete_Click);
        prompts.messages.clear();
    };
    const struct {
        const char* undoText;
        std::function<void()> change;
    } kinds[] = {
        {"Undo Delete 2 Records",
         [&] {
             remove({0, 2});
         }},
        {"Undo Delete 1 Record", [&] { remove({1}); }},
        {"Undo Edit Record",
         [&] {
             ListAndChoose({1});
             dialogs.edits.push_back([](std::vector<RecordField>& f) {
                 Type(f, "JD", "2455045");  // moves the point past another
                 Type(f, "Comments", "checked");
             });
             commands->Run(cmd::cmdEdit_Click);
             commands->Run(cmd::cmdClose_Click);
         }},
        {"Undo Mark 3 Records Discrepant",
         [&] {
             ListAndChoose({0, 1, 2});
             commands->Run(cmd::cmdDiscrepant_Click);
         }},
        {"Undo Clear Discrepant on 2 Records",
         [&] {
             ListAndChoose({0, 1, 2});
             commands->Run(cmd::cmdDiscrepant_Click);
             commands->Run(cmd::lstRecords_Click, std::vector<int>{0, 2}, 2);
             commands->Run(cmd::cmdClearDiscrepant_Click);
         }},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.undoText);
        LoadStar();
        const TableSnapshot loaded = Snapshot();
        kind.change();
        const TableSnapshot changed = Snapshot();
        ASSERT_NE(changed, loaded);
        EXPECT_TRUE(state().star.FileEdited);
        EXPECT_EQ(view().undoText, QString(kind.undoText));
        EXPECT_EQ(view().redoText, QString());

        commands->Run(cmd::mnuUndo_Click);
        if (QString(kind.undoText).startsWith("Undo Clear")) {
            // Back to the rows marked discrepant, which the stack holds as a change too.
            EXPECT_TRUE(state().star.FileEdited);
            commands->Run(cmd::mnuUndo_Click);
        }
        EXPECT_EQ(Snapshot(), loaded);
        EXPECT_FALSE(state().star.FileEdited);
        EXPECT_EQ(view().undoText, QString());
        EXPECT_TRUE(view().redoText.startsWith("Redo "));
        EXPECT_FALSE(dialogs.open);
        EXPECT_EQ(view().starLabel, QString("T TST - (6 Points)"));

        commands->Run(cmd::mnuRedo_Click);
        if (QString(kind.undoText).startsWith("Undo Clear")) commands->Run(cmd::mnuRedo_Click);
        EXPECT_EQ(Snapshot(), changed);
        EXPECT_TRUE(state().star.FileEdited);
        EXPECT_TRUE(prompts.messages.empty());
    }
}

// Undo put back whole rows, marking included, although marking is no edit: a row came back in
// the colour of a marking that Refresh had taken away, and a deleted marked row came back
// outside its joining line.
TEST_F(TableChanges, UndoLeavesTheMarkingAsItIsAndRestoredRowsRejoinIt) {
    LoadStar();
    const ObsRow loaded = *table().RowById(3);  // ABC, 2455020, second in the list
    const auto remove = [this] {
        ListAndChoose({1});
        prompts.answer(Answer::Yes);
        commands->Run(cmd::cmdDelete_Click);
        prompts.messages.clear();
    };
    MarkObs(marks(), table(), "ABC", test::kBlue);
    const std::vector<MarkEntry> joined = marks().MarkList;
    ASSERT_EQ(joined.size(), 3u);
    ListAndChoose({1});
    commands->Run(cmd::cmdDiscrepant_Click);
    commands->Run(cmd::cmdClose_Click);
    commands->Run(cmd::cmdRefresh_Click);
    commands->Run(cmd::mnuUndo_Click);
    EXPECT_EQ(*table().RowById(3), loaded);

    MarkObs(marks(), table(), "ABC", test::kBlue);
    remove();
    EXPECT_EQ(marks().MarkList.size(), 2u);
    commands->Run(cmd::mnuUndo_Click);
    EXPECT_EQ(marks().MarkList, joined);
    EXPECT_EQ(table().RowById(3)->PunktFarb, test::kBlue);
    commands->Run(cmd::mnuRedo_Click);
    EXPECT_EQ(marks().MarkList.size(), 2u);

    // Deleted unmarked, back after its observer was marked: it joins the marking.
    commands->Run(cmd::mnuUndo_Click);
    commands->Run(cmd::cmdRefresh_Click);
    remove();
    MarkObs(marks(), table(), "ABC", test::kBlue);
    commands->Run(cmd::mnuUndo_Click);
    EXPECT_EQ(marks().MarkList, joined);
    commands->Run(cmd::cmdRefresh_Click);
    EXPECT_EQ(*table().RowById(3), loaded);
}

TEST_F(TableChanges, TheStackIsClearedOnSaveAndOnLoad) {
    LoadStar();
    ListAndChoose({0});
    prompts.answer(Answer::Yes);
    commands->Run(cmd::cmdDelete_Click);
    ASSERT_EQ(view().undoText, QString("Undo Delete 1 Record"));
    prompts.answer(Answer::No);  // the star layout, not Save as Download File
    commands->Run(cmd::mnuSave_Click);
    EXPECT_FALSE(state().star.FileEdited);
    EXPECT_EQ(view().undoText, QString());
    const TableSnapshot saved = Snapshot();
    commands->Run(cmd::mnuUndo_Click);
    EXPECT_EQ(Snapshot(), saved);

    DragBox(10, 11.0, 30, 12.4);
    commands->Run(cmd::lstRecords_Click, std::vector<int>{0}, 0);
    commands->Run(cmd::cmdDiscrepant_Click);
    ASSERT_TRUE(state().star.FileEdited);
    prompts.messages.clear();
    LoadStar();
    EXPECT_EQ(view().undoText, QString());
    EXPECT_FALSE(state().star.FileEdited);
}

TEST_F(TableChanges, DiscrepantMarksTakeTheirColourAndSurviveASaveAndReloadClearRestoresTheFlag) {
    const std::string path = dir.file("download-ccd.txt");
    test::WriteFileBytes(path, test::ReadFileBytes(test::SampleFile("download-ccd.txt")));
    LoadAndFill(path);
    std::vector<ObsRow> rows;
    table().ForEachRowById([&rows](const ObsRow& r) { rows.push_back(r); });
    ASSERT_FALSE(rows[0].Valid.empty());
    const double first = state().view.JDFirst;
    const auto listFirst = [&] {
        commands->Run(cmd::BoxFinder, rows[0].JD - first - 0.0003, rows[0].Mag + 0.01,
                      rows[0].JD - first + 0.0003, rows[0].Mag - 0.01);
        ASSERT_EQ(dialogs.shown.Count(), 1u);
        commands->Run(cmd::lstRecords_Click, std::vector<int>{0}, 0);
    };
    listFirst();
    commands->Run(cmd::cmdDiscrepant_Click);
    ObsRow marked = *table().RowById(rows[0].ID);
    EXPECT_EQ(marked.Valid, "D");
    EXPECT_EQ(marked.PunktFarb, static_cast<int32_t>(state().settings.ColorDISC));
    EXPECT_TRUE(dialogs.shown.Line(0).contains(",D,"));
    commands->Run(cmd::cmdClearDiscrepant_Click);
    EXPECT_EQ(*table().RowById(rows[0].ID), rows[0]);

    // Saved as a download over the loaded file and loaded again: still discrepant.
    commands->Run(cmd::cmdDiscrepant_Click);
    commands->Run(cmd::cmdClose_Click);
    prompts.file(QString::fromStdString(path));
    commands->Run(cmd::mnuSaveDownload_Click);
    prompts.messages.clear();
    LoadAndFill(path);
    marked = *table().RowById(rows[0].ID);
    EXPECT_EQ(marked.Valid, "D");
    EXPECT_EQ(marked.PunktFarb, static_cast<int32_t>(state().settings.ColorDISC));
    // The flag it replaced is not in the file: Clear leaves the flag empty.
    listFirst();
    commands->Run(cmd::cmdClearDiscrepant_Click);
    EXPECT_EQ(table().RowById(rows[0].ID)->Valid, "");
}

}  // namespace
}  // namespace sabrix

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "core/SettingsFile.h"
#include "core/frmPlot.h"
#include "support/PlotWindowFixture.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kRed = 255;              // the first-start colour of band R
constexpr int32_t kBandV = 16744448;       // of band V
constexpr int32_t kFainterThan = 9539985;  // of a fainter-than estimate
constexpr int32_t kBlue = 16711680;

const QString kCheckSource = "Error in loading database. Check source file.";

class FixedClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); }
};

// One line of a download file: the eighteen fields, the ones not given left empty.
std::string DataLine(const std::string& jd, const std::string& mag, const std::string& band,
                     const std::string& star, const std::string& comments = "",
                     const std::string& init = "ABC") {
    std::vector<std::string> fields(18);
    fields[0] = jd;
    fields[1] = mag;
    fields[4] = band;
    fields[5] = init;
    fields[10] = comments;
    fields[17] = star;
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

const std::string kHeader =
    "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),Comp Star 1,"
    "Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name";

class PlotCommands : public test::PlotWindowFixture {
  protected:
    void SetUp() override {
        test::PlotWindowFixture::SetUp();
        // The colours a first start offers, so that every band draws in a colour of its own.
        window->state().settings = DefaultSettings(dir.path());
        window->resize(800, 500);
    }

    std::string WriteFile(const std::string& name, const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\n";
        const std::string path = dir.file(name);
        test::WriteFileBytes(path, text);
        return path;
    }

    // Three observations of R Leo: a red R-band row in the middle of two V-band rows, and
    // the header line of a download, which is skipped.
    std::string WriteRLeo(const std::string& name = "rleo.txt") {
        return WriteFile(name, {kHeader, DataLine("2454123.5", "9.1", "V", "r leo ", "ABC", "XYZ"),
                                DataLine("2454125.5", "10.5", "R", "r leo "),
                                DataLine("2454130.5", "11.2", "V", "r leo ")});
    }

    void LoadThroughTheMenu(const std::string& path) {
        prompts.file(QString::fromStdString(path));
        window->mnuLoad->trigger();
    }

    // The colour drawn on picView at a row's place; -1 when the place is outside the view.
    int32_t ColorAt(double jd, double mag) const {
        const Canvas& canvas = window->picView->canvas();
        const QPointF p = canvas.toPixel(jd - window->state().view.JDFirst, mag);
        const int x = static_cast<int>(p.x());
        const int y = static_cast<int>(p.y());
        if (x < 0 || y < 0 || x >= canvas.pixelWidth() || y >= canvas.pixelHeight()) return -1;
        return canvas.pixelColor(x, y);
    }

    void ExpectPlotLook() const {
        for (QWidget* shown :
             std::vector<QWidget*>{window->picView, window->picJDScale, window->picMagScale,
                                   window->fraButtons, window->lblStarName})
            EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
        for (QWidget* hidden :
             std::vector<QWidget*>{window->picNorvane, window->Label1, window->Label2,
                                   window->cmdLoad, window->prgLoad, window->lblPrg})
            EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }

    void ExpectEmptyLook() const {
        for (QWidget* hidden :
             std::vector<QWidget*>{window->picView, window->picJDScale, window->picMagScale,
                                   window->fraButtons, window->prgLoad, window->lblPrg})
            EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
        EXPECT_TRUE(window->cmdLoad->isVisible());
        EXPECT_TRUE(window->picNorvane->isVisible());
        EXPECT_FALSE(window->state().star.FileLoaded);
        EXPECT_TRUE(window->state().overlay.StateOK);
        EXPECT_FALSE(window->isBusy());
        ASSERT_NE(window->table(), nullptr);
        EXPECT_EQ(window->table()->Count(), 0);
    }

    FixedClock clock;
};

TEST_F(PlotCommands, LoadAFileShowsThePlotOfTheChosenFile) {
    const std::string path = WriteRLeo();
    prompts.file(QString::fromStdString(path));
    QTest::mouseClick(window->cmdLoad, Qt::LeftButton);

    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter, QString("All Files (*.*)|*.*|"));
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder, QString::fromStdString(dir.path()));
    EXPECT_TRUE(prompts.messages.empty());
    ExpectPlotLook();
    EXPECT_EQ(window->panelText(1), QString::fromStdString("File: " + path));
    EXPECT_EQ(window->panelText(2), QString("Magnification = 1 X"));
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (3 Points)"));
    const AppState& s = window->state();
    EXPECT_TRUE(s.star.FileLoaded);
    EXPECT_TRUE(s.overlay.StateOK);
    EXPECT_EQ(s.star.StarName, "r leo");
    EXPECT_EQ(s.star.RecordCount, 4 + 20);
    EXPECT_EQ(window->table()->Count(), 3);
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(window->mnuLoad->isEnabled());

    EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);
    EXPECT_EQ(ColorAt(2454123.5, 9.1), kBandV);
    EXPECT_EQ(window->picView->canvas().pixelColor(0, 0), 0);
}

TEST_F(PlotCommands, SampleDownloadLoadsThroughTheMenu) {
    const std::string path = test::SampleFile("download-ccd.txt");
    LoadThroughTheMenu(path);
    EXPECT_TRUE(prompts.messages.empty());
    ExpectPlotLook();
    EXPECT_EQ(window->lblStarName->text(), QString("PDS 110 - (340 Points)"));
    EXPECT_EQ(window->panelText(1), QString::fromStdString("File: " + path));
    EXPECT_EQ(window->table()->Count(), 340);
}

TEST_F(PlotCommands, LoadingAgainAsksToUnloadTheStarByItsUpperCaseName) {
    LoadThroughTheMenu(WriteRLeo());

    prompts.answer(Answer::Cancel);
    window->mnuLoad->trigger();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QString("Unload current star R LEO ?"));
    EXPECT_EQ(prompts.messages[0].title, QString("Unload Current Star?"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::OKCancel);
    EXPECT_EQ(prompts.messages[0].icon, Icon::Question);
    EXPECT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_TRUE(window->state().star.FileLoaded);
    EXPECT_EQ(window->table()->Count(), 3);
    ExpectPlotLook();
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (3 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);

    const std::string other = WriteFile("tcrb.txt", {DataLine("2454200.5", "2.0", "V", "T CrB")});
    prompts.answer(Answer::OK);
    LoadThroughTheMenu(other);
    EXPECT_EQ(prompts.messages.size(), 2u);
    ASSERT_EQ(prompts.fileDialogs.size(), 2u);
    // The unload forgot the path, so the dialog chooses where it opens.
    EXPECT_EQ(prompts.fileDialogs[1].initialFolder, QString());
    ExpectPlotLook();
    EXPECT_EQ(window->lblStarName->text(), QString("T CRB - (1 Points)"));
    EXPECT_EQ(window->table()->Count(), 1);
    EXPECT_EQ(window->state().view.WinJDWidth, 210.0);
}

TEST_F(PlotCommands, CancelInTheOpenDialogEndsQuietly) {
    prompts.file(std::nullopt);
    window->mnuLoad->trigger();
    EXPECT_TRUE(prompts.messages.empty());
    ExpectEmptyLook();
    EXPECT_TRUE(window->Label1->isVisible());

    // After agreeing to unload, the star stays unloaded.
    LoadThroughTheMenu(WriteRLeo());
    prompts.answer(Answer::OK);
    prompts.file(std::nullopt);
    window->mnuLoad->trigger();
    EXPECT_EQ(prompts.messages.size(), 1u);
    ExpectEmptyLook();
    EXPECT_EQ(window->lblStarName->text(), QString());
}

TEST_F(PlotCommands, FileNamedOnTheCommandLineLoadsWithoutTheDialog) {
    const std::string path = WriteRLeo();
    window->LoadStarFile(path);
    EXPECT_TRUE(prompts.fileDialogs.empty());
    EXPECT_TRUE(prompts.messages.empty());
    ExpectPlotLook();
    EXPECT_EQ(window->panelText(1), QString::fromStdString("File: " + path));
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (3 Points)"));

    // A missing file shows why and leaves the empty window.
    window->LoadStarFile(dir.file("missing.txt"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith(kCheckSource + "\r\n"));
    EXPECT_EQ(prompts.messages[0].icon, Icon::Critical);
    ExpectEmptyLook();
}

TEST_F(PlotCommands, RejectedLinesAreReportedWithTheirCountsOverTheFinishedPlot) {
    const std::string path =
        WriteFile("rejects.txt", {DataLine("2454123.5", "9.1", "V", "R Leo"), "a,b,c",
                                  DataLine("2454125.5", "10.5", "R", "R Leo"), "",
                                  DataLine("2454130.5", "11.2", "V", "R Leo")});
    QString labelBehindTheMessage;
    bool plotShownBehindTheMessage = false;
    prompts.onMessage = [&](const test::RecordedMessage&) {
        labelBehindTheMessage = window->lblStarName->text();
        plotShownBehindTheMessage = window->picView->isVisible();
    };
    LoadThroughTheMenu(path);

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              QString("2 out of 25 records did not comply with the Norvane data format.\r\n"
                      "These records have been ignored.\r\n"
                      "Check Errors.txt for non-compliant records."));
    EXPECT_EQ(prompts.messages[0].title, QString("Database Record Error"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::OK);
    EXPECT_EQ(prompts.messages[0].icon, Icon::None);
    EXPECT_EQ(labelBehindTheMessage, QString("R LEO - (3 Points)"));
    EXPECT_TRUE(plotShownBehindTheMessage);
    ExpectPlotLook();
    EXPECT_EQ(test::ReadFileBytes(dir.file("files/Errors.txt")), "a,b,c\r\n\r\n");
}

TEST_F(PlotCommands, FileWithoutDataLinesSaysSoAndLeavesTheEmptyWindow) {
    const std::string path =
        WriteFile("other.txt", {kHeader, DataLine("245412.5", "9.1", "V", "R Leo")});
    LoadThroughTheMenu(path);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, kCheckSource);
    EXPECT_EQ(prompts.messages[0].title, QString("Sabrix"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::OK);
    EXPECT_EQ(prompts.messages[0].icon, Icon::None);
    ExpectEmptyLook();
    EXPECT_FALSE(window->Label1->isVisible());
    EXPECT_EQ(window->panelText(1), QString::fromStdString("File: " + path));
}

TEST_F(PlotCommands, FilesThatCannotBeLoadedShowTheirErrorAndLeaveNothingLoaded) {
    struct Case {
        std::string name;
        std::vector<std::string> lines;  // nothing: no such file
        bool exists;
        QString text;
    };
    const std::vector<Case> cases = {
        {"empty.txt", {}, true, kCheckSource + "\r\nInput past end of file"},
        {"midway.txt",
         {DataLine("2454123.5", "9.1", "V", "R Leo"), DataLine(" 2454124.5 ", "8.3:", "V", "R Leo"),
          DataLine("2454125.5", "9.4", "V", "R Leo")},
         true,
         kCheckSource + " Last JD loaded was: 2454124.5.\r\nData type conversion error."},
        {"missing.txt", {}, false, kCheckSource + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A star is loaded first: a failed load must not leave any of it behind either.
        prompts.messages.clear();
        if (!window->state().star.FileLoaded) LoadThroughTheMenu(WriteRLeo());
        ASSERT_TRUE(window->state().star.FileLoaded);
        std::string path = dir.file(c.name);
        if (c.exists) {
            if (c.lines.empty())
                test::WriteFileBytes(path, "");
            else
                path = WriteFile(c.name, c.lines);
        }
        prompts.answer(Answer::OK);
        LoadThroughTheMenu(path);

        ASSERT_EQ(prompts.messages.size(), 2u);
        const test::RecordedMessage& m = prompts.messages[1];
        if (c.exists) {
            EXPECT_EQ(m.text, c.text);
        } else {
            // The system's reason follows the line end.
            EXPECT_TRUE(m.text.startsWith(c.text)) << m.text.toStdString();
            EXPECT_GT(m.text.size(), c.text.size());
        }
        EXPECT_EQ(m.title, QString("Error"));
        EXPECT_EQ(m.buttons, Buttons::OK);
        EXPECT_EQ(m.icon, Icon::Critical);
        ExpectEmptyLook();
        EXPECT_EQ(window->lblStarName->text(), QString());
    }
}

TEST_F(PlotCommands, ResetPlotReturnsToTheFullViewAndTakesTheMarksAway) {
    LoadThroughTheMenu(WriteRLeo());
    AppState& s = window->state();
    const PlotWindowState full = s.view;
    // Zoomed into the first day with the box tool, the observer XYZ marked in blue.
    s.view.WinJDLeft = 2454123.0;
    s.view.WinJDRight = 2454124.0;
    s.view.WinJDWidth = 1.0;
    s.view.JDMagnification = 2.5f;
    s.overlay.tool = Tool::Box;
    window->table()->MarkObserver("XYZ", kBlue, "1");
    s.overlay.ObserverMarked = true;
    s.overlay.MarkCount = 1;
    s.overlay.BinsShown = true;
    s.overlay.BinJD = {2454124.0};
    window->Redraw(true);
    EXPECT_EQ(window->panelText(2), QString("Magnification = 2.5 X"));
    EXPECT_EQ(ColorAt(2454123.5, 9.1), kBlue);
    EXPECT_EQ(ColorAt(2454125.5, 10.5), -1);

    QTest::mouseClick(window->cmdReset, Qt::LeftButton);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(s.view.WinJDLeft, full.WinJDLeft);
    EXPECT_EQ(s.view.WinJDRight, full.WinJDRight);
    EXPECT_EQ(s.view.WinMagTop, full.WinMagTop);
    EXPECT_EQ(s.view.WinMagBottom, full.WinMagBottom);
    EXPECT_EQ(s.view.JDMagnification, 1.0f);
    EXPECT_EQ(window->panelText(2), QString("Magnification = 1 X"));
    EXPECT_FALSE(s.overlay.ObserverMarked);
    EXPECT_EQ(s.overlay.MarkCount, 0);
    EXPECT_FALSE(s.overlay.BinsShown);
    EXPECT_TRUE(s.overlay.BinJD.empty());
    EXPECT_EQ(s.overlay.tool, Tool::Box);
    EXPECT_EQ(window->picView->toolCursorName(), QString("XHairs"));
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (3 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);
    EXPECT_EQ(ColorAt(2454123.5, 9.1), kBandV);
    EXPECT_EQ(window->table()->RowById(1)->PunktFarb, kBandV);
    ExpectPlotLook();
}

TEST_F(PlotCommands, OmitFainterThansTogglesItsMarkAndTheCountedRows) {
    LoadThroughTheMenu(WriteFile("faint.txt", {DataLine("2454123.5", "9.1", "V", "R Leo"),
                                               DataLine("2454125.5", "<12.5", "V", "R Leo"),
                                               DataLine("2454130.5", "11.2", "V", "R Leo")}));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), kFainterThan);

    window->mnuFaint->trigger();
    EXPECT_TRUE(window->mnuFaint->isChecked());
    EXPECT_TRUE(window->state().overlay.OmitFainter);
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (2 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), 0);

    // While another job runs the switch waits: the plot would not follow it.
    window->setBusy(true);
    window->mnuFaint_Click();
    window->setBusy(false);
    EXPECT_TRUE(window->state().overlay.OmitFainter);
    EXPECT_TRUE(window->mnuFaint->isChecked());

    window->mnuFaint->trigger();
    EXPECT_FALSE(window->mnuFaint->isChecked());
    EXPECT_FALSE(window->state().overlay.OmitFainter);
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (3 Points)"));
    EXPECT_EQ(ColorAt(2454125.5, 12.5), kFainterThan);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(PlotCommands, ResizingALoadedWindowRedrawsThePlotAtItsNewSize) {
    LoadThroughTheMenu(WriteRLeo());
    const int oldWidth = window->picView->width();
    window->resize(1000, 650);
    const Canvas& canvas = window->picView->canvas();
    EXPECT_GT(window->picView->width(), oldWidth);
    EXPECT_EQ(canvas.pixelWidth(), window->picView->width());
    EXPECT_EQ(canvas.pixelHeight(), window->picView->height());
    EXPECT_EQ(window->picJDScale->canvas().pixelWidth(), window->picView->width());
    EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);
    EXPECT_EQ(window->lblStarName->text(), QString("R LEO - (3 Points)"));
    ExpectPlotLook();
}

TEST_F(PlotCommands, SaveWritesTheEditedTableOverTheStarFileAfterABackup) {
    const std::string path = WriteRLeo();
    const std::string loaded = test::ReadFileBytes(path);
    LoadThroughTheMenu(path);
    window->setClock(&clock);
    window->state().star.FileEdited = true;
    prompts.answer(Answer::Yes);
    window->mnuSave->trigger();

    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              QString::fromStdString("Are you SURE you want to overwrite " + path + "?"));
    EXPECT_EQ(prompts.messages[0].title, QString("Are you SURE?"));
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(test::ReadFileBytes(path),
              "Edited data for r leo. File created on 03-05-2024 at 14:07:09\r\n"
              "\r\n"
              "         R LEO            2454123.5      9.1  ABC     XYZ  \r\n"
              "         R LEO            2454125.5     10.5          ABC  \r\n"
              "         R LEO            2454130.5     11.2          ABC  \r\n");
    EXPECT_EQ(test::ReadFileBytes(dir.file("rleo.bak")), loaded);
    EXPECT_FALSE(window->state().star.FileEdited);
    ExpectPlotLook();
    EXPECT_FALSE(window->isBusy());
    EXPECT_TRUE(window->mnuSave->isEnabled());
}

TEST_F(PlotCommands, WindowResizedDuringASaveShowsThePlotAgainAfterwards) {
    LoadThroughTheMenu(WriteRLeo());
    window->state().star.FileEdited = true;
    // The save runs as a job that yields to the event loop; a resize arriving meanwhile
    // blanks the canvases and must be drawn once the job is over.
    prompts.onMessage = [this](const test::RecordedMessage&) { window->resize(1000, 650); };
    prompts.answer(Answer::Yes);
    window->mnuSave->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->picView->canvas().pixelWidth(), window->picView->width());
    EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);
    ExpectPlotLook();
}

TEST_F(PlotCommands, SaveIsRefusedWhileAnotherJobRuns) {
    const std::string path = WriteRLeo();
    LoadThroughTheMenu(path);
    window->state().star.FileEdited = true;
    window->setBusy(true);
    window->mnuSave_Click();
    window->mnuSaveXYZ_Click();
    window->setBusy(false);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(window->state().star.FileEdited);
    EXPECT_FALSE(fs::exists(dir.file("rleo.bak")));
}

TEST_F(PlotCommands, ThreeColumnFileLoadsThroughTheMenuAndSavesToANewFile) {
    const std::string path = dir.file("three-column.dat");
    fs::copy_file(test::SampleFile("three-column.dat"), path);
    const std::string loaded = test::ReadFileBytes(path);
    prompts.file(QString::fromStdString(path));
    window->mnuXYZ->trigger();

    EXPECT_TRUE(prompts.messages.empty());
    ExpectPlotLook();
    EXPECT_EQ(window->lblStarName->text(),
              QString::fromStdString("File: " + path + " - (383 Points)"));
    EXPECT_EQ(window->panelText(1), QString::fromStdString("File: " + path));
    EXPECT_EQ(window->panelText(2), QString("Magnification = 1 X"));
    EXPECT_TRUE(window->state().star.ThreeColumnFormat);
    EXPECT_EQ(window->state().star.StarName, "three-column");
    EXPECT_EQ(window->table()->Count(), 383);

    const std::string output = dir.file("saved.txt");
    window->state().star.FileEdited = true;
    prompts.file(QString::fromStdString(output));
    window->mnuSaveXYZ->trigger();
    EXPECT_TRUE(prompts.messages.empty());
    const std::string text = test::ReadFileBytes(output);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 383);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "2165.84172      14.253  0.0050  \r\n");
    EXPECT_EQ(test::ReadFileBytes(dir.file("three-column.bak")), loaded);
    EXPECT_EQ(test::ReadFileBytes(path), loaded);
    EXPECT_FALSE(window->state().star.FileEdited);
    ExpectPlotLook();
}

}  // namespace
}  // namespace sabrix

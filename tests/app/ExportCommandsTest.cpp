// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Bins.h"
#include "app/MainWindowCommands.h"
#include "core/ProgramDir.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "plot/PlotImage.h"
#include "plot/PlotImageFile.h"
#include "support/CommandsFixture.h"
#include "support/ScriptedExportDialog.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;
using Messages = std::vector<test::RecordedMessage>;

using test::ScriptedExportDialog;

// The commands on canvases laid out as an exported picture of 640 x 400 lays them out, so the
// window's plot and an export of that size can be compared pixel for pixel.
struct ExportCanvases {
    const PlotAreaLayout layout = LayOutPlotArea(640, 400);
    PlotAreaCanvases window{layout};
};

class ExportCommandsTest : protected ExportCanvases, public test::CommandsFixture {
  protected:
    ExportCommandsTest() : CommandsFixture(window.picView, window.picJDScale, window.picMagScale) {}
    void SetUp() override {
        CommandsFixture::SetUp();
        commands->setImageExportDialog(&dialog);
    }
    void TearDown() override {
        CommandsFixture::TearDown();
        EXPECT_TRUE(dialog.answers.empty());
    }
    void LoadSample() {
        const std::string path = dir.file("download-ccd.txt");
        fs::copy_file(test::SampleFile("download-ccd.txt"), path);
        commands->Run(cmd::LoadStarFile, path);
        ASSERT_TRUE(commands->state().star.FileLoaded);
    }
    // Two thirds of the data's days and the averages of 5 days over them.
    void ZoomAndShowBins() {
        const PlotWindowState& v = commands->state().view;
        const double width = (v.JDLast - v.JDFirst) * 2 / 3;
        commands->Run(cmd::ShowWindow, v.JDFirst, v.JDFirst + width, v.WinMagTop, v.WinMagBottom);
        BinDialogFields fields = InitialBinFields(commands->state());
        fields.binWidth = QStringLiteral("5");
        ASSERT_TRUE(commands->Run(cmd::EnterBins, fields));
        ASSERT_TRUE(binsShown());
        ASSERT_FALSE(bins().BinJD.empty());
    }

    ScriptedExportDialog dialog;
};

}  // namespace

TEST_F(ExportCommandsTest, PngOfTheWindowsSizeIsTheWindowsPlotPixelForPixel) {
    LoadSample();
    ZoomAndShowBins();
    const std::string png = dir.file("plot.png");
    ASSERT_TRUE(commands->Run(cmd::ExportPlotImage, png, 640, 400));
    // The window's plot with the axis titles and the legend that a picture carries.
    TitlePicture(window, false, BandLines(commands->table()->Columns(), commands->state()), true);
    ASSERT_EQ(window.legend.size(), 4u);  // V, B, I and R
    const QImage want = ComposePlotArea(640, 400, layout, window, commands->view().starLabel);
    EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(want.format()), want);
    EXPECT_TRUE(test::CommandsTestPeer::BinsShown(*commands));
    EXPECT_FALSE(commands->view().busy);

    // Another size draws the same view afresh for that size.
    ASSERT_TRUE(commands->Run(cmd::ExportPlotImage, png, 1000, 300));
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(1000, 300));
}

TEST_F(ExportCommandsTest, SvgAndPdfAreDocumentsOfVectorShapesAndText) {
    LoadSample();
    ZoomAndShowBins();
    const std::string svgPath = dir.file("plot.svg");
    ASSERT_TRUE(commands->Run(cmd::ExportPlotImage, svgPath, 800, 500));
    QFile svg(QString::fromStdString(svgPath));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    int shapes = 0;
    int lines = 0;
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("rect")) ++shapes;
        if (xml.name() == QLatin1String("polyline")) ++lines;
        if (xml.name() == QLatin1String("text")) texts << xml.readElementText();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // Every point drawn is a shape of its own, besides the backgrounds; the averages are lines.
    int drawn = 0;
    commands->table()->ForEachPointInWindow(
        commands->state().view.WinJDLeft, commands->state().view.WinJDRight, PointFilter(),
        [&](const PlotPoint& p) {
            drawn += p.Mag >= commands->state().view.WinMagTop &&
                     p.Mag <= commands->state().view.WinMagBottom;
        });
    EXPECT_GT(drawn, 100);
    EXPECT_GE(shapes, drawn);
    EXPECT_GT(lines, 0);
    EXPECT_TRUE(texts.contains(commands->view().starLabel));
    EXPECT_GE(texts.filter(QStringLiteral("2457")).size(), 2);  // JD labels of the strip

    const std::string pdfPath = dir.file("plot.pdf");
    ASSERT_TRUE(commands->Run(cmd::ExportPlotImage, pdfPath, 800, 500));
    const std::string pdf = test::ReadFileBytes(pdfPath);
    EXPECT_EQ(pdf.rfind("%PDF-1.", 0), 0u);
    size_t pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 1u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
}

TEST_F(ExportCommandsTest, MenuOffersTheWindowsSizeThenTheLastChoiceAndTheNameDecidesTheFormat) {
    LoadSample();
    dialog.answers = {ImageExportChoice{300, 200, PlotImageFormat::Svg},
                      ImageExportChoice{320, 240, PlotImageFormat::Png},
                      ImageExportChoice{320, 240, PlotImageFormat::Png}, std::nullopt};
    // A name without an image extension gets the chosen format's.
    prompts.file(QString::fromStdString(dir.file("curve")));
    commands->Run(cmd::mnuExport_Click);
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].fileName, QString::fromStdString(dir.file("PDS 110.svg")));
    EXPECT_EQ(prompts.fileDialogs[0].filter, "SVG Drawings (*.svg)|*.svg|");
    EXPECT_TRUE(prompts.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(test::ReadFileBytes(dir.file("curve.svg")).rfind("<?xml", 0), 0u);

    // A name with an image extension is written in that format, whatever was chosen.
    prompts.file(QString::fromStdString(dir.file("curve.PDF")));
    commands->Run(cmd::mnuExport_Click);
    EXPECT_EQ(test::ReadFileBytes(dir.file("curve.PDF")).rfind("%PDF-", 0), 0u);

    // The appended extension names a file the dialog did not ask about: asked here.
    test::WriteFileBytes(dir.file("curve.png"), "keep");
    prompts.file(QString::fromStdString(dir.file("curve")));
    prompts.answer(Answer::No);
    commands->Run(cmd::mnuExport_Click);
    EXPECT_EQ(test::ReadFileBytes(dir.file("curve.png")), "keep");
    EXPECT_EQ(prompts.messages,
              (Messages{{QString::fromStdString("The file " + dir.file("curve.png") +
                                                " already exists.\r\nDo you want to overwrite it?"),
                         "Export Plot Image", Buttons::YesNo, Icon::None}}));

    commands->Run(cmd::mnuExport_Click);  // cancelled: no file dialog
    EXPECT_EQ(prompts.fileDialogs.size(), 3u);
    const QSize windowSize = PlotAreaSizeFor(window.picView.image().size());
    EXPECT_EQ(windowSize, QSize(640, 400));
    EXPECT_EQ(dialog.offered, (std::vector<ImageExportChoice>{{640, 400, PlotImageFormat::Png},
                                                              {300, 200, PlotImageFormat::Svg},
                                                              {320, 240, PlotImageFormat::Png},
                                                              {320, 240, PlotImageFormat::Png}}));
}

TEST_F(ExportCommandsTest, RefusalsSayWhyAndWriteNothing) {
    commands->Run(cmd::mnuExport_Click);  // nothing loaded
    EXPECT_FALSE(commands->Run(cmd::ExportPlotImage, dir.file("a.png"), 640, 400));
    LoadSample();
    EXPECT_FALSE(commands->Run(cmd::ExportPlotImage, dir.file("a.gif"), 640, 400));
    EXPECT_FALSE(commands->Run(cmd::ExportPlotImage, dir.file("a.png"), 8001, 400));
    EXPECT_FALSE(commands->Run(cmd::ExportPlotImage, dir.file("a.svg"), 640, 49));
    fs::create_directory(dir.file("folder.png"));  // a folder where the file would go
    EXPECT_FALSE(commands->Run(cmd::ExportPlotImage, dir.file("folder.png"), 640, 400));
    const auto size = [](const char* text) {
        return test::RecordedMessage{text, "Export Plot Image", Buttons::OK, Icon::Exclamation};
    };
    ASSERT_EQ(prompts.messages.size(), 5u);
    EXPECT_EQ(prompts.messages[0],
              (test::RecordedMessage{"No star file is loaded.", "No Star Loaded", Buttons::OK,
                                     Icon::Critical}));
    EXPECT_EQ(prompts.messages[1], size(("The file name " + dir.file("a.gif") +
                                         " does not end in .png, .jpg, .svg or .pdf.")
                                            .c_str()));
    EXPECT_EQ(prompts.messages[2],
              size("The picture must be from 50 to 8000 pixels wide and high."));
    EXPECT_EQ(prompts.messages[3], prompts.messages[2]);
    EXPECT_TRUE(prompts.messages[4].text.endsWith(" encountered in module ExportPlotImage."))
        << prompts.messages[4].text.toStdString();
    EXPECT_FALSE(fs::exists(dir.file("a.png")));
    EXPECT_FALSE(fs::exists(dir.file("a.svg")));
    EXPECT_FALSE(commands->view().busy);
}

}  // namespace sabrix

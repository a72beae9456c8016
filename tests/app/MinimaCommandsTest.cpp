// SPDX-License-Identifier: GPL-3.0-or-later
// The times of minimum through the command layer: the box of the tool, the list beside the
// star file, and the O-C diagram, with scripted windows.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "analysis/MinimaDialogs.h"
#include "analysis/MinimaFile.h"
#include "core/NumberText.h"
#include "data/DownloadSource.h"
#include "plot/PlotImageFile.h"
#include "support/CommandsFixture.h"
#include "support/ScriptedExportDialog.h"

namespace sabrix {
namespace {

class ScriptedMinimaDialogs : public MinimaDialogs {
  public:
    std::optional<MinimaWindowView> list;
    std::function<void(const MinimaEvent&)> onList;
    std::optional<OcWindowView> oc;
    std::function<void(const OcEvent&)> onOc;
    QString copied;

    void showList(const MinimaWindowView& view,
                  const std::function<void(const MinimaEvent&)>& onEvent) override {
        list = view;
        onList = onEvent;
    }
    void closeList() override { list.reset(); }
    void showOc(const OcWindowView& view,
                const std::function<void(const OcEvent&)>& onEvent) override {
        oc = view;
        onOc = onEvent;
    }
    void closeOc() override { oc.reset(); }
    void copyText(const QString& text) override { copied = text; }
};

// An eclipsing binary of period 0.8 d observed every 0.004 d for two days: eclipses of 0.6 mag
// at 2455000.4 and 2455001.2 (and 2455000.8, 2455001.6 secondaries of 0.3 mag).
std::vector<std::string> EclipseLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < 500; ++i) {
        const double t = 2455000 + 0.004 * i;
        double phase = (t - 2455000.4) / 0.8;
        phase -= std::floor(phase);
        const auto dip = [&](double at, double depth) {
            const double d = (phase - at) / 0.03;
            return depth * std::exp(-d * d / 2);
        };
        const double mag = 11 + dip(0, 0.6) + dip(1, 0.6) + dip(0.5, 0.3);
        lines.push_back(FormatFixed(t, 1, 5) + " " + FormatFixed(mag, 1, 4) + " 0.005");
    }
    return lines;
}

class MinimaCommands : public test::CommandsFixture {
  protected:
    void SetUp() override {
        CommandsFixture::SetUp();
        commands->setMinimaDialogs(&dialogs);
        file = WriteFile("binary.dat", EclipseLines());
    }
    void Load() {
        commands->Run(cmd::LoadThreeColumnFile, file);
        ASSERT_TRUE(commands->state().star.FileLoaded);
        prompts.messages.clear();
    }
    // The box of the tool around a JD, 0.1 d either side, over every magnitude.
    void BoxAround(double jd) {
        const double first = commands->state().view.JDFirst;
        commands->Run(cmd::mnuMinimum_Click);
        commands->Run(cmd::picView_MouseDown, 1, 0, jd - 0.1 - first, 10);
        commands->Run(cmd::picView_MouseMove, 1, 0, jd + 0.1 - first, 12);
        commands->Run(cmd::picView_MouseUp, 1, 0, jd + 0.1 - first, 12);
    }

    ScriptedMinimaDialogs dialogs;
    std::string file;
};

TEST_F(MinimaCommands, BoxedEclipsesAreListedKeptBesideTheStarAndGiveAnOcDiagram) {
    Load();
    BoxAround(2455000.4);
    BoxAround(2455001.2);
    ASSERT_TRUE(dialogs.list);
    ASSERT_EQ(dialogs.list->rows.size(), 2u);
    double time = 0;
    ASSERT_TRUE(ParseNumber(dialogs.list->rows[1][0].toStdString(), time));
    EXPECT_NEAR(time, 2455001.2, 0.001);
    EXPECT_EQ(dialogs.list->rows[1][2], "KvW");
    EXPECT_EQ(commands->state().overlay.tool, Tool::Locate);
    dialogs.onList({MinimaEvent::Kind::Copy});
    EXPECT_TRUE(dialogs.copied.startsWith(dialogs.list->rows[0][0] + " "));

    // A new start: the list comes back with the star.
    commands->Run(cmd::UnloadStar);
    EXPECT_FALSE(dialogs.list);
    Load();
    ASSERT_EQ(commands->minimaList().size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(MinimaListPath(file)));

    commands->Run(cmd::mnuMinimaList_Click);
    dialogs.onList({MinimaEvent::Kind::OcDiagram});
    ASSERT_TRUE(dialogs.oc);
    OcEvent apply;
    apply.kind = OcEvent::Kind::Apply;
    apply.epoch = QStringLiteral("2455000.4");
    apply.period = QStringLiteral("0.801");
    dialogs.onOc(apply);
    ASSERT_FALSE(dialogs.oc->fitLines.empty());
    EXPECT_TRUE(dialogs.oc->fitLines[0].contains("P = 0.8000"))
        << dialogs.oc->fitLines[0].toStdString();
    EXPECT_TRUE(dialogs.oc->draw);
    // The picture names its axes; the CSV has a line per time.
    test::ScriptedExportDialog exportDialog;
    commands->setImageExportDialog(&exportDialog);
    exportDialog.answers.push_back(ImageExportChoice{800, 500, PlotImageFormat::Svg});
    prompts.file(QString::fromStdString(dir.file("o-c.svg")));
    dialogs.onOc({OcEvent::Kind::ExportImage});
    const std::string svg = test::ReadFileBytes(dir.file("o-c.svg"));
    EXPECT_NE(svg.find("Cycle E"), std::string::npos);
    EXPECT_NE(svg.find("O-C (days)"), std::string::npos);
    prompts.file(QString::fromStdString(dir.file("o-c.csv")));
    dialogs.onOc({OcEvent::Kind::ExportCsv});
    EXPECT_EQ(LineEnds(test::ReadFileBytes(dir.file("o-c.csv"))).size(), 3u);

    // A box with no minimum in it says so and lists nothing.
    const double first = commands->state().view.JDFirst;
    commands->Run(cmd::mnuMinimum_Click);
    commands->Run(cmd::picView_MouseDown, 1, 0, 2455000.55 - first, 10);
    commands->Run(cmd::picView_MouseUp, 1, 0, 2455000.62 - first, 12);
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(commands->minimaList().size(), 2u);
}

}  // namespace
}  // namespace sabrix

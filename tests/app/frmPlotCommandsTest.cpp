#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/frmPlot.h"
#include "core/SettingsFile.h"
#include "support/DownloadLines.h"
#include "support/PlotWindowFixture.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::DataLine;
using test::ExpectPlotLook;
using Msg = test::RecordedMessage;

constexpr int32_t kRed = 255;              // the first-start colour of band R
constexpr int32_t kBandV = 16744448;       // of band V
constexpr int32_t kFainterThan = 9539985;  // of a fainter-than estimate
constexpr int32_t kBlue = 16711680;

class FixedClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); }
};

class PlotCommands : public test::PlotWindowFixture {
  protected:
    void SetUp() override {
        test::PlotWindowFixture::SetUp();
        // The colours a first start offers, so that every band draws in a colour of its own.
        window->state().settings = DefaultSettings(dir.path());
        window->resize(800, 500);
    }

    std::string WriteFile(const std::string& name, const std::vector<std::string>& lines) {
        test::WriteFileBytes(dir.file(name), test::Lines(lines));
        return dir.file(name);
    }

    // Three observations of R Leo: a red R-band row between two V-band rows, after the
    // header line of a download, which is skipped.
    std::string WriteRLeo() {
        return WriteFile("rleo.txt", {test::kDownloadHeader,
                                      DataLine("2454123.5", "9.1", "V", "r leo ", "ABC", "XYZ"),
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

    FixedClock clock;
};

TEST_F(PlotCommands, SaveWritesOverTheStarFileAfterABackupAndResizesRedrawTheRows) {
    const std::string path = WriteRLeo();
    const std::string loaded = test::ReadFileBytes(path);
    LoadThroughTheMenu(path);
    auto expectRedrawn = [&] {
        EXPECT_EQ(window->picView->canvas().pixelWidth(), window->picView->width());
        EXPECT_EQ(window->picView->canvas().pixelHeight(), window->picView->height());
        EXPECT_EQ(window->picJDScale->canvas().pixelWidth(), window->picView->width());
        EXPECT_EQ(ColorAt(2454125.5, 10.5), kRed);
        ExpectPlotLook(*window);
    };
    window->resize(1000, 650);
    expectRedrawn();

    window->commands().setClock(&clock);
    window->state().star.FileEdited = true;
    // The save yields to the event loop; a resize arriving meanwhile blanks the canvases,
    // which must be drawn once the save is over.
    prompts.onMessage = [this](const Msg&) { window->resize(900, 600); };
    prompts.answer(Answer::Yes);
    window->mnuSave->trigger();
    QCoreApplication::processEvents();
    const Msg sure = {QString::fromStdString("Are you SURE you want to overwrite " + path + "?"),
                      "Are you SURE?", Buttons::YesNo, Icon::None};
    EXPECT_EQ(prompts.messages, std::vector<Msg>{sure});
    EXPECT_EQ(test::ReadFileBytes(path),
              "Edited data for r leo. File created on 03-05-2024 at 14:07:09\r\n"
              "\r\n"
              "         R LEO            2454123.5      9.1  ABC     XYZ  \r\n"
              "         R LEO            2454125.5     10.5          ABC  \r\n"
              "         R LEO            2454130.5     11.2          ABC  \r\n");
    EXPECT_EQ(test::ReadFileBytes(dir.file("rleo.bak")), loaded);
    EXPECT_FALSE(window->state().star.FileEdited);
    expectRedrawn();
}

}  // namespace
}  // namespace sabrix

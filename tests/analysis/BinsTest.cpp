// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDateTime>
#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "analysis/Bins.h"
#include "core/NumberText.h"
#include "data/StarFileImport.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

ObsRow Row(double jd, double mag) {
    ObsRow r;
    r.JD = jd;
    r.Mag = mag;
    r.PunktFarb = 65535;
    return r;
}

// The window that Enter sets before the bins are computed.
PlotWindowState EnterView(double jdFirst, double jdLast) {
    PlotWindowState v;
    v.JDFirst = jdFirst;
    v.JDLast = jdLast;
    v.WinJDRight = jdLast + 5;
    v.WinJDLeft = jdFirst - 5;
    return v;
}

TEST(BinLimit, WholeDaysOfTheSpanOverTheRoundedWidthPlusOne) {
    struct Case {
        double span, width;
        int64_t limit;
    };
    for (const Case& c : {Case{100, 10, 11}, Case{15, 10, 2}, Case{8, 10, 1}, Case{100.5, 10, 11},
                          Case{101.5, 10, 11}, Case{100, 10.5, 11}, Case{100, 1.5, 51},
                          Case{100, 1e300, 1}, Case{100, 100, 2}})
        EXPECT_EQ(BinLimit(2450000, 2450000 + c.span, c.width), c.limit)
            << c.span << " / " << c.width;
}

TEST(ReadBinFields, RefusesWhatCannotBeBinnedAndSaysWhatToType) {
    struct Case {
        const char* width;
        const char* sigma;
        bool accepted;
    };
    for (const Case& c : {Case{"10", "2", true}, Case{" 0.6 ", "0", true}, Case{"0.5", "2", false},
                          Case{"0.4", "2", false}, Case{"abc", "2", false}, Case{"", "2", false},
                          Case{"-10", "2", false}, Case{"10", "a", false}, Case{"10", "-1", false},
                          Case{"10", "2.5", false}, Case{"10", "3", true}}) {
        BinDialogFields fields;
        fields.binWidth = QString::fromLatin1(c.width);
        fields.sigma = QString::fromLatin1(c.sigma);
        QString refusal;
        const auto request = ReadBinFields(fields, refusal);
        EXPECT_EQ(request.has_value(), c.accepted) << c.width << " " << c.sigma;
        EXPECT_EQ(refusal.isEmpty(), c.accepted) << c.width << " " << c.sigma;
    }
    BinDialogFields fields;
    fields.sigma = QStringLiteral("3");
    QString refusal;
    EXPECT_EQ(ReadBinFields(fields, refusal)->Sigma, 3);
    fields.binWidth = QStringLiteral("abc");
    ReadBinFields(fields, refusal);
    EXPECT_TRUE(refusal.contains(QStringLiteral("bin size"))) << refusal.toStdString();
}

TEST(LoadBins, RowOnAnEdgeCountsInBothBinsAndOneRowHasNoDeviation) {
    test::TempTable t;
    t.Add({Row(1000, 8), Row(1010, 9), Row(1020, 10)});
    Bins o;
    LoadBins(t.table, PointFilter(), EnterView(1000, 1020), 10, o, {});
    EXPECT_EQ(o.BinJD, (std::vector<double>{1005, 1015, 1025}));
    EXPECT_EQ(o.BinMag, (std::vector<float>{8.5f, 9.5f, 10.0f}));
    ASSERT_EQ(o.BinSD.size(), 3u);
    EXPECT_FLOAT_EQ(o.BinSD[0], 0.70710678f);
    EXPECT_FLOAT_EQ(o.BinSD[1], 0.70710678f);
    EXPECT_EQ(o.BinSD[2], 0.0f);
}

TEST(LoadBins, HundredDaysInTenDayBinsStopAtTheWindowOrTheLimit) {
    test::TempTable t;
    std::vector<ObsRow> rows;
    for (int day = 0; day <= 100; ++day) rows.push_back(Row(2450000 + day, 8 + day % 3));
    t.Add(rows);
    Bins o;
    EXPECT_EQ(LoadBins(t.table, PointFilter(), EnterView(2450000, 2450100), 10, o, {}), 11);
    ASSERT_EQ(o.BinJD.size(), 11u);
    EXPECT_EQ(o.BinJD.front(), 2450005);
    EXPECT_EQ(o.BinJD.back(), 2450105);
    // Each full bin holds eleven days, its two edges included.
    EXPECT_NEAR(o.BinMag[0], (8 + 9 + 10 + 8 + 9 + 10 + 8 + 9 + 10 + 8 + 9) / 11.0, 1e-6);
}

TEST(LoadBins, EmptyBinsAreNotStored) {
    test::TempTable t;
    t.Add({Row(0, 8), Row(35, 9)});
    Bins o;
    o.BinJD = {1, 2, 3};
    o.BinMag = {1, 2, 3};
    o.BinSD = {1, 2, 3};
    LoadBins(t.table, PointFilter(), EnterView(0, 35), 10, o, {});
    EXPECT_EQ(o.BinJD, (std::vector<double>{5, 35}));
    EXPECT_EQ(o.BinMag, (std::vector<float>{8, 9}));
}

// Every empty bin of the span was walked: one-day bins over 10^9 days took minutes.
TEST(LoadBins, EmptyStretchesAreCrossedAtOnce) {
    test::TempTable t;
    t.Add({Row(2450000.5, 8), Row(1002450000.5, 9)});
    Bins o;
    int64_t steps = 0;
    LoadBins(t.table, PointFilter(), EnterView(2450000.5, 1002450000.5), 1, o, [&steps](int64_t) {
        if (++steps > 1000) throw std::runtime_error("every empty bin walked");
    });
    // The second row lies on an edge: it counts in the bins on both sides of it.
    EXPECT_EQ(o.BinJD, (std::vector<double>{2450001, 1002450000, 1002450001}));
    EXPECT_EQ(o.BinMag, (std::vector<float>{8, 9, 9}));
}

// Times too long for exact decimal edges (a file of made-up times): the walk crosses the
// stretches in double and stops where a bin's width no longer moves an edge.
TEST(LoadBins, StretchesBetweenHugeTimesEndInBoundedSteps) {
    for (const auto& [first, last, width] : std::vector<std::tuple<double, double, double>>{
             {1e13 + 0.5, 9e14, 1.5}, {3e14, 1e15, 1}, {1e15, 1e300, 1}, {-1e300, 1e300, 30}}) {
        test::TempTable t;
        t.Add({Row(first, 8), Row(last, 9)});
        Bins o;
        int64_t steps = 0;
        LoadBins(t.table, PointFilter(), EnterView(first, last), width, o, [&](int64_t) {
            if (++steps > 1000) throw std::runtime_error("every empty bin walked");
        });
        EXPECT_FALSE(o.BinJD.empty()) << first;
    }
}

// Crossing a stretch at once gives the bins of a walk through every bin of it, with its edges
// carried as text from one bin to the next.
TEST(LoadBins, CrossedStretchesLeaveTheBinsAsTheWalkGivesThem) {
    std::vector<ObsRow> rows;
    for (int cluster = 0; cluster < 6; ++cluster)
        for (int i = 0; i < 4; ++i)
            rows.push_back(Row(2450000.1234 + cluster * 4321.987 + i * 0.61, 8 + i));
    test::TempTable t;
    t.Add(rows);
    const PlotWindowState view = EnterView(rows.front().JD, rows.back().JD);
    for (const double width : {0.7, 1.0, 3.3, 10.0, 123.456, 1.123456789, 7.77777777777}) {
        SCOPED_TRACE(width);
        std::vector<double> want;
        const auto edge = [](double x) {
            ParseNumber(FormatDouble(x), x);
            return x;
        };
        const int64_t limit = BinLimit(view.JDFirst, view.JDLast, width);
        for (double from = edge(view.JDFirst), to = edge(view.JDFirst + width);;) {
            const bool any = std::any_of(rows.begin(), rows.end(), [&](const ObsRow& r) {
                return from <= r.JD && r.JD <= to;
            });
            if (any) want.push_back((to - from) / 2 + from);
            if (!(to < view.WinJDRight)) break;
            from = edge(from + width);
            to = edge(to + width);
            if (static_cast<int64_t>(want.size()) == limit) break;
        }
        Bins o;
        LoadBins(t.table, PointFilter(), view, width, o, {});
        EXPECT_EQ(o.BinJD, want);
    }
}

TEST(LoadBins, FainterThanRowsCountLikeAnyOther) {
    test::TempTable t;
    ObsRow faint = Row(1005, 12);
    faint.Faint = "<";
    t.Add({Row(1000, 8), faint, Row(1010, 10)});
    Bins o;
    LoadBins(t.table, PointFilter(), EnterView(1000, 1010), 20, o, {});
    ASSERT_EQ(o.BinMag.size(), 1u);
    EXPECT_EQ(o.BinMag[0], 10.0f);
}

// The mean of a bin was summed in single precision: 100,000 magnitudes of 10.428 gave 10.4345
// (a million gave 10.3812). Summed in double, it is the single nearest to the true mean.
TEST(LoadBins, LargeBinHasTheTrueMean) {
    test::TempTable t;
    t.Add(std::vector<ObsRow>(100000, Row(2450000.5, 10.428)));
    Bins o;
    LoadBins(t.table, PointFilter(), EnterView(2450000.5, 2450000.5), 10, o, {});
    ASSERT_EQ(o.BinMag.size(), 1u);
    EXPECT_EQ(o.BinMag[0], 10.428f);
    EXPECT_EQ(o.BinSD[0], 0.0f);
}

// Bins of a few rows print the same bin file as when the sums were kept in single precision.
TEST(LoadBins, BinFileOfARealDownloadIsAsItWas) {
    test::TempTable t;
    const ImportResult loaded = t.LoadStarFile(test::SampleFile("download-ccd.txt"), {});
    ASSERT_EQ(loaded.outcome, ImportResult::Outcome::Loaded);
    const std::optional<DataExtremes> extremes = t.table.Extremes(PointFilter());
    Bins o;
    LoadBins(t.table, PointFilter(), EnterView(extremes->JDFirst, extremes->JDLast), 1, o, {});
    EXPECT_EQ(BinFileLines(o),
              test::ReadFileBytes(test::SampleFile("bins-of-download-ccd-1-day.txt")));
}

TEST(BinFile, HeaderAndLinesAsThePrintedBinFile) {
    const QDateTime when(QDate(2026, 12, 7), QTime(13, 5, 9));
    EXPECT_EQ(BinFileHeader("R Leo", when),
              "Bins plotted for   R Leo   at 12/7/2026 1:05:09 PM\r\n\r\n"
              "     JD             Mag        Std Dev\r\n");
    Bins o;
    o.BinJD = {2454123.5, 12.25};
    o.BinMag = {9.1234f, 10.5f};
    o.BinSD = {0.21f, 0.0f};
    EXPECT_EQ(BinFileLines(o),
              "2454123.5000       9.1234      0.2100\r\n"
              "0000012.2500      10.5000      0.0000\r\n");
}

TEST(FindHiLoBinMags, EarlierBinWinsATieAndStatsLinesShowTheJDs) {
    Bins o;
    o.BinJD = {2454113.5, 2454123.5, 2454133.5, 2454143.5, 2454153.5};
    o.BinMag = {9, 8, 8, 10, 10};
    o.BinSD = {0, 0, 0, 0, 0};
    const HiLoBinMags hiLo = FindHiLoBinMags(o);
    EXPECT_EQ(hiLo.hiMag, 8);
    EXPECT_EQ(hiLo.loMag, 10);
    EXPECT_EQ(hiLo.loJD, 2454143.5);
    EXPECT_EQ(BinStatsLines(hiLo),
              (std::vector<QString>{QStringLiteral("Averages"),
                                    QStringLiteral("High Mag. = 8  JD = 2454124"),
                                    QStringLiteral("Low Mag. = 10  JD = 2454143.5")}));
    // The brightest bin first: its JD is reported.
    o.BinMag = {7, 8, 8, 10, 10};
    EXPECT_EQ(FindHiLoBinMags(o).hiJD, 2454113.5f);
}

// 100 x 100 pixels, one day per pixel across, ten pixels per magnitude down.
struct BinCanvas {
    Canvas picView{100, 100};
    PlotWindowState view;
    Bins bins;
    BinCanvas() {
        picView.SetUserScale(0, 0, 100, 10);
        view.JDFirst = 0;
        view.WinJDLeft = 0;
        view.WinJDRight = 100;
    }
    void Set(std::vector<double> jd, std::vector<float> mag, std::vector<float> sd) {
        bins.BinJD = std::move(jd);
        bins.BinMag = std::move(mag);
        bins.BinSD = std::move(sd);
    }
    int32_t At(int px, int py) const { return picView.pixelColor(px, py); }
};

constexpr int32_t kRed = 255;
constexpr int32_t kWhite = 16777215;
constexpr int32_t kBlack = 0;

TEST(BinPlotter, ErrorBarsSpanHalfSigmaEachWay) {
    struct Case {
        int16_t sigma;
        float sd;
        bool bar;
    };
    // Sigma 2 with 0.3 and Sigma 3 with 0.2 both reach 0.3 above and below the mean.
    for (const Case& c : {Case{2, 0.3f, true}, Case{3, 0.2f, true}, Case{0, 0.3f, false}}) {
        BinCanvas b;
        b.bins.Sigma = c.sigma;
        // Means half a pixel below row 50, so that the bar ends (4.75 and 5.35) fall inside
        // pixel rows 47 and 53.
        b.Set({10, 50, 90}, {5.05f, 5.05f, 5.05f}, {0.3f, c.sd, 0.3f});
        EXPECT_EQ(BinPlotter(b.view, b.bins, b.picView), BinPlotOutcome::Drawn);
        EXPECT_EQ(b.At(30, 50), kRed);
        EXPECT_EQ(b.At(50, 48), c.bar ? kWhite : kBlack) << c.sigma;
        EXPECT_EQ(b.At(50, 52), c.bar ? kWhite : kBlack) << c.sigma;
        EXPECT_EQ(b.At(50, 45), kBlack) << c.sigma;
        EXPECT_EQ(b.At(50, 55), kBlack) << c.sigma;
        // The first bin has no bar; the last ends in the red dot.
        EXPECT_EQ(b.At(10, 48), kBlack);
        EXPECT_EQ(b.At(90, 50), kRed);
    }
}

TEST(BinPlotter, NoBinOrTwoAreTooFewAndOneDrawsNothing) {
    struct Case {
        size_t bins;
        BinPlotOutcome outcome;
    };
    for (const Case& c : {Case{0, BinPlotOutcome::TooFew}, Case{1, BinPlotOutcome::NothingDrawn},
                          Case{2, BinPlotOutcome::TooFew}}) {
        BinCanvas b;
        b.Set(std::vector<double>(c.bins, 50), std::vector<float>(c.bins, 5),
              std::vector<float>(c.bins, 0));
        const QImage before = b.picView.image();
        EXPECT_EQ(BinPlotter(b.view, b.bins, b.picView), c.outcome) << c.bins;
        EXPECT_EQ(b.picView.image(), before) << c.bins;
    }
}

TEST(BinPlotter, BinsFarRightOfTheWindowAreNotDrawn) {
    BinCanvas b;
    b.bins.Sigma = 2;
    // Bin 2 lies 100 days past the window's right edge and more: no bar, no segment to it.
    b.Set({10, 50, 250, 260, 270}, {5, 5, 2, 2, 2}, {0, 0, 0.3f, 0.3f, 0.3f});
    BinPlotter(b.view, b.bins, b.picView);
    EXPECT_EQ(b.At(30, 50), kRed);
    for (int py = 41; py < 50; ++py) EXPECT_EQ(b.At(70, py), kBlack) << py;
}

}  // namespace
}  // namespace sabrix

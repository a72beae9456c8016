// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/Plotter.h"

#include <cmath>
#include <exception>

#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/TextFields.h"
#include "plot/AxisScales.h"
#include "plot/PlotWindow.h"

namespace sabrix {

namespace {

constexpr double kBarPixels = 3;

double NumberOf(const std::string& text) {
    double value = 0;
    if (!ParseNumber(text, value)) throw SabrixError("Type mismatch");
    return value;
}

QString PointsText(int64_t points) {
    return QStringLiteral(" - (") + QString::number(points) + QStringLiteral(" Points)");
}

QString StarName(const LoadedStar& star) {
    if (star.ThreeColumnFormat)
        return QStringLiteral("File: ") + DisplayText(star.ThreeColumnFilePath);
    return DisplayText(TrimBlanks(star.StarName)).toUpper();
}

QString StarLabel(const LoadedStar& star, int64_t points, const PhaseFold* fold) {
    if (fold)
        return StarName(star) + QStringLiteral(" - P = ") + PeriodText(fold->period) +
               QStringLiteral(" d");
    return StarName(star) + PointsText(points);
}

QString CursorName(const OverlayState& overlay) {
    if (overlay.MagnifyMode()) return QStringLiteral("Magnify1");
    if (overlay.MagZoomMode()) return QStringLiteral("MagZoom");
    if (overlay.JDZoomMode()) return QStringLiteral("JDZoom2");
    return QStringLiteral("XHairs");
}

std::vector<QString> ExtremesLines(const WindowExtremes& w) {
    const auto line = [](const char* head, float mag, double jd) {
        return QString::fromLatin1(head) + QString::fromStdString(FormatSingle(mag)) +
               QStringLiteral("   JD = ") + QString::fromStdString(FormatDouble(jd));
    };
    return {line("High Mag. = ", w.BrightMag, w.BrightJD),
            line("Low Mag. = ", w.FaintMag, w.FaintJD)};
}

}  // namespace

std::vector<QString> StatsLines(const PlotWindowState& view, const ObsTable& table,
                                const PointFilter& shown) {
    const std::optional<WindowExtremes> extremes =
        table.ExtremesInWindow(view.WinJDLeft, view.WinJDRight, shown);
    return extremes ? ExtremesLines(*extremes) : std::vector<QString>{};
}

PlotOutcome Plotter(const AppState& state, const ObserverMarks& marks, const ObsTable& table,
                    Canvas& picView, Canvas& picJDScale, Canvas& picMagScale,
                    const std::function<void()>& tick, const PhaseFold* fold) {
    const PlotWindowState& view = state.view;
    const OverlayState& overlay = state.overlay;
    PlotOutcome out;

    // Each strip reports its own failure; the plot goes on either way.
    try {
        if (fold)
            WritePhaseScale(picJDScale, view);
        else
            WriteJDScale(picJDScale, view,
                         overlay.CalendarDates ? JDLabels::CalendarDates : JDLabels::JulianDates,
                         state.star.TimeOffset);
    } catch (const std::exception& e) {
        out.errorMessages.push_back(ModuleErrorText(QString::fromUtf8(e.what()), "WriteJDScale"));
    }
    try {
        WriteMagScale(picMagScale, view);
    } catch (const std::exception& e) {
        out.errorMessages.push_back(ModuleErrorText(QString::fromUtf8(e.what()), "WriteMagScale"));
    }

    picView.Cls();
    const double barHalf = picView.PixelsToUserY(kBarPixels);
    const double jdBase = view.JDFirst;
    const bool bars = state.star.ThreeColumnFormat;
    // The rows drawn: those of the view's window, or of the light curve that was folded.
    const double jdLeft = fold ? fold->jdLeft : view.WinJDLeft;
    const double jdRight = fold ? fold->jdRight : view.WinJDRight;
    const auto draw = [&](double x, const PlotPoint& p) {
        picView.Dot(x, p.Mag, p.PunktFarb);
        if (bars) picView.VerticalLine(x, p.Mag + barHalf, p.Mag - barHalf, p.PunktFarb);
    };
    const auto zeroPoints = [&]() {
        out.points = 0;
        out.starLabel = DisplayText(state.star.StarName) + PointsText(0);
        return out;
    };

    int64_t drawn = 0;
    bool walkFailed = false;
    try {
        const PointFilter shown = PointFilter::Of(state, table.Columns());
        if (overlay.StatsShown) {
            // Omitted fainter-than estimates still count in the figures.
            const std::optional<WindowExtremes> extremes = table.ExtremesInWindow(
                jdLeft, jdRight, PointFilter::Counted(state, table.Columns()));
            // Figures of the previous view would describe rows that are not on the screen.
            out.statsLines = extremes ? ExtremesLines(*extremes) : std::vector<QString>{};
            if (!extremes) return zeroPoints();
        }
        table.ForEachPointInWindow(jdLeft, jdRight, shown, [&](const PlotPoint& p) {
            if (tick) tick();
            if (fold) {
                const double phase = FoldPhase(p.JD, fold->epoch, fold->period);
                draw(phase - jdBase, p);
                draw(OtherCyclePhase(phase) - jdBase, p);
            } else {
                draw(p.JD - jdBase, p);
            }
            ++drawn;
        });
    } catch (const std::exception& e) {
        out.errorMessages.push_back(ModuleErrorText(QString::fromUtf8(e.what()), "Plotter"));
        // A failure before the first row leaves an empty plot, which must say so.
        if (drawn == 0) return zeroPoints();
        walkFailed = true;
    }
    picView.FillColor = overlay.DefaultPointColor;
    if (!walkFailed && drawn == 0) return zeroPoints();

    if (!walkFailed) {
        if (!fold && marks.ObserverMarked && state.settings.ConnectMarked) {
            try {
                PlotMarkLines(marks, view, picView, tick);
            } catch (const std::exception& e) {
                out.errorMessages.push_back(
                    ModuleErrorText(QString::fromUtf8(e.what()), "PlotMarkLines"));
            }
        }
        out.starLabel = StarLabel(state.star, drawn, fold);
    }
    out.points = drawn;
    out.statusText = MagnificationStatusText(state);
    out.cursorName = CursorName(overlay);
    return out;
}

void PlotMarkLines(const ObserverMarks& marks, const PlotWindowState& view, Canvas& picView,
                   const std::function<void()>& tick) {
    const std::vector<MarkEntry>& list = marks.MarkList;
    if (list.size() <= 1) return;
    // Every text is read before the first line, so a bad entry stops the joining before any
    // marking is half drawn.
    struct MarkPoint {
        double number;
        double x;
        double y;
        int32_t color;
    };
    std::vector<MarkPoint> points;
    points.reserve(list.size());
    for (const MarkEntry& entry : list)
        points.push_back({NumberOf(entry[0]), NumberOf(entry[1]) - view.JDFirst, NumberOf(entry[2]),
                          static_cast<int32_t>(std::llround(NumberOf(entry[3])))});
    for (int k = 1; k <= marks.MarkCount; ++k) {
        const MarkPoint* previous = nullptr;
        int32_t color = 0;
        for (const MarkPoint& p : points) {
            if (p.number != k) continue;
            // The first point of a marking gives its colour and a line of no length.
            if (previous == nullptr) {
                previous = &p;
                color = p.color;
            }
            if (tick) tick();
            picView.Line(previous->x, previous->y, p.x, p.y, color);
            previous = &p;
        }
    }
}

}  // namespace sabrix

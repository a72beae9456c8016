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

QString CursorName(const OverlayState& overlay) {
    if (overlay.MagnifyMode()) return QStringLiteral("Magnify1");
    if (overlay.MagZoomMode()) return QStringLiteral("MagZoom");
    if (overlay.JDZoomMode()) return QStringLiteral("JDZoom2");
    return QStringLiteral("XHairs");
}

std::vector<QString> ExtremesLines(const PlotFrame& frame, const FrameExtremes& e) {
    const auto line = [&frame](const char* head, const FramePoint& p) {
        return QString::fromLatin1(head) +
               QString::fromStdString(FormatSingle(static_cast<float>(p.place.y))) +
               QStringLiteral("   ") + frame.PlaceText(*p.point, p.place);
    };
    return {line("High Mag. = ", e.bright), line("Low Mag. = ", e.faint)};
}

}  // namespace

std::vector<QString> StatsLines(const PlotFrame& frame, const PlotWindowState& view,
                                const PlotColumns& columns, const PointFilter& shown) {
    const std::optional<FrameExtremes> extremes = FrameExtremesIn(frame, columns, shown, view);
    return extremes ? ExtremesLines(frame, *extremes) : std::vector<QString>{};
}

PlotOutcome Plotter(const AppState& state, const ObserverMarks& marks, const ObsTable& table,
                    Canvas& picView, Canvas& picJDScale, Canvas& picMagScale,
                    const std::function<void()>& tick, const PlotFrame& frame) {
    const PlotWindowState& view = state.view;
    const OverlayState& overlay = state.overlay;
    PlotOutcome out;

    // Each strip reports its own failure; the plot goes on either way.
    try {
        frame.WriteScale(picJDScale, state);
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
    const auto draw = [&](double x, float mag, int32_t color) {
        picView.Dot(x, mag, color);
        if (bars) picView.VerticalLine(x, mag + barHalf, mag - barHalf, color);
    };
    const auto zeroPoints = [&]() {
        out.points = 0;
        out.starLabel = DisplayText(state.star.StarName) + PointsText(0);
        return out;
    };

    int64_t drawn = 0;
    bool walkFailed = false;
    try {
        const PlotColumns& columns = table.Columns();
        const PointFilter shown = PointFilter::Of(state, columns);
        if (overlay.StatsShown) {
            // Omitted fainter-than estimates still count in the figures.
            const std::optional<FrameExtremes> extremes =
                FrameExtremesIn(frame, columns, PointFilter::Counted(state, columns), view);
            // Figures of the previous view would describe rows that are not on the screen.
            out.statsLines = extremes ? ExtremesLines(frame, *extremes) : std::vector<QString>{};
            if (!extremes) return zeroPoints();
        }
        ForEachFramePoint(frame, columns, shown, view.WinJDLeft, view.WinJDRight,
                          [&](const FramePoint& p) {
                              if (tick) tick();
                              // The time frame's own magnitudes are drawn as the columns hold
                              // them, in single precision.
                              const float mag = static_cast<float>(p.place.y);
                              for (int k = 0; k < p.place.count; ++k)
                                  draw(p.place.x[k] - jdBase, mag, p.point->PunktFarb);
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
        if (frame.JoinsMarks() && marks.ObserverMarked && state.settings.ConnectMarked) {
            try {
                PlotMarkLines(marks, view, picView, tick);
            } catch (const std::exception& e) {
                out.errorMessages.push_back(
                    ModuleErrorText(QString::fromUtf8(e.what()), "PlotMarkLines"));
            }
        }
        out.starLabel = frame.Label(StarName(state.star), drawn);
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

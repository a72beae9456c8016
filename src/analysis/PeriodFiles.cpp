// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/PeriodFiles.h"

#include <algorithm>
#include <string>

#include "core/AtomicFile.h"
#include "core/NumberText.h"
#include "plot/PhasePlot.h"

namespace sabrix {

namespace {
// Lines gather in a buffer of about this size before each write, so ten million lines take a
// few hundred writes, not ten million.
constexpr size_t kChunk = 1 << 20;
constexpr int kPhaseDecimals = 6;
}  // namespace

void WritePeriodogramCsv(const Periodogram& periodogram, QIODevice& out, bool window) {
    std::string chunk = window ? "frequency,period,window\r\n" : "frequency,period,power\r\n";
    const FrequencyGrid& grid = periodogram.grid;
    const std::vector<double>& values = window ? periodogram.window : periodogram.power;
    const auto count = std::min<int64_t>(grid.count, static_cast<int64_t>(values.size()));
    for (int64_t k = 0; k < count; ++k) {
        const double f = grid.at(k);
        chunk += FormatDouble(f);
        chunk += ',';
        chunk += FormatDouble(1 / f);
        chunk += ',';
        chunk += FormatDouble(values[static_cast<size_t>(k)]);
        chunk += "\r\n";
        if (chunk.size() >= kChunk) {
            WriteAllBytes(out, chunk);
            chunk.clear();
        }
    }
    WriteAllBytes(out, chunk);
}

namespace {
std::string PhaseText(double t, double epoch, double period) {
    double phase = FoldPhase(t, epoch, period);
    // 0.9999997 would show as 1.000000, which is phase 0 of the next cycle.
    if (RoundHalfEven(phase, kPhaseDecimals) >= 1) phase = 0;
    return FormatFixed(phase, 1, kPhaseDecimals);
}
}  // namespace

void WriteFitTable(std::span<const double> times, std::span<const double> mags,
                   const FourierModel& model, double epoch, double timeOffset, QIODevice& out) {
    const ModelShape shape = ShapeOfModel(model, epoch);
    std::string chunk =
        "# " + FormatDouble(model.period()) + " " + FormatFixed(epoch + timeOffset, 1, 6) + " " +
        FormatFixed(shape.peakToPeak, 1, 6) + " " + FormatFixed(model.rms, 1, 6) + "\r\n";
    const size_t n = std::min(times.size(), mags.size());
    for (size_t i = 0; i < n; ++i) {
        const double fitted = model.At(times[i]);
        chunk += PhaseText(times[i], epoch, model.period());
        chunk += ' ';
        chunk += FormatFixed(mags[i], 1, 6);
        chunk += ' ';
        chunk += FormatFixed(fitted, 1, 6);
        chunk += ' ';
        chunk += FormatFixed(mags[i] - fitted, 1, 6);
        chunk += "\r\n";
        if (chunk.size() >= kChunk) {
            WriteAllBytes(out, chunk);
            chunk.clear();
        }
    }
    WriteAllBytes(out, chunk);
}

void WritePhaseTable(std::span<const double> times, std::span<const double> mags, double epoch,
                     double period, QIODevice& out) {
    std::string chunk;
    const size_t n = std::min(times.size(), mags.size());
    for (size_t i = 0; i < n; ++i) {
        chunk += PhaseText(times[i], epoch, period);
        chunk += ' ';
        chunk += FormatDouble(mags[i]);
        chunk += "\r\n";
        if (chunk.size() >= kChunk) {
            WriteAllBytes(out, chunk);
            chunk.clear();
        }
    }
    WriteAllBytes(out, chunk);
}

}  // namespace sabrix

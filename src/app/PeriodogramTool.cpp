// SPDX-License-Identifier: GPL-3.0-or-later
// --periodogram of one file: the highest peaks, the window function or rounds of prewhitening.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "analysis/FrequencyGrid.h"
#include "analysis/PeakSignificance.h"
#include "analysis/PeriodFiles.h"
#include "analysis/PeriodSearch.h"
#include "analysis/Prewhitening.h"
#include "analysis/ShownObservations.h"
#include "app/CommandLineRun.h"
#include "app/CommandLineTools.h"
#include "core/AppState.h"
#include "core/NumberText.h"

namespace sabrix {

using namespace cli;

namespace {

struct WindowPeak {
    double frequency = 0;
    double power = 0;
};

// The highest local maxima of the window function, at least `separation` (1/T) apart,
// highest first.
std::vector<WindowPeak> WindowPeaks(const Periodogram& periodogram, size_t count,
                                    double separation) {
    const std::vector<double>& w = periodogram.window;
    std::vector<WindowPeak> maxima;
    for (size_t k = 1; k + 1 < w.size(); ++k)
        if (w[k] > w[k - 1] && w[k] >= w[k + 1])
            maxima.push_back({periodogram.grid.at(static_cast<int64_t>(k)), w[k]});
    std::sort(maxima.begin(), maxima.end(),
              [](const WindowPeak& a, const WindowPeak& b) { return a.power > b.power; });
    std::vector<WindowPeak> taken;
    for (const WindowPeak& m : maxima) {
        if (taken.size() >= count) break;
        if (std::all_of(taken.begin(), taken.end(), [&](const WindowPeak& t) {
                return std::fabs(t.frequency - m.frequency) >= separation;
            }))
            taken.push_back(m);
    }
    return taken;
}

}  // namespace

int RunPeriodogram(const PeriodogramRunOptions& options, const std::string& programDir,
                   std::ostream& out, std::ostream& err) {
    try {
        if (!OutputsSpareTheInput(options.file, {options.out}, err)) return 1;
        auto loaded =
            LoadFile(options.file, options.load, false, programDir, LayOutPlotArea(1, 1), {}, err);
        if (!loaded) return 1;
        MainWindowCommands& commands = *loaded->commands;
        if (!options.bands.empty() && !ShowOnlyBands(commands, options.bands, loaded->file, err))
            return 1;
        if (options.view) {
            const double offset = commands.state().star.TimeOffset;
            commands.Run(cmd::ShowWindow, options.view->jdLeft - offset,
                         options.view->jdRight - offset, options.view->magTop,
                         options.view->magBottom);
        }
        const PlotWindowState& window = commands.state().view;
        const PeriodObservations shown = ShownObservations(
            commands.table()->Columns(), commands.state(), window.WinJDLeft, window.WinJDRight);
        const PeriodDataOutcome data =
            PeriodData::Make(shown.times, shown.mags, shown.sigmas, !options.noWeights);
        if (!data.data) {
            err << TerminalMessage(loaded->file, data.refusal.toStdString());
            return 1;
        }
        const PeriodRange defaultRange = DefaultPeriodRange(shown.times);
        const PeriodRangeFields defaults = PeriodRangeText(defaultRange);
        PeriodRangeFields fields = defaults;
        if (options.minPeriod) fields.minPeriod = QString::fromStdString(*options.minPeriod);
        if (options.maxPeriod) fields.maxPeriod = QString::fromStdString(*options.maxPeriod);
        if (options.samplesPerPeak)
            fields.samplesPerPeak = QString::fromStdString(*options.samplesPerPeak);
        const FrequencyGridOutcome grid = ReadPeriodRange(fields, data.data->span(), defaults);
        if (!grid.grid) {
            err << TerminalMessage(loaded->file, OptionMessage(grid.refusal));
            return 1;
        }
        if (!options.minPeriod && defaultRange.minimumRaised)
            err << TerminalMessage(loaded->file, RaisedMinimumText(defaultRange).toStdString());
        if (shown.severalBands)
            err << TerminalMessage(loaded->file,
                                   "Bands with different zero points make false peaks: give one "
                                   "band with --bands.");
        PeriodSearchOptions search;
        search.periodogram.harmonics = options.harmonics;
        search.periodogram.window = options.window;
        if (options.pdm) search.method = SearchMethod::PhaseDispersion;
        const auto peakLine = [](const PeriodogramPeak& peak) {
            return FormatFixed(peak.period, 1, 7) + " " + FormatFixed(peak.frequency, 1, 7) + " " +
                   FormatFixed(peak.power, 1, 4) + " " + FormatFixed(peak.amplitude, 1, 4) + " " +
                   (std::isnan(peak.fap) ? std::string("-") : FalseAlarmText(peak.fap)) + " " +
                   UncertaintyText(peak.sigmaPeriod);
        };
        std::vector<std::string> lines;
        std::optional<PeriodSearchResult> result;
        if (options.prewhiten > 0) {
            // Each round searches the residuals of the rounds before.
            PrewhiteningHistory history(shown.times, shown.mags, shown.sigmas);
            search.peakCount = 1;
            for (int round = 0; round < options.prewhiten; ++round) {
                const PeriodDataOutcome residuals = PeriodData::Make(
                    history.times(), history.mags(), history.sigmas(), !options.noWeights);
                if (!residuals.data) break;
                JobControl control;
                result = RunPeriodSearch(*residuals.data, *grid.grid, search, control);
                if (!result || result->peaks.empty()) break;
                lines.push_back(peakLine(result->peaks.front()));
                if (!history
                         .Remove(result->peaks.front().frequency, !options.noWeights,
                                 options.harmonics)
                         .fit)
                    break;
            }
        } else {
            JobControl control;
            result = RunPeriodSearch(*data.data, *grid.grid, search, control);
            if (!result) return 1;
            if (options.window) {
                for (const WindowPeak& peak :
                     WindowPeaks(result->periodogram, 5, 1 / data.data->span()))
                    lines.push_back(FormatFixed(1 / peak.frequency, 1, 7) + " " +
                                    FormatFixed(peak.frequency, 1, 7) + " " +
                                    FormatFixed(peak.power, 1, 4));
            } else {
                for (size_t i = 0; i < result->peaks.size() && i < 5; ++i)
                    lines.push_back(peakLine(result->peaks[i]));
                for (const QString& note :
                     {NoSignificantPeriodText(*result), EdgeMaximumText(*result)})
                    if (!note.isEmpty()) err << TerminalMessage(loaded->file, note.toStdString());
            }
        }
        if (!options.out.empty() && result &&
            !WriteOutputWith(
                options.out,
                [&](QIODevice& device) {
                    WritePeriodogramCsv(result->periodogram, device, options.window);
                },
                out, err))
            return 1;
        PrintSummary({options.out}, loaded->file, lines, commands.rejectedLines(), out, err);
        return 0;
    } catch (const std::exception& e) {
        err << TerminalMessage(options.file, e.what());
        return 1;
    }
}

}  // namespace sabrix

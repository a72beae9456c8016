// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/Periodogram.h"

#include "analysis/DirectPeriodogram.h"
#include "analysis/FastPeriodogram.h"
#include "analysis/FourierModel.h"
#include "analysis/WorkerThreads.h"

namespace sabrix {

PeriodogramMethod ChooseMethod(int64_t observations, const FrequencyGrid& grid) {
    return DirectPeriodogramCost(observations, grid.count) <=
                   FastPeriodogramCost(observations, grid.count)
               ? PeriodogramMethod::Direct
               : PeriodogramMethod::Fast;
}

int64_t PeriodogramCost(int64_t observations, const FrequencyGrid& grid, PeriodogramMethod method,
                        int harmonics) {
    if (harmonics > 1) return HarmonicPeriodogramCost(observations, grid.count, harmonics);
    if (method == PeriodogramMethod::Automatic) method = ChooseMethod(observations, grid);
    return method == PeriodogramMethod::Direct ? DirectPeriodogramCost(observations, grid.count)
                                               : FastPeriodogramCost(observations, grid.count);
}

std::optional<Periodogram> ComputePeriodogram(const PeriodData& data, const FrequencyGrid& grid,
                                              const PeriodogramOptions& options,
                                              JobControl& control) {
    Periodogram result;
    result.grid = grid;
    result.method = options.harmonics > 1 ? PeriodogramMethod::Direct
                    : options.method == PeriodogramMethod::Automatic
                        ? ChooseMethod(data.size(), grid)
                        : options.method;
    result.power.resize(static_cast<size_t>(grid.count));
    if (options.window) result.window.resize(static_cast<size_t>(grid.count));
    const int workers = options.workers > 0 ? options.workers : WorkerCount();
    const bool done =
        options.harmonics > 1 ? HarmonicPeriodogram(data, grid, options.harmonics, result.power,
                                                    result.window, workers, control)
        : result.method == PeriodogramMethod::Direct
            ? DirectPeriodogram(data, grid, result.power, result.window, workers, control)
            : FastPeriodogram(data, grid, result.power, result.window, workers, control);
    if (!done) return std::nullopt;
    return result;
}

}  // namespace sabrix

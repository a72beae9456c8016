// SPDX-License-Identifier: GPL-3.0-or-later
// --minimum: the time of the minimum or maximum of the observations between two times.
#include <ostream>

#include "analysis/ShownObservations.h"
#include "analysis/TimeOfMinimum.h"
#include "app/CommandLineRun.h"
#include "app/CommandLineTools.h"
#include "core/AppState.h"
#include "core/NumberText.h"

namespace sabrix {

using namespace cli;

int RunMinimum(const MinimumRunOptions& options, const std::string& programDir, std::ostream& out,
               std::ostream& err) {
    try {
        auto loaded =
            LoadFile(options.file, options.load, false, programDir, LayOutPlotArea(1, 1), {}, err);
        if (!loaded) return 1;
        MainWindowCommands& commands = *loaded->commands;
        if (!options.bands.empty() && !ShowOnlyBands(commands, options.bands, loaded->file, err))
            return 1;
        const double offset = commands.state().star.TimeOffset;
        const PeriodObservations shown =
            ShownObservations(commands.table()->Columns(), commands.state(), options.from - offset,
                              options.to - offset);
        const TimeOfExtremumOutcome found = FindTimeOfExtremum(
            shown.times, shown.mags, options.maximum ? Extremum::Maximum : Extremum::Minimum);
        if (!found.value) {
            err << TerminalMessage(loaded->file, found.refusal.toStdString());
            return 1;
        }
        const TimeOfExtremum& v = *found.value;
        out << FormatFixed(v.time + offset, 1, 6) << ' ' << FormatFixed(v.error, 1, 6) << ' '
            << v.count << ' ' << ExtremumMethodName(v.method) << '\n';
        return 0;
    } catch (const std::exception& e) {
        err << TerminalMessage(options.file, e.what());
        return 1;
    }
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// --convert: a file written again with the star-file, three-column or download writer.
#include <QDateTime>
#include <ostream>

#include "app/CommandLineRun.h"
#include "app/CommandLineTools.h"
#include "data/DownloadFileExport.h"
#include "data/ObsTable.h"
#include "data/StarFileExport.h"
#include "data/ThreeColumnFile.h"

namespace sabrix {

using namespace cli;

int RunConvert(const ConvertOptions& options, const std::string& programDir, std::ostream& out,
               std::ostream& err) {
    try {
        if (!OutputsSpareTheInput(options.file, {options.out}, err)) return 1;
        // Nothing is drawn for the user to see: the smallest plot area will do.
        auto loaded = LoadFile(options.file, LoadOptions{options.kind, std::nullopt}, true,
                               programDir, LayOutPlotArea(1, 1), {}, err);
        if (!loaded) return 1;
        MainWindowCommands& commands = *loaded->commands;
        const bool readThreeColumn = commands.state().star.ThreeColumnFormat;
        bool toThreeColumn = readThreeColumn;
        if (options.to == ConvertOptions::Target::StarFile) toThreeColumn = false;
        if (options.to == ConvertOptions::Target::ThreeColumn) toThreeColumn = true;
        const ObsTable& table = *commands.table();
        std::string text;
        if (options.to == ConvertOptions::Target::Download) {
            // As "Save as Download File": a three-column file has no download fields to give.
            if (readThreeColumn) {
                err << TerminalMessage(options.file,
                                       "A 3-column file cannot be written as a download file.");
                return 1;
            }
            text = DownloadFileText(table, commands.downloadSource(), {}).bytes();
        } else {
            text = toThreeColumn ? ThreeColumnFileText(table)
                                 : StarFileText(table, commands.state().star.StarName,
                                                QDateTime::currentDateTime(), {});
        }
        if (!WriteOutput(options.out, text, out, err)) return 1;
        PrintSummary(
            {options.out}, loaded->file,
            {"Wrote " + options.out, "Rejected lines: " + std::to_string(commands.rejectedLines())},
            commands.rejectedLines(), out, err);
        return 0;
    } catch (const std::exception& e) {
        err << TerminalMessage(options.out, std::string("Cannot write: ") + e.what());
        return 1;
    }
}

}  // namespace sabrix

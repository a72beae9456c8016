// SPDX-License-Identifier: GPL-3.0-or-later
// --render: the plot of a file, with its bins, fit or phase plot, drawn into a picture.
#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <cmath>
#include <ostream>

#include "analysis/Bins.h"
#include "analysis/PeriodFiles.h"
#include "analysis/PhaseFolding.h"
#include "analysis/PolyFit.h"
#include "analysis/ShownObservations.h"
#include "app/CommandLineRun.h"
#include "app/CommandLineTools.h"
#include "core/AppState.h"
#include "core/NumberText.h"
#include "core/ProgramDir.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

using namespace cli;

namespace {

// The file a refused bins field came from: the settings file when the sigma was not given
// and the one it holds is refused, else the file being drawn.
std::string RefusedBinsSource(const BinDialogFields& fields, const RenderOptions& options,
                              const std::string& programDir, const std::string& file,
                              std::string& refusalPrefix) {
    if (options.sigma) return file;
    BinDialogFields withGoodSigma = fields;
    withGoodSigma.sigma = QStringLiteral("2");
    QString refusal;
    if (!ReadBinFields(withGoodSigma, refusal)) return file;
    refusalPrefix = "DefaultSigma=" + fields.sigma.toStdString() + ": ";
    return SettingsFilePath(programDir);
}

}  // namespace

int RunRender(const RenderOptions& options, const std::string& programDir, std::ostream& out,
              std::ostream& err) {
    try {
        if (!OutputsSpareTheInput(
                options.file,
                {options.out, options.binFile, options.curveOut, options.phaseOut, options.fitOut},
                err) ||
            !OutputsDiffer({{"--out", options.out},
                            {"--bin-file", options.binFile},
                            {"--curve-out", options.curveOut},
                            {"--phase-out", options.phaseOut},
                            {"--fit-out", options.fitOut}},
                           err))
            return 1;
        const PlotAreaLayout layout = LayOutPlotArea(options.width, options.height);
        const PlotImageFormat format =
            PlotImageFormatFor(options.out).value_or(PlotImageFormat::Png);
        const bool raster = format == PlotImageFormat::Png || format == PlotImageFormat::Jpeg;
        // The picture, the label, the count of rejected lines, the stats and the overlays all
        // come from the plotted columns: the rows are not written. A raster picture is the one
        // buffer the plot draws into; a vector one needs no pixels of its size.
        auto loaded = LoadFile(
            options.file, options.load, false, programDir, layout,
            [&options](AppState& state) {
                state.overlay.OmitFainter = options.omitFaint;
                state.overlay.StatsShown = options.stats;
            },
            err, raster ? LoadedFile::Pixels::Picture : LoadedFile::Pixels::None,
            QSize(options.width, options.height));
        if (!loaded) return 1;
        MainWindowCommands& commands = *loaded->commands;
        if (!options.bands.empty() && !ShowOnlyBands(commands, options.bands, loaded->file, err))
            return 1;
        // The overlay as its dialog would draw it on the full view; a field the dialog would
        // refuse ends the run with the dialog's message.
        const size_t said = loaded->prompts.messages.size();
        const auto refused = [&](const std::string& source, const std::string& prefix) {
            for (size_t i = said; i < loaded->prompts.messages.size(); ++i)
                err << TerminalMessage(source,
                                       prefix + loaded->prompts.messages[i].text.toStdString());
            return 1;
        };
        // The files beside the picture, written with it once everything was drawn.
        std::vector<std::pair<std::string, std::string>> files;
        if (options.bins) {
            BinDialogFields fields = InitialBinFields(commands.state());
            fields.binWidth = QString::fromStdString(*options.bins);
            if (options.sigma) fields.sigma = QString::fromStdString(*options.sigma);
            if (!commands.Run(cmd::EnterBins, fields)) {
                std::string prefix;
                const std::string source =
                    RefusedBinsSource(fields, options, programDir, loaded->file, prefix);
                return refused(source, prefix);
            }
            if (!options.binFile.empty())
                files.emplace_back(options.binFile, BinFileHeader(commands.state().star.StarName,
                                                                  QDateTime::currentDateTime()) +
                                                        BinFileLines(commands.bins()));
        }
        if (options.poly) {
            if (!commands.Run(cmd::PlotPolyFit, QString::fromStdString(*options.poly)))
                return refused(loaded->file, std::string());
            if (!options.curveOut.empty())
                files.emplace_back(options.curveOut, PolyCurveText(commands.PolyCurve()));
        }
        if (options.view) {
            // The edges are given as the scale shows the times.
            const double offset = commands.state().star.TimeOffset;
            commands.Run(cmd::ShowWindow, options.view->jdLeft - offset,
                         options.view->jdRight - offset, options.view->magTop,
                         options.view->magBottom);
        }
        if (options.phase) {
            // The fields as the period search window reads them; no epoch: the default (the
            // distance of a typed epoch from the data is checked by the phase plot).
            const QString epochText = QString::fromStdString(options.epoch.value_or(""));
            const FoldOutcome fold =
                ReadFoldFields(QString::fromStdString(*options.phase), epochText, NAN);
            if (!fold.fold) {
                err << TerminalMessage(loaded->file, OptionMessage(fold.refusal));
                return 1;
            }
            // A typed epoch is a time as the scale shows it, the offset added.
            const double offset = commands.state().star.TimeOffset;
            std::optional<double> epoch;
            if (options.epoch) {
                epoch = fold.fold->epoch - offset;
                // An epoch nearer the times as the file holds them than the times the scale
                // shows would shift every phase without a word.
                const PlotWindowState& w = commands.state().view;
                const double middle = (w.JDFirst + w.JDLast) / 2;
                if (offset != 0 &&
                    std::fabs(fold.fold->epoch - middle) < std::fabs(*epoch - middle)) {
                    err << TerminalMessage(
                        loaded->file,
                        "--epoch: " + *options.epoch +
                            " is a time as the file holds it; the JD scale shows the times with "
                            "--time-offset added: give " +
                            FormatDouble(fold.fold->epoch + offset));
                    return 1;
                }
            }
            const size_t before = loaded->prompts.messages.size();
            if (!commands.Run(cmd::ShowPhasePlot, fold.fold->period, epoch, options.harmonics)
                     .isEmpty()) {
                for (size_t i = before; i < loaded->prompts.messages.size(); ++i)
                    err << TerminalMessage(loaded->file,
                                           OptionMessage(loaded->prompts.messages[i].text));
                return 1;
            }
            const PhaseFold& shown = *commands.phaseFold();
            const PeriodObservations drawn = DrawnObservations(
                commands.table()->Columns(), commands.state(), shown.jdLeft, shown.jdRight);
            if (!options.phaseOut.empty()) {
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                WritePhaseTable(drawn.times, drawn.mags, shown.epoch, shown.period, buffer);
                files.emplace_back(options.phaseOut, buffer.data().toStdString());
            }
            if (!options.fitOut.empty() && commands.periodModel()) {
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                WriteFitTable(drawn.times, drawn.mags, *commands.periodModel(), shown.epoch, offset,
                              buffer);
                files.emplace_back(options.fitOut, buffer.data().toStdString());
            }
        }
        // A picture without what was asked of it is no success: it is not written. The bin
        // file is, as the window writes it before it says that its bins are too few to draw.
        if (PrintFailures(*loaded, err)) {
            if (!files.empty() && files.front().first == options.binFile)
                WriteOutput(files.front().first, files.front().second, out, err);
            return 1;
        }
        const WindowView& view = commands.view();
        // Encoded in memory first: the image encoder then never meets a failing disk (it would
        // leak its row buffer and print its own error), only the checked writer does.
        QByteArray encoded;
        try {
            TitlePicture(loaded->canvases, commands.phaseFold().has_value(),
                         BandLines(commands.table()->Columns(), commands.state()), options.legend);
            if (raster) {
                FinishPlotArea(loaded->picture, layout, loaded->canvases, view.starLabel);
                encoded = EncodeRasterImage(loaded->picture, format);
            } else  // vector shapes are drawn as the view is drawn, so the view is drawn again
                encoded = commands.Run(cmd::PlotImageOf, format, options.width, options.height,
                                       options.legend);
        } catch (const std::exception& e) {
            err << TerminalMessage(options.out, std::string("Cannot write: ") + e.what());
            return 1;
        }
        for (const auto& [path, text] : files)
            if (!WriteOutput(path, text, out, err)) return 1;
        if (!WriteOutput(options.out,
                         std::string_view(encoded.constData(), static_cast<size_t>(encoded.size())),
                         out, err))
            return 1;
        std::vector<std::string> lines = {
            view.starLabel.toStdString(),
            "Rejected lines: " + std::to_string(commands.rejectedLines())};
        if (options.stats)
            for (const QString& line : view.statsLines) lines.push_back(line.toStdString());
        PrintSummary(
            {options.out, options.binFile, options.curveOut, options.phaseOut, options.fitOut},
            loaded->file, lines, commands.rejectedLines(), out, err);
        return 0;
    } catch (const std::exception& e) {
        err << TerminalMessage(options.file, e.what());
        return 1;
    }
}

}  // namespace sabrix

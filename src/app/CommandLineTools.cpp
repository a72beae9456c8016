// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLineTools.h"

#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QSize>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string_view>

#include "analysis/Bins.h"
#include "analysis/PeakSignificance.h"
#include "analysis/PeriodFiles.h"
#include "analysis/PeriodSearch.h"
#include "analysis/PhaseFolding.h"
#include "analysis/PolyFit.h"
#include "analysis/Prewhitening.h"
#include "analysis/ShownObservations.h"
#include "analysis/TimeOfMinimum.h"
#include "app/MainWindowCommands.h"
#include "app/WindowHost.h"
#include "core/AppState.h"
#include "core/AtomicFile.h"
#include "core/FileSystem.h"
#include "core/NumberText.h"
#include "core/ProgramDir.h"
#include "core/SabrixError.h"
#include "core/ScratchFolder.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "data/DownloadFileExport.h"
#include "data/FileKindGuess.h"
#include "data/ObsTable.h"
#include "data/StarFileExport.h"
#include "data/ThreeColumnFile.h"
#include "plot/PlotImage.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

namespace {

// The questions of a run without a window: every message is kept for the caller to print,
// and no dialog is ever answered.
class RecordingPrompts : public Prompts {
  public:
    struct Message {
        QString text;
        QString title;
    };
    std::vector<Message> messages;

    std::optional<QString> openFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<int32_t> chooseColor() override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }

  protected:
    Answer showMessage(const QString& text, const QString& title, Buttons buttons, Icon,
                       std::optional<Answer> dismissed) override {
        messages.push_back({text, title});
        return DismissedAnswer(buttons, dismissed);
    }
};

// A file loaded through the main window's commands into a scratch copy of the template, so
// that a running program's working database is never touched.
struct LoadedFile {
    // Where the canvases keep their pixels: their own, none (a vector picture is drawn again
    // on canvases of its own), or a picture of the whole area (size) that they draw into.
    enum class Pixels { Own, None, Picture };
    LoadedFile(const PlotAreaLayout& layout, Pixels pixels, QSize size)
        : picture(pixels == Pixels::Picture ? NewPlotAreaPicture(size.width(), size.height())
                                            : QImage()),
          canvases(pixels == Pixels::Picture ? PlotAreaCanvases(layout, picture)
                   : pixels == Pixels::None ? PlotAreaCanvases(layout, PlotAreaCanvases::NoPixels{})
                                            : PlotAreaCanvases(layout)) {}
    // Named after the process, so that the next run removes it when this one is killed.
    ScratchFolder scratch{QDir::tempPath().toStdString()};
    QImage picture;
    PlotAreaCanvases canvases;
    RecordingPrompts prompts;
    NoWindowHost host;
    std::unique_ptr<MainWindowCommands> commands;
    // The file loaded, by its full path.
    std::string file;
};

// Loads the file as the kind the options say or, when they say none, as the kind a dropped
// file would be read as (GuessObservationFileKind), with the state set up by prepare before
// the load; a star file's rows are written (and waited for) only when rows is set. Returns
// nothing after writing the program's messages to err.
std::unique_ptr<LoadedFile> LoadFile(
    const std::string& givenFile, const LoadOptions& load, bool rows, const std::string& programDir,
    const PlotAreaLayout& layout, const std::function<void(AppState&)>& prepare, std::ostream& err,
    LoadedFile::Pixels pixels = LoadedFile::Pixels::Own, QSize size = QSize()) {
    // Labels and messages name the file by its full path, as the windows do.
    const std::string file = std::filesystem::absolute(givenFile).lexically_normal().string();
    const ObservationFileKind kind = load.kind.value_or(GuessObservationFileKind(file));
    if (load.timeOffset && kind != ObservationFileKind::ThreeColumnFile) {
        err << TerminalMessage(file,
                               "--time-offset is for three-column files; this one is read "
                               "as a star file.");
        return nullptr;
    }
    auto loaded = std::make_unique<LoadedFile>(layout, pixels, size);
    loaded->file = file;
    if (!loaded->scratch.isValid()) {
        err << TerminalMessage(QDir::tempPath().toStdString(), "Cannot create a temporary folder.");
        return nullptr;
    }
    AppState state;
    ReadSettings(programDir, state.settings);
    if (state.settings.IniMissing) {
        // Without a settings file the colours are the ones a first start would offer.
        state.settings = DefaultSettings(programDir);
        state.settings.IniMissing = true;
    }
    state.star.FilesFolder = FilesFolderPath(programDir);
    if (!FolderExists(state.star.FilesFolder)) CreateFolder(state.star.FilesFolder);
    if (prepare) prepare(state);

    const MainWindowCommands::TableFiles files{loaded->scratch.path() + "/Obs.db",
                                               TemplateDatabasePath(programDir)};
    try {
        ReplaceWithTemplate(files.templateDatabase, files.database);
    } catch (const std::exception& e) {
        err << TerminalMessage(files.templateDatabase, e.what());
        return nullptr;
    }
    // A damaged template would otherwise be reported as a fault of the file being read.
    try {
        ObsTable::CheckDatabase(files.templateDatabase);
    } catch (const std::exception& e) {
        err << TerminalMessage(files.templateDatabase,
                               std::string("The template database is damaged (") + e.what() + ").");
        return nullptr;
    }
    loaded->commands = std::make_unique<MainWindowCommands>(
        std::move(state), files, loaded->prompts, loaded->host,
        MainWindowCommands::Canvases{loaded->canvases.picView, loaded->canvases.picJDScale,
                                     loaded->canvases.picMagScale});
    MainWindowCommands& commands = *loaded->commands;
    commands.Run(cmd::OpenWorkingTable);
    if (!commands.view().endRun) {
        if (kind == ObservationFileKind::ThreeColumnFile) {
            commands.Run(cmd::LoadThreeColumnFile, file, load.timeOffset.value_or(0));
        } else if (rows) {
            commands.Run(cmd::LoadStarFile, file);
            commands.Run(cmd::FinishFill);
        } else {
            commands.Run(cmd::LoadStarFile, file, MainWindowCommands::RowFill::None);
        }
    }
    if (!commands.state().star.FileLoaded) {
        for (const auto& message : loaded->prompts.messages)
            err << TerminalMessage(file, message.text.toStdString());
        return nullptr;
    }
    return loaded;
}

// Says the failures reported while the loaded file was drawn (not the count of rejected
// lines, which the caller prints itself). Returns true when there was one.
bool PrintFailures(const LoadedFile& loaded, std::ostream& err) {
    bool any = false;
    for (const auto& message : loaded.prompts.messages)
        if (message.title == QStringLiteral("Error")) {
            err << TerminalMessage(loaded.file, message.text.toStdString());
            any = true;
        }
    return any;
}

// The output name that stands for standard output.
constexpr std::string_view kStandardOutput = "-";

// Refuses an output that is the input itself, under its own name, another name or through a
// link: writing it would destroy what is being read. Returns false after saying so on err,
// before anything is written.
bool OutputsSpareTheInput(const std::string& input, std::initializer_list<std::string> outputs,
                          std::ostream& err) {
    for (const std::string& output : outputs) {
        std::error_code error;
        if (output.empty() || output == kStandardOutput ||
            !std::filesystem::equivalent(input, output, error) || error)
            continue;
        err << TerminalMessage(output, "Cannot write: it is the file being read");
        return false;
    }
    return true;
}

// The file an output name stands for, for comparing two outputs: "-" itself, else the path
// with its links resolved (the file need not exist yet).
std::string OutputIdentity(const std::string& output) {
    if (output == kStandardOutput) return output;
    std::string target = output;
    try {
        target = ResolveLinks(output);
    } catch (const SabrixError&) {
        // A loop of links: the write will say so.
    }
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? std::filesystem::absolute(target).lexically_normal().string()
                 : resolved.string();
}

// Refuses two outputs that name the same file (directly, through a link or another name of
// it, or both "-"): one would be lost or both mixed. Returns false after saying so on err,
// before anything is written.
bool OutputsDiffer(std::initializer_list<std::pair<const char*, std::string>> outputs,
                   std::ostream& err) {
    for (auto later = outputs.begin(); later != outputs.end(); ++later) {
        if (later->second.empty()) continue;
        for (auto earlier = outputs.begin(); earlier != later; ++earlier) {
            if (earlier->second.empty()) continue;
            std::error_code error;
            const bool same =
                OutputIdentity(earlier->second) == OutputIdentity(later->second) ||
                (earlier->second != kStandardOutput && later->second != kStandardOutput &&
                 std::filesystem::equivalent(earlier->second, later->second, error) && !error);
            if (!same) continue;
            const std::string name =
                later->second == kStandardOutput ? "standard output" : later->second;
            err << TerminalMessage(
                name, std::string("Cannot write: ") + earlier->first + " writes it too");
            return false;
        }
    }
    return true;
}

// Replaces path through the checked writer, so an existing file stays whole unless the new
// one is completely on disk; "-" is standard output, written in place. Returns false after
// saying why on err.
bool WriteOutputWith(const std::string& path, const std::function<void(QIODevice&)>& writer,
                     std::ostream& out, std::ostream& err) {
    try {
        if (path == kStandardOutput) {
            // What was printed before goes first.
            out.flush();
            AtomicFile file(AtomicFile::InPlace{}, STDOUT_FILENO, "standard output");
            writer(file.device());
            file.commit();
        } else {
            WriteFileAtomically(path, writer);
        }
        return true;
    } catch (const SabrixError& e) {
        const std::string name = path == kStandardOutput ? "standard output" : path;
        err << TerminalMessage(name, std::string("Cannot write: ") + e.what());
        return false;
    }
}

bool WriteOutput(const std::string& path, std::string_view bytes, std::ostream& out,
                 std::ostream& err) {
    return WriteOutputWith(
        path, [bytes](QIODevice& device) { WriteAllBytes(device, bytes); }, out, err);
}

// A refusal of a field as the command line says it: the field's caption ("Minimum period:")
// becomes the option that gave it ("--min-period:").
std::string OptionMessage(const QString& refusal) {
    static const std::pair<const char*, const char*> kOptions[] = {
        {"Minimum period:", "--min-period:"},
        {"Maximum period:", "--max-period:"},
        {"Samples per peak:", "--samples-per-peak:"},
        {"Period:", "--phase:"},
        {"Epoch:", "--epoch:"}};
    std::string text = refusal.toStdString();
    for (const auto& [caption, option] : kOptions)
        if (text.rfind(caption, 0) == 0) return option + text.substr(std::strlen(caption));
    return text;
}

// The lines a run prints when it is done: on standard output, unless one of its outputs went
// there; then only a count of rejected lines is said, on standard error.
void PrintSummary(std::initializer_list<std::string> outputs, const std::string& file,
                  const std::vector<std::string>& lines, int64_t rejected, std::ostream& out,
                  std::ostream& err) {
    if (std::find(outputs.begin(), outputs.end(), kStandardOutput) == outputs.end()) {
        for (const std::string& line : lines) out << PrintableLine(line) << "\n";
    } else if (rejected > 0) {
        err << TerminalMessage(file, "Rejected lines: " + std::to_string(rejected));
    }
}

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

// Shows only the bands of --bands, in the full view of their observations. Returns false
// after naming a band that no observation of the file has.
bool ShowOnlyBands(MainWindowCommands& commands, const std::vector<std::string>& bands,
                   const std::string& file, std::ostream& err) {
    std::set<std::string> present;
    for (const ColumnText& band : commands.table()->Columns().Bands())
        if (band.count > 0) present.insert(band.text);
    for (const std::string& band : bands) {
        if (present.contains(band)) continue;
        std::string known;
        for (const std::string& text : present) known += (known.empty() ? "" : ", ") + text;
        // A band name may end in a full stop ("Vis."): the sentence then needs none of its own.
        if (commands.state().star.ThreeColumnFormat || known.empty())
            known = ": a three-column file has no bands.";
        else
            known = "; the file's bands: " + known + (known.back() == '.' ? "" : ".");
        err << TerminalMessage(file, "No observation has the band \"" + band + "\"" + known);
        return false;
    }
    commands.Run(cmd::ShowOnlyBands, std::set<std::string>(bands.begin(), bands.end()));
    commands.Run(cmd::cmdReset_Click);
    return true;
}

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
            if (raster) {
                FinishPlotArea(loaded->picture, layout, loaded->canvases, view.starLabel);
                encoded = EncodeRasterImage(loaded->picture, format);
            } else  // vector shapes are drawn as the view is drawn, so the view is drawn again
                encoded = commands.Run(cmd::PlotImageOf, format, options.width, options.height);
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

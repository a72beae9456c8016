#include "app/CommandLineTools.h"

#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string_view>

#include "analysis/Bins.h"
#include "analysis/PeriodFiles.h"
#include "analysis/PeriodSearch.h"
#include "analysis/PhaseFolding.h"
#include "analysis/PolyFit.h"
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
    explicit LoadedFile(const PlotAreaLayout& layout) : canvases(layout) {}
    // Named after the process, so that the next run removes it when this one is killed.
    ScratchFolder scratch{QDir::tempPath().toStdString()};
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
std::unique_ptr<LoadedFile> LoadFile(const std::string& givenFile, const LoadOptions& load,
                                     bool rows, const std::string& programDir,
                                     const PlotAreaLayout& layout,
                                     const std::function<void(AppState&)>& prepare,
                                     std::ostream& err) {
    // Labels and messages name the file by its full path, as the windows do.
    const std::string file = std::filesystem::absolute(givenFile).lexically_normal().string();
    const ObservationFileKind kind = load.kind.value_or(GuessObservationFileKind(file));
    if (load.timeOffset && kind != ObservationFileKind::ThreeColumnFile) {
        err << TerminalMessage(file,
                               "--time-offset is for three-column files; this one is read "
                               "as a star file.");
        return nullptr;
    }
    auto loaded = std::make_unique<LoadedFile>(layout);
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
    loaded->commands = std::make_unique<MainWindowCommands>(
        std::move(state), files, loaded->prompts, loaded->host,
        MainWindowCommands::Canvases{loaded->canvases.picView, loaded->canvases.picJDScale,
                                     loaded->canvases.picMagScale});
    MainWindowCommands& commands = *loaded->commands;
    commands.OpenWorkingTable();
    if (!commands.view().endRun) {
        if (kind == ObservationFileKind::ThreeColumnFile) {
            commands.LoadThreeColumnFile(file, load.timeOffset.value_or(0));
        } else if (rows) {
            commands.LoadStarFile(file);
            commands.FinishFill();
        } else {
            commands.LoadStarFile(file, MainWindowCommands::RowFill::None);
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

// Replaces path through the checked writer, so an existing file stays whole unless the new
// one is completely on disk; "-" is standard output, written in place. Returns false after
// saying why on err.
bool WriteOutput(const std::string& path, std::string_view bytes, std::ostream& out,
                 std::ostream& err) {
    try {
        if (path == kStandardOutput) {
            // What was printed before goes first.
            out.flush();
            AtomicFile file(AtomicFile::InPlace{}, STDOUT_FILENO, "standard output");
            WriteAllBytes(file.device(), bytes);
            file.commit();
        } else {
            WriteFileAtomically(path, [bytes](QIODevice& device) { WriteAllBytes(device, bytes); });
        }
        return true;
    } catch (const SabrixError& e) {
        const std::string name = path == kStandardOutput ? "standard output" : path;
        err << TerminalMessage(name, std::string("Cannot write: ") + e.what());
        return false;
    }
}

// The lines a run prints when it is done: on standard output, unless one of its outputs went
// there; then only a count of rejected lines is said, on standard error.
void PrintSummary(std::initializer_list<std::string> outputs, const std::string& file,
                  const std::vector<std::string>& lines, int64_t rejected, std::ostream& out,
                  std::ostream& err) {
    if (std::find(outputs.begin(), outputs.end(), kStandardOutput) == outputs.end()) {
        for (const std::string& line : lines) out << line << "\n";
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
        err << TerminalMessage(
            file, "No observation has the band \"" + band + "\"; the file's bands: " + known + ".");
        return false;
    }
    commands.ShowOnlyBands(std::set<std::string>(bands.begin(), bands.end()));
    commands.cmdReset_Click();
    return true;
}

}  // namespace

int RunRender(const RenderOptions& options, const std::string& programDir, std::ostream& out,
              std::ostream& err) {
    try {
        if (!OutputsSpareTheInput(
                options.file, {options.out, options.binFile, options.curveOut, options.phaseOut},
                err))
            return 1;
        const PlotAreaLayout layout = LayOutPlotArea(options.width, options.height);
        // The picture, the label, the count of rejected lines, the stats and the overlays all
        // come from the plotted columns: the rows are not written.
        auto loaded = LoadFile(
            options.file, options.load, false, programDir, layout,
            [&options](AppState& state) {
                state.overlay.OmitFainter = options.omitFaint;
                state.overlay.StatsShown = options.stats;
            },
            err);
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
            if (!commands.EnterBins(fields)) {
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
            if (!commands.PlotPolyFit(QString::fromStdString(*options.poly)))
                return refused(loaded->file, std::string());
            if (!options.curveOut.empty())
                files.emplace_back(options.curveOut, PolyCurveText(commands.PolyCurve()));
        }
        if (options.view) {
            // The edges are given as the scale shows the times.
            const double offset = commands.state().star.TimeOffset;
            commands.ShowWindow(options.view->jdLeft - offset, options.view->jdRight - offset,
                                options.view->magTop, options.view->magBottom);
        }
        if (options.phase) {
            // The fields as the period search window reads them; no epoch: the default.
            const QString epochText = QString::fromStdString(options.epoch.value_or(""));
            const FoldOutcome fold =
                ReadFoldFields(QString::fromStdString(*options.phase), epochText, 0);
            if (!fold.fold) {
                err << TerminalMessage(loaded->file, fold.refusal.toStdString());
                return 1;
            }
            // A typed epoch is a time as the scale shows it, the offset added.
            const std::optional<double> epoch =
                options.epoch
                    ? std::optional<double>(fold.fold->epoch - commands.state().star.TimeOffset)
                    : std::nullopt;
            if (!commands.ShowPhasePlot(fold.fold->period, epoch).isEmpty())
                return refused(loaded->file, std::string());
            if (!options.phaseOut.empty()) {
                const PhaseFold& shown = *commands.phaseFold();
                const PeriodObservations drawn = DrawnObservations(
                    commands.table()->Columns(), commands.state(), shown.jdLeft, shown.jdRight);
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                WritePhaseTable(drawn.times, drawn.mags, shown.epoch, shown.period, buffer);
                files.emplace_back(options.phaseOut, buffer.data().toStdString());
            }
        }
        // A picture without what was asked of it is no success: nothing is written.
        if (PrintFailures(*loaded, err)) return 1;
        const WindowView& view = commands.view();
        // Encoded in memory first: the image encoder then never meets a failing disk (it would
        // leak its row buffer and print its own error), only the checked writer does.
        QByteArray encoded;
        const PlotImageFormat format =
            PlotImageFormatFor(options.out).value_or(PlotImageFormat::Png);
        try {
            if (format == PlotImageFormat::Png || format == PlotImageFormat::Jpeg)
                encoded = EncodeRasterImage(ComposePlotArea(options.width, options.height, layout,
                                                            loaded->canvases, view.starLabel),
                                            format);
            else  // vector shapes are drawn as the view is drawn, so the view is drawn again
                encoded = commands.PlotImageOf(format, options.width, options.height);
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
        PrintSummary({options.out, options.binFile, options.curveOut, options.phaseOut},
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
            commands.ShowWindow(options.view->jdLeft - offset, options.view->jdRight - offset,
                                options.view->magTop, options.view->magBottom);
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
        PeriodRangeFields fields = PeriodRangeText(DefaultPeriodRange(shown.times));
        if (options.minPeriod) fields.minPeriod = QString::fromStdString(*options.minPeriod);
        if (options.maxPeriod) fields.maxPeriod = QString::fromStdString(*options.maxPeriod);
        if (options.samplesPerPeak)
            fields.samplesPerPeak = QString::fromStdString(*options.samplesPerPeak);
        const FrequencyGridOutcome grid = ReadPeriodRange(fields, data.data->span());
        if (!grid.grid) {
            err << TerminalMessage(loaded->file, grid.refusal.toStdString());
            return 1;
        }
        JobControl control;
        PeriodSearchOptions search;
        if (options.pdm) search.method = SearchMethod::PhaseDispersion;
        const std::optional<PeriodSearchResult> result =
            RunPeriodSearch(*data.data, *grid.grid, search, control);
        if (!result) return 1;
        std::vector<std::string> lines;
        for (size_t i = 0; i < result->peaks.size() && i < 5; ++i) {
            const PeriodogramPeak& peak = result->peaks[i];
            lines.push_back(
                FormatFixed(peak.period, 1, 7) + " " + FormatFixed(peak.frequency, 1, 7) + " " +
                FormatFixed(peak.power, 1, 4) + " " + FormatFixed(peak.amplitude, 1, 4));
        }
        if (!options.out.empty()) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            WritePeriodogramCsv(result->periodogram, buffer);
            if (!WriteOutput(options.out, buffer.data().toStdString(), out, err)) return 1;
        }
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
            text = DownloadFileText(table, {});
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

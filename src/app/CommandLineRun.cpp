// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLineRun.h"

#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <set>

#include "core/AppState.h"
#include "core/AtomicFile.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/SabrixError.h"
#include "core/SettingsFile.h"
#include "core/WorkingDatabase.h"
#include "data/FileKindGuess.h"
#include "data/ObsTable.h"

namespace sabrix::cli {

namespace {

// The output name that stands for standard output.
constexpr std::string_view kStandardOutput = "-";

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

}  // namespace

std::unique_ptr<LoadedFile> LoadFile(const std::string& givenFile, const LoadOptions& load,
                                     bool rows, const std::string& programDir,
                                     const PlotAreaLayout& layout,
                                     const std::function<void(AppState&)>& prepare,
                                     std::ostream& err, LoadedFile::Pixels pixels, QSize size) {
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

bool PrintFailures(const LoadedFile& loaded, std::ostream& err) {
    bool any = false;
    for (const auto& message : loaded.prompts.messages)
        if (message.title == QStringLiteral("Error")) {
            err << TerminalMessage(loaded.file, message.text.toStdString());
            any = true;
        }
    return any;
}

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

void PrintSummary(std::initializer_list<std::string> outputs, const std::string& file,
                  const std::vector<std::string>& lines, int64_t rejected, std::ostream& out,
                  std::ostream& err) {
    if (std::find(outputs.begin(), outputs.end(), kStandardOutput) == outputs.end()) {
        for (const std::string& line : lines) out << PrintableLine(line) << "\n";
    } else if (rejected > 0) {
        err << TerminalMessage(file, "Rejected lines: " + std::to_string(rejected));
    }
}

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

}  // namespace sabrix::cli

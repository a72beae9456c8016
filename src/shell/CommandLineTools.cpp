#include "shell/CommandLineTools.h"

#include <QBuffer>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string_view>

#include "core/AppState.h"
#include "core/AtomicFile.h"
#include "core/FileSystem.h"
#include "core/ProgramDir.h"
#include "core/SabrixError.h"
#include "core/ScratchFolder.h"
#include "core/SettingsFile.h"
#include "data/ObsTable.h"
#include "data/StarFileExport.h"
#include "data/StarFileImport.h"
#include "data/ThreeColumnFile.h"
#include "plot/PlotImage.h"
#include "plot/PlotWindow.h"

namespace sabrix {

namespace {

// A file loaded into a scratch database, with the state the windows would hold after the load.
struct LoadedFile {
    // Named after the process, so that the next run removes it when this one is killed.
    ScratchFolder scratch{QDir::tempPath().toStdString()};
    std::unique_ptr<ObsTable> table;
    AppState state;
    int64_t rejected = 0;
};

// Loads the file as a star file or a three-column file. Returns nothing after writing the
// program's message to err.
std::unique_ptr<LoadedFile> LoadFile(const std::string& givenFile, bool threeColumn,
                                     const std::string& programDir, std::ostream& err) {
    // Labels and messages name the file by its full path, as the windows do.
    const std::string file = std::filesystem::absolute(givenFile).lexically_normal().string();
    auto loaded = std::make_unique<LoadedFile>();
    const std::string templatePath = TemplateDatabasePath(programDir);
    if (!FileExists(templatePath)) {
        err << "Database template " << templatePath << " missing.\n";
        return nullptr;
    }
    if (!loaded->scratch.isValid()) {
        err << "Cannot create a temporary folder.\n";
        return nullptr;
    }
    const std::string dbPath = loaded->scratch.path() + "/Obs.db";
    std::filesystem::copy_file(templatePath, dbPath);
    loaded->table = std::make_unique<ObsTable>(dbPath);
    AppState& state = loaded->state;
    ReadSettings(programDir, state.settings);
    if (state.settings.IniMissing) {
        // Without a settings file the colours are the ones a first start would offer.
        const bool missing = state.settings.IniMissing;
        state.settings = DefaultSettings(programDir);
        state.settings.IniMissing = missing;
    }
    state.star.FilesFolder = FilesFolderPath(programDir);
    if (!FolderExists(state.star.FilesFolder)) CreateFolder(state.star.FilesFolder);

    if (threeColumn) {
        const auto name = ThreeColumnStarName(file);
        if (!name) {
            err << "Error in loading database. Check source file.\r\nThe file name " << file
                << " has no \".\".\n";
            return nullptr;
        }
        try {
            const int64_t rows =
                XYZLoadRows(file, *loaded->table, *name, state.overlay.DefaultPointColor, {});
            if (rows == 0) {
                err << "Error in loading database. Check source file.\n";
                return nullptr;
            }
        } catch (const ThreeColumnFileNotFound& e) {
            err << e.what() << "\n";
            return nullptr;
        } catch (const std::exception& e) {
            err << "Error in loading database. Check source file.\r\n" << e.what() << "\n";
            return nullptr;
        }
        state.star.StarName = *name;
        state.star.ThreeColumnFilePath = file;
        state.star.ThreeColumnFormat = true;
    } else {
        ImportResult result;
        try {
            result = ImportStarFileRows(file, state.star.FilesFolder + "/Errors.txt",
                                        *loaded->table, state.settings, {});
        } catch (const std::exception& e) {
            err << "Error in loading database. Check source file.\r\n" << e.what() << "\n";
            return nullptr;
        }
        loaded->rejected = result.rejected;
        if (result.outcome != ImportResult::Outcome::Loaded) {
            const auto message = ImportMessageFor(result);
            err << (message ? message->text.toStdString()
                            : std::string("Error in loading database. Check source file."))
                << "\n";
            return nullptr;
        }
        state.star.StarName = result.starName;
        state.star.RecordCount = result.recordCount;
        state.settings.FilePath = file;
    }
    state.star.FileLoaded = true;
    if (!FindExtremes(state.view, *loaded->table)) {
        err << NoObservationsText(state.star.StarName).toStdString() << "\n";
        return nullptr;
    }
    return loaded;
}

// Replaces path through the checked writer, so an existing file stays whole unless the new
// one is completely on disk. Returns false after saying why on err.
bool WriteOutput(const std::string& path, std::string_view bytes, std::ostream& err) {
    try {
        WriteFileAtomically(path, [bytes](QIODevice& device) { WriteAllBytes(device, bytes); });
        return true;
    } catch (const SabrixError& e) {
        err << "Cannot write " << path << ": " << e.what() << "\n";
        return false;
    }
}

}  // namespace

int RunRender(const RenderOptions& options, const std::string& programDir, std::ostream& out,
              std::ostream& err) {
    try {
        auto loaded = LoadFile(options.file, options.threeColumn, programDir, err);
        if (!loaded) return 1;
        AppState& state = loaded->state;
        state.overlay.OmitFainter = options.omitFaint;
        state.overlay.StatsShown = options.stats;
        PlotOutcome outcome;
        const QImage image =
            RenderPlotArea(state, *loaded->table, options.width, options.height, &outcome);
        for (const QString& message : outcome.errorMessages) err << message.toStdString() << "\n";
        // Encoded in memory first: the image encoder then never meets a failing disk (it would
        // leak its row buffer and print its own error), only the checked writer does.
        QByteArray png;
        QBuffer encoded(&png);
        encoded.open(QIODevice::WriteOnly);
        if (!image.save(&encoded, "PNG")) {
            err << "Cannot write " << options.out << ": PNG encoding failed\n";
            return 1;
        }
        if (!WriteOutput(options.out,
                         std::string_view(png.constData(), static_cast<size_t>(png.size())), err))
            return 1;
        out << (outcome.starLabel ? outcome.starLabel->toStdString() : std::string()) << "\n";
        out << "Rejected lines: " << loaded->rejected << "\n";
        if (options.stats && outcome.statsLines)
            for (const QString& line : *outcome.statsLines) out << line.toStdString() << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

int RunConvert(const ConvertOptions& options, const std::string& programDir, std::ostream& out,
               std::ostream& err) {
    try {
        auto loaded = LoadFile(options.file, options.threeColumn, programDir, err);
        if (!loaded) return 1;
        bool toThreeColumn = options.threeColumn;
        if (options.to == ConvertOptions::Target::StarFile) toThreeColumn = false;
        if (options.to == ConvertOptions::Target::ThreeColumn) toThreeColumn = true;
        const std::string text = toThreeColumn
                                     ? ThreeColumnFileText(*loaded->table)
                                     : StarFileText(*loaded->table, loaded->state.star.StarName,
                                                    QDateTime::currentDateTime(), {});
        if (!WriteOutput(options.out, text, err)) return 1;
        out << "Wrote " << options.out << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }
}

}  // namespace sabrix

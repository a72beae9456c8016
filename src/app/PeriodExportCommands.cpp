// SPDX-License-Identifier: GPL-3.0-or-later
// PeriodController: the periodogram written to a CSV file or drawn into a picture.
#include <exception>

#include "analysis/PeriodFiles.h"
#include "app/PeriodController.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/TrimBlanks.h"
#include "dialogs/ImageExportDialog.h"
#include "plot/PlotImage.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

namespace {

// The folder of the loaded file, with its slash ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::optional<std::string> PeriodController::AskExportPath(const QString& title,
                                                           const char* extension,
                                                           const QString& filter) const {
    const std::string loaded = ctx_.state.star.ThreeColumnFormat
                                   ? ctx_.state.star.ThreeColumnFilePath
                                   : ctx_.state.settings.FilePath;
    std::string name(TrimBlanks(ctx_.state.star.StarName));
    if (name.empty() || name.find('/') != std::string::npos) name = "star";
    FileDialogOptions options;
    options.title = title;
    options.fileName = DisplayText(FolderOf(loaded) + name + "-periodogram" + extension);
    options.filter = filter;
    options.initialFolder = DisplayText(FolderOf(loaded));
    options.confirmOverwrite = true;
    const std::optional<QString> chosen = ctx_.prompts.saveFile(options);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    return PathBytes(*chosen);
}

void PeriodController::ExportCsv() {
    const PeriodSearchResult* result = analysis_->current();
    if (!result) return;
    const std::optional<std::string> path =
        AskExportPath(QStringLiteral("Export Periodogram"), ".csv",
                      QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|"));
    if (!path) return;
    try {
        WriteFileAtomically(
            *path, [result](QIODevice& out) { WritePeriodogramCsv(result->periodogram, out); });
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "ExportPeriodogram");
    }
}

void PeriodController::ExportImage() {
    if (!analysis_->current() || !imageExportDialog_) return;
    const std::optional<ImageExportChoice> choice =
        imageExportDialog_->ask(ImageExportChoice{1000, 600, PlotImageFormat::Png});
    if (!choice) return;
    const char* extension = PlotImageExtension(choice->format);
    std::optional<std::string> path = AskExportPath(QStringLiteral("Export Periodogram Image"),
                                                    extension, PlotImageFilter(choice->format));
    if (!path) return;
    // A name without a picture's extension gets the chosen format's.
    if (!PlotImageFormatFor(*path)) *path += extension;
    try {
        const PeriodogramWindowView view = analysis_->View(false, QString(), 0);
        const QByteArray bytes = PlotImageBytes(
            *PlotImageFormatFor(*path), choice->width, choice->height,
            [&view](PlotAreaCanvases& canvases) {
                return view.draw(canvases.picView, canvases.picJDScale, canvases.picMagScale);
            });
        WriteFileAtomically(*path, [&bytes](QIODevice& out) {
            WriteAllBytes(out,
                          std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        });
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "ExportPeriodogram");
    }
}

}  // namespace sabrix

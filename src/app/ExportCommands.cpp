// SPDX-License-Identifier: GPL-3.0-or-later
// SaveController: "Export Plot Image".
#include <exception>

#include "app/SaveController.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/SabrixError.h"
#include "core/TrimBlanks.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"

namespace sabrix {

namespace {

const QString kExportTitle = QStringLiteral("Export Plot Image");

// The folder of the loaded file ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void SaveController::mnuExport_Click() {
    if (!ctx_.table) return;
    if (!ctx_.state.star.FileLoaded) {
        ctx_.SayNoStarLoaded();
        return;
    }
    if (!imageExportDialog_) return;
    const QSize windowPlot = PlotAreaSizeFor(
        QSize(ctx_.canvases.picView.pixelWidth(), ctx_.canvases.picView.pixelHeight()));
    const ImageExportChoice offered = lastExport_.value_or(
        ImageExportChoice{windowPlot.width(), windowPlot.height(), PlotImageFormat::Png});
    const std::optional<ImageExportChoice> choice = imageExportDialog_->ask(offered);
    if (!choice) return;
    lastExport_ = *choice;

    const char* extension = PlotImageExtension(choice->format);
    const std::string loaded = ctx_.state.star.ThreeColumnFormat
                                   ? ctx_.state.star.ThreeColumnFilePath
                                   : ctx_.state.settings.FilePath;
    FileDialogOptions options;
    options.title = kExportTitle;
    std::string name(TrimBlanks(ctx_.state.star.StarName));
    if (name.empty() || name.find('/') != std::string::npos) name = "plot";
    options.fileName = DisplayText(FolderOf(loaded) + name + extension);
    options.filter = PlotImageFilter(choice->format);
    options.initialFolder = DisplayText(FolderOf(loaded));
    options.confirmOverwrite = true;
    const std::optional<QString> chosen = ctx_.prompts.saveFile(options);
    if (!chosen || chosen->isEmpty()) return;
    std::string path = PathBytes(*chosen);
    if (!PlotImageFormatFor(path)) {
        // The dialog asked about the name as typed, not about the one written.
        path += extension;
        if (FileExists(path) &&
            ctx_.Say(QStringLiteral("The file ") + DisplayText(path) +
                         QStringLiteral(" already exists.\r\nDo you want to overwrite it?"),
                     kExportTitle, Buttons::YesNo, Icon::None) != Answer::Yes)
            return;
    }
    ExportPlotImage(path, choice->width, choice->height);
}

bool SaveController::ExportPlotImage(const std::string& path, int width, int height) {
    const std::optional<PlotImageFormat> format = PlotImageFormatFor(path);
    if (!format) {
        ctx_.Say(QStringLiteral("The file name ") + DisplayText(path) +
                     QStringLiteral(" does not end in .png, .jpg, .svg or .pdf."),
                 kExportTitle, Buttons::OK, Icon::Exclamation);
        return false;
    }
    if (!PlotImageSizeAllowed(width, height)) {
        ctx_.Say(QStringLiteral("The picture must be from %1 to %2 pixels wide and high.")
                     .arg(kPlotImageMinSide)
                     .arg(kPlotImageMaxSide),
                 kExportTitle, Buttons::OK, Icon::Exclamation);
        return false;
    }
    try {
        const QByteArray bytes = PlotImageOf(*format, width, height);
        WriteFileAtomically(path, [&bytes](QIODevice& out) {
            WriteAllBytes(out,
                          std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        });
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "ExportPlotImage");
        return false;
    }
    return true;
}

QByteArray SaveController::PlotImageOf(PlotImageFormat format, int width, int height) {
    CommandContext::Job job(ctx_);
    return PlotImageBytes(format, width, height, [this, &job](PlotAreaCanvases& canvases) {
        return DrawViewOnto(canvases, job.pacer());
    });
}

QString SaveController::DrawViewOnto(PlotAreaCanvases& canvases, EventPacer& pacer) {
    // The same steps as the redraw sequence with its overlays, on canvases of another size;
    // the window's own canvases and its state stay as they are.
    canvases.picView.Mode = ctx_.canvases.picView.Mode;
    Scaler(ctx_.state.view, canvases.picView, canvases.picJDScale, canvases.picMagScale);
    const PlotOutcome outcome = Plotter(
        ctx_.state, ctx_.marks, *ctx_.table, canvases.picView, canvases.picJDScale,
        canvases.picMagScale, [&pacer] { pacer.tick(); }, ctx_.Frame());
    if (!outcome.errorMessages.empty())
        throw SabrixError(outcome.errorMessages.front().toStdString());
    for (const PlotOverlay* overlay : ctx_.overlays()) overlay->DrawOverlayOnto(canvases.picView);
    return outcome.starLabel.value_or(ctx_.view.starLabel);
}

}  // namespace sabrix

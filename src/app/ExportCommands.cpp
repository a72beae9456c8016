// The commands of MainWindowCommands that write the loaded star elsewhere than its own file:
// "Save as Download File" and "Export Plot Image".
#include <exception>

#include "analysis/Bins.h"
#include "analysis/PolyFit.h"
#include "app/MainWindowCommands.h"
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

QString FormatFilter(PlotImageFormat format) {
    switch (format) {
        case PlotImageFormat::Png:
            return QStringLiteral("PNG Pictures (*.png)|*.png|");
        case PlotImageFormat::Svg:
            return QStringLiteral("SVG Drawings (*.svg)|*.svg|");
        case PlotImageFormat::Pdf:
            return QStringLiteral("PDF Documents (*.pdf)|*.pdf|");
    }
    return {};
}

// The folder of the loaded file ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

const WindowView& MainWindowCommands::mnuSaveDownload_Click() {
    if (Busy() || !TableReady()) return view_;
    Job job(*this);
    sabrix::mnuSaveDownload_Click(state_, *table_, prompts_, *this);
    return view_;
}

const WindowView& MainWindowCommands::mnuExport_Click() {
    if (Busy() || !table_) return view_;
    if (!state_.star.FileLoaded) {
        SayNoStarLoaded();
        return view_;
    }
    if (!imageExportDialog_) return view_;
    const QSize windowPlot =
        PlotAreaSizeFor(QSize(canvases_.picView.pixelWidth(), canvases_.picView.pixelHeight()));
    const ImageExportChoice offered = lastExport_.value_or(
        ImageExportChoice{windowPlot.width(), windowPlot.height(), PlotImageFormat::Png});
    const std::optional<ImageExportChoice> choice = imageExportDialog_->ask(offered);
    if (!choice) return view_;
    lastExport_ = *choice;

    const char* extension = PlotImageExtension(choice->format);
    const std::string loaded =
        state_.star.ThreeColumnFormat ? state_.star.ThreeColumnFilePath : state_.settings.FilePath;
    FileDialogOptions options;
    options.title = kExportTitle;
    std::string name(TrimBlanks(state_.star.StarName));
    if (name.empty() || name.find('/') != std::string::npos) name = "plot";
    options.fileName = DisplayText(FolderOf(loaded) + name + extension);
    options.filter = FormatFilter(choice->format);
    options.initialFolder = DisplayText(FolderOf(loaded));
    options.confirmOverwrite = true;
    const std::optional<QString> chosen = prompts_.saveFile(options);
    if (!chosen || chosen->isEmpty()) return view_;
    std::string path = PathBytes(*chosen);
    if (!PlotImageFormatFor(path)) {
        // The dialog asked about the name as typed, not about the one written.
        path += extension;
        if (FileExists(path) &&
            Say(QStringLiteral("The file ") + DisplayText(path) +
                    QStringLiteral(" already exists.\r\nDo you want to overwrite it?"),
                kExportTitle, Buttons::YesNo, Icon::None) != Answer::Yes)
            return view_;
    }
    ExportPlotImage(path, choice->width, choice->height);
    return view_;
}

bool MainWindowCommands::ExportPlotImage(const std::string& path, int width, int height) {
    if (!PlotShown()) return false;
    const std::optional<PlotImageFormat> format = PlotImageFormatFor(path);
    if (!format) {
        Say(QStringLiteral("The file name ") + DisplayText(path) +
                QStringLiteral(" does not end in .png, .svg or .pdf."),
            kExportTitle, Buttons::OK, Icon::Exclamation);
        return false;
    }
    if (!PlotImageSizeAllowed(width, height)) {
        Say(QStringLiteral("The picture must be from %1 to %2 pixels wide and high.")
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
        SayModuleError(e, "ExportPlotImage");
        return false;
    }
    return true;
}

QByteArray MainWindowCommands::PlotImageOf(PlotImageFormat format, int width, int height) {
    Job job(*this);
    return PlotImageBytes(format, width, height, [this, &job](PlotAreaCanvases& canvases) {
        return DrawViewOnto(canvases, job.pacer());
    });
}

QString MainWindowCommands::DrawViewOnto(PlotAreaCanvases& canvases, EventPacer& pacer) {
    // The same steps as the redraw sequence with its overlays, on canvases of another size;
    // the window's own canvases and its state stay as they are.
    canvases.picView.Mode = canvases_.picView.Mode;
    Scaler(state_.view, canvases.picView, canvases.picJDScale, canvases.picMagScale);
    const PlotOutcome outcome =
        Plotter(state_, marks_, *table_, canvases.picView, canvases.picJDScale,
                canvases.picMagScale, [&pacer] { pacer.tick(); });
    if (!outcome.errorMessages.empty())
        throw SabrixError(outcome.errorMessages.front().toStdString());
    // An overlay that the window could not draw was turned off there, with its message.
    if (binsShown_) BinPlotter(state_.view, bins_, canvases.picView);
    if (polyShown_ && polyRegression_) PlotPoly(state_.view, *polyRegression_, canvases.picView);
    return outcome.starLabel.value_or(view_.starLabel);
}

}  // namespace sabrix

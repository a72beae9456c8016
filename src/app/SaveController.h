// The commands that write the loaded star to a file: "Save to Star File", "Save 3-Column
// File", "Save as Download File" and "Export Plot Image". It keeps the last export's size and
// format; the export asks through the ImageExportDialog given (none: the command does nothing).
#pragma once

#include <QByteArray>
#include <optional>
#include <string>

#include "app/CommandContext.h"
#include "data/SaveCommands.h"
#include "dialogs/ImageExportDialog.h"
#include "plot/PlotImage.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

class SaveController : private SaveDisplay {
  public:
    explicit SaveController(CommandContext& context);

    void mnuSave_Click();
    void mnuSaveXYZ_Click();
    void mnuSaveDownload_Click();

    void setImageExportDialog(ImageExportDialog* dialog) { imageExportDialog_ = dialog; }
    // "Export Plot Image": asks for the size and format, offering the last choice (at first
    // the size that gives the exported plot the size of picView, in PNG), then for the file
    // (the star's name in the loaded file's folder offered). A name with the extension of a
    // format (.png, .svg, .pdf, any case) is written in that format; any other name gets the
    // chosen format's extension appended (and the question before it replaces a file).
    void mnuExport_Click();
    // Draws the current view afresh at width x height (label, both strips, the plot, the
    // marks and the overlays shown) into the file, in the format its name says. Returns true
    // when written. Returns false, after a message, when the name has no image extension, the
    // size is outside the export limits (PlotImageSizeAllowed) or the file cannot be written;
    // an existing file then keeps its content.
    bool ExportPlotImage(const std::string& path, int width, int height);
    // The bytes of that picture, without size limits. Throws SabrixError when the drawing
    // fails or the picture cannot be encoded.
    QByteArray PlotImageOf(PlotImageFormat format, int width, int height);

  private:
    // SaveDisplay.
    void hidePlotForSave() override;
    void setProgressCaption(const QString& caption) override;
    void restorePlotAfterSave() override;
    void yield() override;

    // The current view drawn afresh on other canvases (frames, plot, overlays shown); returns
    // the star label.
    QString DrawViewOnto(PlotAreaCanvases& canvases, EventPacer& pacer);

    CommandContext& ctx_;
    ImageExportDialog* imageExportDialog_ = nullptr;
    // The size and format of the last export of this run.
    std::optional<ImageExportChoice> lastExport_;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that write the loaded star to a file: "Save to Star File", "Save 3-Column
// File", "Save as Download File" and "Export Plot Image". It keeps the last export's size and
// format; the export asks through the ImageExportDialog given (none: the command does nothing).
//
// A save never destroys data: the whole output is built first, the loaded file is copied to
// its backup (once per load, see SaveBackupPath), and the output replaces its target only
// after it was written completely. Every failure ends in a message; FileEdited then stays set
// and the target keeps its old content.
#pragma once

#include <QByteArray>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/CommandContext.h"
#include "dialogs/ImageExportDialog.h"
#include "plot/PlotImage.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

class BackupCopy;
class LoadController;
class StarLayoutMisfit;

class SaveController {
  public:
    // The loads take over a file that a save wrote under another name (Save As).
    SaveController(CommandContext& context, LoadController& loads);

    // "Save to Star File": refuses three-column data ("Wrong File Format") and an empty window
    // ("No Star Loaded"); with "/alwayssave" as the whole command line saves at once; with
    // edits asks "Are you SURE?" and saves on Yes; else says "No Changes". Over a download
    // file (LoadController::downloadSource) the question names what the star layout drops
    // and offers Save as Download File first (Yes), the star layout (No) and nothing (Cancel). A
    // row with a value that the star file layout cannot hold stops the save before any file is
    // touched: the question names the first such row (its JD, the field, the value) over the plot
    // and offers "Save as Download File" instead (Yes runs it; No leaves everything as it was).
    void mnuSave_Click();
    // "Save 3-Column File": refuses star-file data and an empty window; with "/alwayssave" or
    // edits asks for the output file and writes three columns after backing up the loaded
    // three-column file; else says "No Changes".
    void mnuSaveXYZ_Click();
    // "Save as Download File": refuses three-column data and an empty window; otherwise asks
    // for the output file (the loaded file offered) and writes the download layout, backing up
    // the loaded file first when it is the one chosen. Another file written becomes the loaded
    // file, as after a Save As (LoadController::AdoptSavedFile): the edits are in it now.
    void mnuSaveDownload_Click();

    void setImageExportDialog(ImageExportDialog* dialog) { imageExportDialog_ = dialog; }
    // "Export Plot Image": asks for the size and format, offering the last choice (at first
    // the size that gives the exported plot the size of picView, in PNG), then for the file
    // (the star's name in the loaded file's folder offered). A name with the extension of a
    // format (.png, .jpg, .svg, .pdf, any case) is written in that format; any other name gets
    // the chosen format's extension appended (and the question before it replaces a file).
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
    bool AlwaysSave() const;
    // Both saves of a star file need a star file loaded; otherwise says why and returns false.
    bool StarReadyToSave();
    void SayNoChanges();
    // "Error DESCRIPTION occured in module M" titled "Save Error": a failure of the command
    // itself rather than of its writing.
    void SaySaveError(const std::exception& e, const char* module);
    // The logo and the caption of each step instead of the plot, and the plot back.
    void HidePlot(const QString& caption);
    void ShowStep(const QString& caption);
    void RestorePlot();
    // Starts copying the loaded file to its backup, behind the building of the new text,
    // unless this load's backup has been made (nothing then); BackUpOnce puts the copy in place.
    std::unique_ptr<BackupCopy> StartBackup(const std::string& loadedPath);
    void BackUpOnce(const std::unique_ptr<BackupCopy>& backup);
    // Writes the table over the star file FilePath after backing it up.
    void SaveFile();
    // The question after a save that a row's value stopped; Yes saves as a download file.
    void OfferDownloadSave(const StarLayoutMisfit& misfit);
    // The question of a save over the download file at path.
    void OfferDownloadSaveOver(const std::string& path);
    // Asks for the output file and writes the table in three columns / the download layout.
    void XYZSaveFile();
    void DownloadSaveFile();
    // What the window shows while the save dialog is up: the logo and the first caption (as
    // Save 3-Column File has always done), or the plot, which gives way once a file is chosen.
    enum class BehindDialog { Steps, Plot };
    // A save of the table to a file that the user chooses: the whole text is built first,
    // then the file that backupOf names for the chosen output (none: no backup) is backed up
    // once per load, then the output is replaced. Returns the file written; nothing when the
    // user cancelled or the save failed (after its message).
    std::optional<std::string> SaveToChosenFile(
        const QString& firstCaption, BehindDialog behindDialog, const FileDialogOptions& options,
        const std::function<std::string()>& buildText,
        const std::function<std::optional<std::string>(const std::string&)>& backupOf,
        const char* module);

    // The current view drawn afresh on other canvases (frames, plot, overlays shown); returns
    // the star label.
    QString DrawViewOnto(PlotAreaCanvases& canvases, EventPacer& pacer);

    CommandContext& ctx_;
    LoadController& loads_;
    ImageExportDialog* imageExportDialog_ = nullptr;
    // The size and format of the last export of this run.
    std::optional<ImageExportChoice> lastExport_;
};

}  // namespace sabrix

// The save commands of the main window, "Save to Star File", "Save 3-Column File" and "Save
// as Download File",
// as functions that the window's slots call. They talk to the user only through Prompts and
// to the window only through SaveDisplay, so they run and are tested without any window.
//
// A save never destroys data: the whole output is built and checked first, the loaded file
// is copied to its backup (once per load), and the output replaces its target only after it
// was written completely. Every failure ends in a message; the program keeps running,
// FileEdited stays set and the target keeps its old content.
#pragma once

#include <QString>

#include "core/AppState.h"
#include "core/Clock.h"
#include "core/Prompts.h"
#include "data/ObsTable.h"

namespace sabrix {

// What a save needs of the main window.
class SaveDisplay {
  public:
    virtual ~SaveDisplay() = default;
    // Hides fraButtons, picView, picJDScale, picMagScale and lblStarName; shows picNorvane
    // and lblPrg. Commands that change Obs must not start until restorePlotAfterSave().
    virtual void hidePlotForSave() = 0;
    // Sets the caption of lblPrg.
    virtual void setProgressCaption(const QString& caption) = 0;
    // Shows fraButtons, picView, picJDScale, picMagScale and lblStarName; hides lblPrg.
    virtual void restorePlotAfterSave() = 0;
    // Called once per row written and before the backup: lets the window repaint and handle
    // pending events when it is time to (the display paces it, see EventPacer).
    virtual void yield() = 0;
};

// "Save to Star File": refuses three-column data ("Wrong File Format") and an empty window
// ("No Star Loaded"); with "/alwayssave" as the whole command line saves at once; with edits
// asks "Are you SURE?" and saves on Yes; else says "No Changes". A failure of the command
// itself shows its "Save Error" message.
void mnuSave_Click(AppState& state, ObsTable& table, Prompts& prompts, const Clock& clock,
                   SaveDisplay& display);

// Writes the table over the star file state.settings.FilePath after backing it up.
// Returns true when the file was written (FileEdited is then cleared). Returns false after
// showing "Cannot format Number" (titled "OOPS!!") or the "encountered in module SaveFile."
// message; the star file, its backup and FileEdited are then as before.
bool SaveFile(AppState& state, ObsTable& table, Prompts& prompts, const Clock& clock,
              SaveDisplay& display);

// "Save 3-Column File": refuses star-file data ("Wrong File Format") and an empty window
// ("No Star Loaded"); with "/alwayssave" as the whole command line or with edits runs
// XYZSaveFile; else says "No Changes". A failure of the command itself shows its
// "Save Error" message.
void mnuSaveXYZ_Click(AppState& state, ObsTable& table, Prompts& prompts, SaveDisplay& display);

// Asks for the output file, backs up the loaded three-column file and writes the table to
// the output file in three columns. Returns true when written (FileEdited is then cleared).
// Returns false when the user cancels (nothing copied or written) or after showing the
// "encountered in module XYZSaveFile." message (output, backup and FileEdited unchanged).
bool XYZSaveFile(AppState& state, ObsTable& table, Prompts& prompts, SaveDisplay& display);

// "Save as Download File": refuses three-column data ("Wrong File Format") and an empty
// window ("No Star Loaded"); otherwise runs DownloadSaveFile, edits or not.
void mnuSaveDownload_Click(AppState& state, ObsTable& table, Prompts& prompts,
                           SaveDisplay& display);

// Asks for the output file (the loaded file offered, overwriting confirmed by the dialog) and
// writes the table to it as a download file (DownloadFileText). The loaded file, when chosen,
// is first backed up as "Save to Star File" backs it up. Returns true when written (FileEdited
// is then cleared). Returns false when the user cancels (nothing copied or written) or after
// showing the "encountered in module DownloadSaveFile." message (output, backup and
// FileEdited unchanged).
bool DownloadSaveFile(AppState& state, ObsTable& table, Prompts& prompts, SaveDisplay& display);

// The file a save copies the loaded file to before writing. Ordinarily BackupPathFor(path)
// ("/data/star.txt" -> "/data/star.bak"), or path + ".bak" when that would be the loaded file
// itself ("x.bak" -> "x.bak.bak"). When another regular file in the same folder could take
// the same backup name ("star.csv" or "star" beside "star.txt", or "star.txt.old" beside
// "star.txt"), the backup is path + ".bak" ("/data/star.txt.bak"), so that one file's backup
// never replaces the saved original of another. A folder that cannot be listed counts as
// holding no other file.
std::string SaveBackupPath(const std::string& path);

}  // namespace sabrix

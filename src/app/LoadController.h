// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that bring a file in and take it out again: "Load a File" and "Load 3-Column
// File", a recent-file item, a dropped file, cancelling a load, unloading the star, the
// working table's opening and closing, the questions before the run ends and before the
// configuration, and Sabrix.prefs ("Calendar Dates" and the files loaded last).
//
// A star file is read twice. The first read (on this thread, a job) takes the plotted columns
// of every data line, writes Errors.txt and finds every line that abandons the import; the
// window is then fitted and the light curve drawn from the columns. The second read runs on
// the table's own fill thread, started as the plot is drawn, writing the rows; the window
// polls it (PollFill) and, once it has ended, the commands that need the rows work again.
// Three-column files load in one pass into the table.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/CommandContext.h"
#include "core/ObservationFileKind.h"
#include "core/Preferences.h"
#include "data/DownloadSource.h"
#include "data/TypedNumbers.h"

namespace sabrix {

class LoadController {
  public:
    // How a star file's rows are written: behind its first plot, or never (a render that needs
    // only the plotted columns; the table then refuses the commands that need rows).
    enum class RowFill { Behind, None };

    explicit LoadController(CommandContext& context);

    // Form_Load: opens the working table. On failure the view's endRun is 1, after the message.
    void OpenWorkingTable();
    // Forgets the loaded star (every controller forgets its part), clears the canvases and the
    // status panels, shows the start look and puts a fresh working table in place; FilePath
    // keeps the folder of the file unloaded. Returns false when the table
    // could not be replaced; the message has been shown and the view's endRun is 1.
    bool UnloadStar();
    // The end of the run: closes and deletes the working table. Returns the exit code: 1 when
    // the table could not be deleted (after its message, unless exitCode was 1 already).
    int CloseWorkingTable(int exitCode);

    // "Load a File": asks for the file, then (a star is loaded) whether to unload it and,
    // while edits are unsaved, whether to save them first (MayUnload). LoadStarFile takes a
    // file chosen elsewhere; the plot comes from its columns, then (RowFill::Behind) its rows
    // are filled behind the plot (view.filling, PollFill).
    void mnuLoad_Click();
    void LoadStarFile(const std::string& path, RowFill fill);
    // The fill behind the plot: moves the progress bar; once the fill has ended the table is
    // ready, or, when it failed, its message has been said and the window is empty.
    void PollFill();
    // Waits for the fill to end, then as PollFill (the command line and the tests).
    void FinishFill();
    // "Cancel" and Escape: stops the load that runs. The table is empty again and the window
    // shows its empty look naming no file; nothing is said. A read stops at its next line; a
    // fill at once, or after the command that is on its way.
    void CancelLoad();
    void mnuXYZ_Click();
    // Loads a three-column file chosen elsewhere. timeOffset: the days that the JD scale, the
    // readout and the calendar dates add to its times (0: none); nothing: offered when every
    // time of the file is below 100000 (reduced times, see OfferTimeOffset).
    void LoadThreeColumnFile(const std::string& path,
                             std::optional<double> timeOffset = std::nullopt);
    // The lines of the star file that the last load wrote to Errors.txt.
    int64_t rejectedLines() const { return rejectedLines_; }

    // Save As: the star file just written under another name holds the loaded star now. It
    // becomes FilePath (named in panel 1, first in the recent files); its first backup is
    // made by the next save that replaces it.
    void AdoptSavedFile(const std::string& path);
    // The download file loaded, or the one Save as Download File last wrote over it or under
    // a new name: its bytes and the line of each row, for the next Save as Download File.
    // Null while the loaded file is of another kind (or could not be read again).
    const DownloadSource* downloadSource() const {
        return downloadSource_ ? &*downloadSource_ : nullptr;
    }
    // The loaded file is now source (written by a save), or, when nothing, no download file.
    void KeepDownloadSource(std::optional<DownloadSource> source) {
        downloadSource_ = std::move(source);
    }

    // The JD and magnitude texts typed in the record editor for the loaded star's rows, which
    // Save as Download File writes as typed.
    TypedNumbers& typedNumbers() { return typedNumbers_; }

    // Before the run ends: true when it may end, false when the user wants another chance to
    // save unsaved edits (asked only while edits are unsaved).
    bool QueryUnload();
    // Before the configuration dialog: with a star loaded, asks to unload it, then, while
    // edits are unsaved, whether to save them first, and unloads it. Returns true when the
    // dialog may open (FilePath then names the unloaded file's folder).
    bool PrepareConfiguration();
    // Runs the configuration dialog on the settings. Returns its answer (whether the program
    // goes on); true after a failure of the dialog, which is said.
    bool Configure(const std::function<bool(Settings&)>& dialog);

    // Sabrix.prefs of the program folder: read now; from then on every successful load puts
    // its file first in the list and every change is written back. Until set (the command
    // line), nothing is kept.
    void setPreferencesFolder(const std::string& programDir);
    const Preferences& preferences() const { return preferences_; }
    // "Calendar Dates": turns the calendar labels of the JD strip and the date in the pointer
    // readout on or off, keeps the choice and draws the JD strip again.
    void mnuCalendar_Click();
    // An item of the recent-file list (0 the newest): loads that file as its kind's menu
    // command would, after the same questions when a star is loaded. A file that is no longer
    // there is said so and taken off the list. An index beyond the list does nothing.
    void mnuRecent_Click(size_t index);
    // A file dropped on the main window: loaded as the kind GuessObservationFileKind finds
    // (or kind, when given), after that kind's questions when a star is loaded; a three-column
    // file with timeOffset as LoadThreeColumnFile takes it. A path that is no file is said so.
    void DropFile(const std::string& path, std::optional<ObservationFileKind> kind = std::nullopt,
                  std::optional<double> timeOffset = std::nullopt);

  private:
    // Reads FilePath's columns, draws them and starts the fill (as fill says). Returns whether
    // the star is loaded; after a failure its message has been said and the table is empty.
    bool ImportStarFile(RowFill fill);
    // Starts the table's fill behind the columns. Returns false after saying why and unloading.
    bool StartRowFill(ObsTable::RowSource rows, PlotColumns columns);
    void TakeFillStatus(const ObsTable::FillStatus& status);
    // The window after a load: the plot with the file named in panel 1, or the empty look.
    void ShowLoadedFile(bool loaded, const QString& panelOne);
    // The menu loads' open dialog, starting in the folder of FilePath (the data folder, or
    // the loaded star file's). Returns the chosen path; nothing when the user cancels, which
    // changes nothing.
    std::optional<std::string> ChooseFileToLoad();
    // The questions before a loaded star goes for a file of the kind: whether to unload it,
    // then, while edits are unsaved, whether the user wants another chance to save (as Exit
    // asks). Returns true when the load may go on: nothing loaded, or OK and then No.
    bool MayUnload(ObservationFileKind kind);
    bool AskToUnload(ObservationFileKind kind);
    // The questions, then the load of the file of that kind.
    void LoadFileOfKind(ObservationFileKind kind, const std::string& path,
                        std::optional<double> timeOffset = std::nullopt);
    // The file loaded: the star file (FilePath) or the three-column file.
    const std::string& LoadedFile() const;
    // After a load of a three-column file whose times are all below 100000 (HJD - 2450000, or
    // JD - 2400000): asks for the days to add to them on the scale, proposing 2450000 (or
    // 2400000 for times of 30000 and more), and draws the plot again with them. Cancel, empty
    // or 0 leaves the times as they are; a text that is no number is refused and asked again.
    void OfferTimeOffset();
    // After a successful load: the file goes first in the recent-file list.
    void RememberLoadedFile(ObservationFileKind kind, const std::string& path);
    // Writes Sabrix.prefs (a failure is said) and shows the check and the list.
    void KeepPreferences();

    CommandContext& ctx_;
    int64_t rejectedLines_ = 0;
    bool cancelRequested_ = false;
    // The load command is on the stack (its messages may turn the event loop).
    bool inLoadCommand_ = false;
    std::string preferencesFolder_;
    Preferences preferences_;
    std::optional<DownloadSource> downloadSource_;
    TypedNumbers typedNumbers_;
};

}  // namespace sabrix

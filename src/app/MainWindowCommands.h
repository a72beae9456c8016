// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the main window, without the window: the one door through which frmPlot,
// the command line and the tests run them, as Run(cmd::cmdBack_Click). Every command is
// declared once in CommandList.h (name, needs, menu item, tool button, controller function);
// Run checks the command's needs, refusing it when they are not met (the view returned
// unchanged, or the declared "no"), and calls the function of the controller that owns that
// part of the work:
//
//   LoadController      loads, the fill behind the plot, unloading, the working table,
//                       Sabrix.prefs and the questions before exit and configuration
//   SaveController      the three saves and "Export Plot Image"
//   PlotController      reset, refresh, navigation, the stats window, the tools, the mouse
//   AnalysisController  the averages and the polynomial fit
//   PeriodController    the period search, its window and the phase plot
//   RecordsController   box selection and locate, the record list, the editor, marking
//   ShellController     the user guide, the text viewer, the file manager, the web page
//   MinimaController    the times of minimum, their list and the O-C diagram
//
// The controllers share a CommandContext: the application state, the working table, the
// three canvases, the questions (Prompts), the host that shows the view during long jobs,
// and the WindowView that each command leaves for the window to apply.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "app/CommandContext.h"
#include "app/CommandList.h"
#include "app/LoadController.h"
#include "plot/PhasePlot.h"

namespace sabrix {

class AnalysisDialogs;
class DesktopOpener;
class MinimaDialogs;
struct ListedExtremum;
class ImageExportDialog;
class PeriodAnalysis;
class PeriodDialogs;
class RecordDialogs;
class RecordList;
struct Bins;
struct FourierModel;
struct PolySample;

class MainWindowCommands {
  public:
    using Canvases = CommandCanvases;
    using TableFiles = sabrix::TableFiles;
    using RowFill = LoadController::RowFill;

    MainWindowCommands(AppState state, TableFiles files, Prompts& prompts, WindowHost& host,
                       Canvases canvases);
    ~MainWindowCommands();

    // ---- What the window, the command line and the tests read, and the seams they set ----

    const AppState& state() const { return context_.state; }
    // The working table; null before OpenWorkingTable, after a failure to replace it and
    // after CloseWorkingTable.
    const ObsTable* table() const { return context_.table.get(); }
    const WindowView& view() const { return context_.view; }
    // True when the table holds every row of the loaded file (see Needs::Table).
    bool TableReady() const { return context_.TableReady(); }
    // The lines of the star file that the last load wrote to Errors.txt.
    int64_t rejectedLines() const;
    // The lines of the download file loaded (LoadController::downloadSource); null when none.
    const DownloadSource* downloadSource() const;
    const Preferences& preferences() const;
    // The record list while it is open; null otherwise.
    const RecordList* recordList() const;
    // The averages of the last Enter of the bins dialog, and the samples of the fitted curve
    // over the plot window (none before a fit is plotted).
    const Bins& bins() const;
    std::vector<PolySample> PolyCurve() const;

    // The clock of the dated header lines; the system clock unless a test sets another.
    void setClock(const Clock* clock) { context_.clock = clock; }
    // Reads Sabrix.prefs of the program folder and keeps it from then on (LoadController).
    void setPreferencesFolder(const std::string& programDir);
    // The desktop that opens the user guide and the rest, and where the user guide is.
    void setDesktop(DesktopOpener& opener, std::string userGuide);
    // The dialogs the commands open; none (the default) opens nothing.
    void setAnalysisDialogs(AnalysisDialogs* dialogs);
    void setPeriodDialogs(PeriodDialogs* dialogs);
    void setRecordDialogs(RecordDialogs* dialogs);
    void setMinimaDialogs(MinimaDialogs* dialogs);
    // The loaded star's times of minimum (read from beside its file on first use).
    const std::vector<ListedExtremum>& minimaList();
    // The search of the open period search window; null when none is open.
    const PeriodAnalysis* periodAnalysis() const;
    // The Fourier model drawn over the plot; null when none is.
    const FourierModel* periodModel() const;
    // What the phase plot folds while it is shown; nothing on the light curve.
    const std::optional<PhaseFold>& phaseFold() const;
    void setImageExportDialog(ImageExportDialog* dialog);

    // Runs the command when its needs are met, inside the one catch of every command: a
    // failure that escapes it is said ("Error ... encountered in module NAME.") and the
    // program stays usable. Arguments left out at the end are value-initialized
    // (LoadStarFile(path) fills the rows behind the plot). Returns the view, or what the
    // command answers; refused or failed, the view as it is or the declared refusal.
    template <typename C, typename R, typename... P, typename... Args>
    std::conditional_t<std::is_void_v<R>, const WindowView&, R> Run(
        const CommandDeclaration<C, R, P...>& command, Args&&... args) {
        if (!context_.Allows(command.needs)) return Refused(command);
        if constexpr (std::is_void_v<R>) {
            Guarded(command.name, command.failuresToCaller,
                    [&] { Call(controller<C>(), command.run, std::forward<Args>(args)...); });
            return context_.view;
        } else {
            std::optional<R> result;
            Guarded(command.name, command.failuresToCaller, [&] {
                result.emplace(Call(controller<C>(), command.run, std::forward<Args>(args)...));
            });
            if (result) return std::move(*result);
            return Refused(command);
        }
    }

  private:
    friend struct test::CommandsTestPeer;

    template <typename C, typename R, typename... P>
    std::conditional_t<std::is_void_v<R>, const WindowView&, R> Refused(
        const CommandDeclaration<C, R, P...>& command) {
        if constexpr (std::is_void_v<R>)
            return context_.view;
        else
            return command.refused ? command.refused() : R{};
    }
    // Calls the controller's function, the parameters not given value-initialized.
    template <typename C, typename R, typename... P, typename... Args>
    static R Call(C& controller, R (C::*run)(P...), Args&&... args) {
        if constexpr (sizeof...(Args) == sizeof...(P)) {
            return (controller.*run)(std::forward<Args>(args)...);
        } else {
            using Next =
                std::remove_cvref_t<std::tuple_element_t<sizeof...(Args), std::tuple<P...>>>;
            return Call(controller, run, std::forward<Args>(args)..., Next{});
        }
    }
    // Runs the action; an exception that escapes it is said as the failure of the command
    // (or, failuresToCaller, goes on to the caller).
    void Guarded(std::string_view name, bool failuresToCaller, const std::function<void()>& action);

    template <typename C>
    C& controller() {
        if constexpr (std::is_same_v<C, LoadController>) return *loads_;
        if constexpr (std::is_same_v<C, RecordsController>) return *records_;
        if constexpr (std::is_same_v<C, PlotController>) return *plot_;
        if constexpr (std::is_same_v<C, AnalysisController>) return *analysis_;
        if constexpr (std::is_same_v<C, PeriodController>) return *period_;
        if constexpr (std::is_same_v<C, SaveController>) return *saves_;
        if constexpr (std::is_same_v<C, ShellController>) return *shell_;
        if constexpr (std::is_same_v<C, MinimaController>) return *minima_;
    }

    CommandContext context_;
    std::unique_ptr<LoadController> loads_;
    std::unique_ptr<RecordsController> records_;
    std::unique_ptr<PlotController> plot_;
    std::unique_ptr<AnalysisController> analysis_;
    std::unique_ptr<PeriodController> period_;
    std::unique_ptr<SaveController> saves_;
    std::unique_ptr<ShellController> shell_;
    std::unique_ptr<MinimaController> minima_;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// What a command of the main window is: its name, what it needs before it may run, how the
// window shows it (menu item, shortcut, tool button) and the controller function that runs
// it. The commands themselves are declared once, in CommandList.h; the window builds its
// menus and buttons from those declarations, and the command line and the tests run the same
// declarations through MainWindowCommands::Run.
#pragma once

#include <string_view>
#include <type_traits>

namespace sabrix {

enum class Needs {
    // Runs at any time, also during a long job: cancelling a load, the pointer's readouts, a
    // window closing, the working table's own life.
    Anytime,
    // No long job runs (an import, a save, a plot, the bins or the fit).
    Idle,
    // Idle, and the table holds every row of what is loaded (none is being read or filled):
    // the loads, the saves and the configuration.
    Table,
    // Idle, and a star is loaded and plotted: the plot, its navigation, zooms and overlays.
    // These work from the plotted columns while the rows are still being filled.
    Plot,
    // Plot and Table: the commands that read or write the rows behind the points.
    Rows,
};

// The menu of the window's menu bar that holds a command's item; Bar: an item of the bar
// itself (Configure, Exit).
enum class MenuPlace { None, Files, Edit, Tools, Bar, Help };

// How the window shows a command. A menu item's object name is the command's name without
// "_Click" (mnuLoad_Click: "mnuLoad"); a command with count > 1 has that many items, the
// name numbered from 1 (mnuRecent1 ...), each hidden until the window lists something in it.
struct CommandFace {
    MenuPlace menu = MenuPlace::None;
    // The item's text; "&" marks its mnemonic.
    std::string_view text;
    // A key sequence in QKeySequence's portable text ("Ctrl+Shift+S"); empty: none.
    std::string_view shortcut;
    // The object name of a separator drawn above the item; empty: none.
    std::string_view separatorBefore;
    bool checkable = false;
    // The item starts disabled; the window enables it when the view says so.
    bool startsDisabled = false;
    int count = 1;
    // A tool button in the button frame: its object name (its picture is
    // ":/icons/NAME.png"), its tooltip and its left edge in twips; empty name: none.
    std::string_view button;
    std::string_view toolTip;
    float buttonLeft = 0;
    // A key of the plot while it has the keyboard (an arrow, Home, End, F5); empty: none.
    std::string_view plotKey;
};

// One command. Result and Params are those of the controller function that runs it.
template <typename Controller, typename Result, typename... Params>
struct CommandDeclaration {
    using ControllerType = Controller;
    using ResultType = Result;
    using Method = Result (Controller::*)(Params...);

    std::string_view name;
    Needs needs;
    Method run;
    CommandFace face;
    // What a refused command answers (null: a value-initialized Result). It may throw
    // instead, for a caller that wants no answer at all.
    Result (*refused)() = nullptr;
    // Failures go to the caller (the command line) instead of being said.
    bool failuresToCaller = false;
};

template <typename Controller, typename Result, typename... Params>
constexpr CommandDeclaration<Controller, Result, Params...> Declare(
    std::string_view name, Needs needs, Result (Controller::*run)(Params...), CommandFace face = {},
    std::type_identity_t<Result (*)()> refused = nullptr, bool failuresToCaller = false) {
    return {name, needs, run, face, refused, failuresToCaller};
}

// A command the window runs itself (the configuration dialog, the about box, the end of the
// run, the band panel's toggle): declared beside the others so that the menus are built from
// one list.
struct WindowCommand {
    std::string_view name;
    Needs needs;
    CommandFace face;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' way into the command layer's own state: a test that needs a state no command
// reaches directly (an edit flag, marks of its own making, a broken frame) sets it here.
#pragma once

#include "app/AnalysisController.h"
#include "app/MainWindowCommands.h"

namespace sabrix::test {

struct CommandsTestPeer {
    static CommandContext& Context(MainWindowCommands& commands) { return commands.context_; }
    static AppState& State(MainWindowCommands& commands) { return commands.context_.state; }
    static ObsTable& Table(MainWindowCommands& commands) { return *commands.context_.table; }
    static ObserverMarks& Marks(MainWindowCommands& commands) { return commands.context_.marks; }
    static Bins& BinsOf(MainWindowCommands& commands) { return commands.analysis_->bins_; }
    static bool& BinsShown(MainWindowCommands& commands) { return commands.analysis_->binsShown_; }
    static bool& PolyShown(MainWindowCommands& commands) { return commands.analysis_->polyShown_; }
};

}  // namespace sabrix::test

// The tests' way into the command layer's own state: a test that needs a state no command
// reaches directly (an edit flag, marks of its own making, a broken frame) sets it here.
#pragma once

#include "app/MainWindowCommands.h"

namespace sabrix::test {

struct CommandsTestPeer {
    static AppState& State(MainWindowCommands& commands) { return commands.state_; }
    static ObsTable& Table(MainWindowCommands& commands) { return *commands.table_; }
    static ObserverMarks& Marks(MainWindowCommands& commands) { return commands.marks_; }
    static Bins& BinsOf(MainWindowCommands& commands) { return commands.bins_; }
    static bool& BinsShown(MainWindowCommands& commands) { return commands.binsShown_; }
    static bool& PolyShown(MainWindowCommands& commands) { return commands.polyShown_; }
};

}  // namespace sabrix::test

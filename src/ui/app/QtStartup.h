// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start: the command line, then the start-up sequence that ends with the empty
// main window on the screen, then the event loop.
#pragma once

#include <memory>
#include <string>

#include "app/FileHandOff.h"
#include "ui/app/QtHandedFiles.h"
#include "app/SettingsSeams.h"
#include "ui/app/frmPlot.h"
#include "core/Prompts.h"
#include "core/WorkingDatabase.h"

namespace sabrix {

// The settings file reader and the configuration dialog that the program uses.
SettingsSeams DefaultSettingsSeams();

// The start-up sequence for one program directory. Holds the directory's instance lock for
// as long as it lives, so it must outlive the window it opens. While it holds the lock, it
// takes the files that later starts hand over and has the window load them.
class Startup {
  public:
    Startup(std::string programDir, Prompts& prompts, SettingsSeams seams);

    // Settings, working database, first-start configuration, the main window shown at its
    // start size in the middle of the screen. Returns the window, or null when the start
    // ended early; exitCode() then tells why (0 for a first-start configuration the user
    // did not confirm or a file handed to the copy that runs already, 1 after a failure
    // whose message has been shown).
    std::unique_ptr<frmPlot> Open(const std::string& commandLine);
    int exitCode() const { return exitCode_; }
    // The data folder that the first-start configuration offers (ChooseFirstDataFolder);
    // until set, the program directory.
    void setFirstDataFolder(std::string folder) { firstDataFolder_ = std::move(folder); }
    // The socket of the program directory (HandOffSocketPath), and the file (a full path, or
    // empty) that a start finding the directory in use hands to the copy that runs there
    // instead of being refused. Until set, files are neither taken nor handed over.
    void setHandOff(QString socketPath, std::string file);

  private:
    std::unique_ptr<frmPlot> Fail(const QString& text, const QString& title, Icon icon);

    std::string programDir_;
    Prompts& prompts_;
    SettingsSeams seams_;
    InstanceLock lock_;
    std::string firstDataFolder_;
    QString handOffSocket_;
    std::string fileToHandOff_;
    std::unique_ptr<FileHandOffServer> handOffServer_;
    QtHandedFiles handedFiles_;
    int exitCode_ = 0;
};

// The program: reads the command line, runs the start-up and the event loop. Returns the
// process's exit code (2 for a command line it does not understand).
int Main(int argc, char** argv);

}  // namespace sabrix

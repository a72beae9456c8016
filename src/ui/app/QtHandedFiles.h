// SPDX-License-Identifier: GPL-3.0-or-later
// The files that later starts of the program handed to this copy (FileHandOff): the window
// comes to the front at once, and each file is loaded as a file dropped on it would be, with
// the same questions, one after the other, as soon as the window takes commands again (no
// dialog open, no job running, the table not being filled). The kind, time offset and view
// that the later start's command line gave are applied as that command line would apply them.
#pragma once

#include <QPointer>
#include <QTimer>
#include <deque>
#include <string>

#include "app/CommandLine.h"
#include "ui/app/frmPlot.h"

namespace sabrix {

// Shows the window of --view in the loaded star; its JD edges are times as the JD scale shows
// them, the time offset added.
void ShowCommandLineView(frmPlot& window, const ViewOption& view);

class QtHandedFiles {
  public:
    QtHandedFiles();

    // The window that loads the files; until it is set (the start-up is still running, the
    // first configuration may be open), files wait.
    void setWindow(frmPlot* window);
    // A file handed over, by its full path, with its options.
    void add(HandedFile file);

  private:
    void Raise();
    void LoadNext();

    QPointer<frmPlot> window_;
    std::deque<HandedFile> waiting_;
    QTimer timer_;
};

}  // namespace sabrix

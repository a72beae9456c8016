// The files that later starts of the program handed to this copy (FileHandOff): the window
// comes to the front at once, and each file is loaded as a file dropped on it would be, with
// the same questions, one after the other, as soon as the window takes commands again (no
// dialog open, no job running, the table not being filled).
#pragma once

#include <QPointer>
#include <QTimer>
#include <deque>
#include <string>

#include "ui/app/frmPlot.h"

namespace sabrix {

class QtHandedFiles {
  public:
    QtHandedFiles();

    // The window that loads the files; until it is set (the start-up is still running, the
    // first configuration may be open), files wait.
    void setWindow(frmPlot* window);
    // A file handed over, by its full path.
    void add(std::string path);

  private:
    void Raise();
    void LoadNext();

    QPointer<frmPlot> window_;
    std::deque<std::string> waiting_;
    QTimer timer_;
};

}  // namespace sabrix

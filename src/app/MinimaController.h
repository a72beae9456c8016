// SPDX-License-Identifier: GPL-3.0-or-later
// The times of minimum: Tools > Time of Minimum (or Maximum) arms the plot's box tool for
// one box; a box drawn around one eclipse (or maximum) computes its time from the
// observations shown inside (TimeOfMinimum.h), adds it to the star's list, saves the list
// beside the star file (MinimaFile.h) and shows it in the "Times of minimum" window; every
// listed time is marked on the light curve. The list window opens the O-C diagram of the
// list against an ephemeris the user types (OcDiagram).
//
// The list belongs to the loaded star: it is read from beside the star file when first needed
// after a load (the first redraw draws its marks), and forgotten with the star.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/MinimaDialogs.h"
#include "analysis/MinimaFile.h"
#include "analysis/OcDiagram.h"
#include "app/CommandContext.h"

namespace sabrix {

class ImageExportDialog;

class MinimaController {
  public:
    explicit MinimaController(CommandContext& context);

    void setMinimaDialogs(MinimaDialogs* dialogs) { dialogs_ = dialogs; }
    void setImageExportDialog(ImageExportDialog* dialog) { imageExportDialog_ = dialog; }

    // Says "No star file is loaded." when none is; on the phase plot says that times are
    // taken on the light curve; else the next box drawn on the plot finds the extremum.
    void mnuMinimum_Click();
    void mnuMaximum_Click();
    // Opens the "Times of minimum" window with the star's list.
    void mnuMinimaList_Click();
    // The box of the tool, corners in picView's frame (days since JDFirst, magnitude): finds
    // the time of the extremum of the observations shown inside, lists, saves and shows it;
    // says why when there is none. The tool is Locate again afterwards.
    void TimeOfExtremumInBox(double x1, double y1, double x2, double y2);
    void MinimaWindowEvent(const MinimaEvent& event);
    void OcWindowEvent(const OcEvent& event);

    // The list of the loaded star (read on first use).
    const std::vector<ListedExtremum>& list();
    Extremum kind() const { return kind_; }
    // Turns the plot's next box into the extremum's box (set by the facade).
    std::function<void()> armBox;

  private:
    std::string StarPath() const;
    void Choose(Extremum kind);
    // Writes the list beside the star file; a failure is said.
    void Save();
    void ShowList();
    void ShowOc();
    void DrawMarks();
    QString ListText();
    std::optional<std::string> AskPath(const QString& title, const std::string& name,
                                       const QString& filter) const;

    CommandContext& ctx_;
    MinimaDialogs* dialogs_ = nullptr;
    ImageExportDialog* imageExportDialog_ = nullptr;
    // The star file the list was read for; empty while none is read.
    std::string listOf_;
    std::vector<ListedExtremum> list_;
    Extremum kind_ = Extremum::Minimum;
    bool listOpen_ = false;
    bool ocOpen_ = false;
    bool selecting_ = false;
    QString epochText_;
    QString periodText_;
    OcDiagram oc_;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that change what the plot shows and how the user works it: reset, refresh,
// the navigation buttons, a chosen window, the two Omit items and the band panel, the stats
// window, the six
// tools, the mouse on the plot and its scale strips, the wheel and "Previous View". It keeps
// the views to go back to and the box being dragged; a press of the locate tool or the end of
// a select-edits drag hands the place on (onLocate, onSelectBox) to the records.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "app/CommandContext.h"
#include "interaction/ViewHistory.h"

namespace sabrix {

class PlotController {
  public:
    explicit PlotController(CommandContext& context);

    // The redraw sequence (CommandContext::Redraw); also what a resize of the window runs.
    void Redraw(bool withOverlays) { ctx_.Redraw(withOverlays); }
    // Reset: the marks and overlays go, the full view; Refresh: the marks and overlays go,
    // the window stays. "Omit fainter thans" needs a star (says so otherwise), then toggles
    // and resets.
    void cmdReset_Click();
    void cmdRefresh_Click();
    void mnuFaint_Click();
    // "Omit discrepant": as "Omit fainter thans", for the observations whose Valid is "D".
    void mnuDisc_Click();
    // The band panel. A band's check box shows or hides its observations; a double click
    // shows that band alone; "All bands" shows every band. Each keeps the window, takes the
    // averages and the fit away (they were made of other observations) and redraws.
    // (The fainter-than and discrepant lines are the two Omit items.)
    void lstBands_ItemCheck(const std::string& band, bool shown);
    void lstBands_DblClick(const std::string& band);
    void cmdAllBands_Click();
    // Shows the observations of these bands (trimmed texts) and hides the others, as a double
    // click does for one.
    void ShowOnlyBands(const std::set<std::string>& bands);
    // The navigation buttons: each moves the window by its step, and redraws when it moved.
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdBegin_Click();
    void cmdEnder_Click();
    void cmdUp_Click();
    void CmdDown_Click();
    // Shows the given window of the loaded star, the magnification factors set to how much
    // narrower and lower it is than the full view, and redraws. Does nothing when an edge
    // pair is empty or reversed.
    void ShowWindow(double jdLeft, double jdRight, double magTop, double magBottom);
    // The stats window: the menu toggle, and its own close box.
    void mnuStats_Click();
    void frmStats_Unload();

    // The tool buttons: each makes its tool the current one and shows its cursor.
    void cmdLocate_Click();
    void cmdBox_Click();
    void cmdZoomBox_Click();
    void cmdMag_Click();
    void cmdJDZoom_Click();
    void cmdMagZoom_Click();
    // The mouse on the plot, x and y in picView's frame (days since JDFirst, magnitude); the
    // codes of PictureBox (button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt).
    void picView_MouseDown(int button, int shift, double x, double y);
    void picView_MouseMove(int button, int shift, double x, double y);
    void picView_MouseUp(int button, int shift, double x, double y);
    // The scale strips, in their own frames (full JDs across the JD strip, magnitudes down
    // the magnitude strip): a press draws a grey reference line across the plot, a move shows
    // the readout. Form_MouseMove: the pointer over the window itself clears the readouts.
    void picJDScale_MouseDown(double x);
    void picMagScale_MouseDown(double y);
    void picJDScale_MouseMove(double x);
    void picMagScale_MouseMove(double y);
    void Form_MouseMove();
    // Each notch a plain JD zoom press at the pointer (in for notches forward, out for
    // backward), of the magnitude axis instead when magnitude is set; drawn once.
    void WheelZoom(int notches, bool magnitude, double x, double y);
    // "Previous View": the window before the last zoom or navigation step (up to 50 back).
    void mnuPrevious_Click();

  private:
    // An Omit item: needs a star (says so otherwise), then toggles the flag and its check
    // mark and resets the view.
    void ToggleOmit(bool& omit, bool& checked);
    // Hides these bands and shows the others, when that changes what is hidden.
    void ShowBands(std::set<std::string> hidden);
    void Reset();
    // Runs a navigation move and, when it moved the window, the redraw sequence.
    void Move(bool (*move)(PlotWindowState&));
    // A zoom or navigation step: the window before it goes into the history, then the
    // redraw sequence.
    void Stepped(const PlotWindowState& before);
    void ForgetViews();
    void ChooseTool(Tool tool);
    // The end of a zoom-box drag.
    void FinishZoomBox(double x1, double y1, double x2, double y2);

  public:
    // The next box drawn goes to onExtremumBox (the times of minimum) instead of the record
    // list: the Box tool, armed for one box. Choosing a tool disarms it.
    void ArmExtremumBox();
    std::function<void(double x1, double y1, double x2, double y2)> onExtremumBox;
    // Where a locate press (its place) and a select-edits box (its corners) go: to the
    // records (RecordsController::Finder and BoxFinder), as the owner of both connects them.
    std::function<void(double x, double y)> onLocate;
    std::function<void(double x1, double y1, double x2, double y2)> onSelectBox;

  private:
    bool extremumBox_ = false;
    CommandContext& ctx_;
    ViewHistory history_;
    // A box being dragged on the plot: which kind, and its corners in picView's frame.
    enum class Drag { None, Select, Zoom };
    Drag drag_ = Drag::None;
    double boxStartX_ = 0;
    double boxStartY_ = 0;
    double boxEndX_ = 0;
    double boxEndY_ = 0;
};

}  // namespace sabrix

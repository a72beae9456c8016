// The logic of "Load 3-Column File". The window's slot is a thin sequence of these pieces:
//   if (!AskUnloadForXYZ(state, prompts)) return;  if (state.star.FileLoaded) UnloadStar();
//   yield; clear the pictures;  path = prompts.openFile(XYZOpenDialogOptions(state));
//   if (!path || !XYZBeginLoad(state, PathBytes(*path))) return;
//   status panels XYZFileStatusText / PlainMagnificationText;
//   if (XYZLoadFile(...) == XYZLoadOutcome::Loaded) { FindExtremes; Scaler; Plotter; }
//   if (state.overlay.StateOK) show the plot; else { StateOK = true; UnloadStar(); ... }
#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "core/AppState.h"
#include "core/Prompts.h"
#include "data/ObsTable.h"
#include "data/ThreeColumnFile.h"

namespace sabrix {

// When a star is loaded, asks "Unload current file NAME ?" (OK/Cancel). Returns true to go
// on (the caller then unloads the star if one is loaded), false when the user cancels.
bool AskUnloadForXYZ(const AppState& state, Prompts& prompts);

// The open dialog of the command: filter "All Files (*.*)|*.*|", starting in the files folder.
FileDialogOptions XYZOpenDialogOptions(const AppState& state);

// Takes the chosen file: sets ThreeColumnFilePath, ThreeColumnFormat and StarName (from the
// file name). Returns false and changes nothing when the file name holds no ".".
bool XYZBeginLoad(AppState& state, const std::string& path);

// Status bar panel 1 after choosing the file: "File: " + path.
QString XYZFileStatusText(const AppState& state);
// Caption of lblPrg while loading: "Loading 383 Records."
QString XYZLoadingCaption(int32_t recordCount);

enum class XYZLoadOutcome { Loaded, FileNotFound, Failed };

// Loads ThreeColumnFilePath into the (empty) table. Loaded: RecordCount holds the line count
// and FileLoaded is set (the table may still be empty for an empty file). FileNotFound: shows
// "File PATH not found." titled "File Error". Failed: shows "Error in loading database. Check
// source file." with the description, titled "Error". On both failures the table is left
// empty and StateOK is cleared, so that the command cleans up.
XYZLoadOutcome XYZLoadFile(AppState& state, ObsTable& table, Prompts& prompts,
                           const XYZLoadCallbacks& callbacks);

}  // namespace sabrix

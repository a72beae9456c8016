// The pieces of "Load 3-Column File" that belong to the data: the unload question, the open
// dialog's options, taking the chosen file's name as the star's, the status and progress
// texts, and the load itself with its messages. The main window's command layer strings them
// together with the unload, the fit of the plot window and the plot.
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
// empty.
XYZLoadOutcome XYZLoadFile(AppState& state, ObsTable& table, Prompts& prompts,
                           const XYZLoadCallbacks& callbacks);

}  // namespace sabrix

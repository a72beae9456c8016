// SPDX-License-Identifier: GPL-3.0-or-later
// The application state that every window and procedure of the program shares.
// One instance lives for the whole run, owned by the main window and passed by reference.
// Members keep the names that the rest of the program and its settings file use; they are
// grouped by what they describe. Texts are held as bytes (UTF-8 or Latin-1, as read).
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace sabrix {

// Persistent settings, read from and written to Sabrix.ini. Colours are packed
// red + 256 * green + 65536 * blue; 0 means "not configured".
struct Settings {
    std::string FilePath;
    bool ConnectMarked = false;
    int16_t PolyFit = 0;
    int16_t DefaultSigma = 0;
    double ColorVIS = 0;
    double ColorFAINT = 0;
    double ColorDISC = 0;
    double ColorNA = 0;
    double ColorCR = 0;
    double ColorU = 0;
    double ColorV = 0;
    double ColorB = 0;
    double ColorR = 0;
    double ColorI = 0;
    double ColorCV = 0;
    double ColorJ = 0;
    double ColorH = 0;
    bool IniMissing = false;
};

// The loaded star and the files around it.
struct LoadedStar {
    std::string StarName;
    int32_t RecordCount = 0;
    std::string ThreeColumnFilePath;
    std::string FilesFolder;
    bool FileLoaded = false;
    bool FileEdited = false;
    bool ThreeColumnFormat = false;
    // The backup of the loaded file has been made since the load. The first save after a
    // load copies the file as loaded to its backup; later saves keep that backup, so the
    // original never gets replaced by the program's own output. False after a load/unload.
    bool BackupMade = false;
    // The bands (trimmed Band texts) whose observations the user has hidden; kept while the
    // star stays loaded.
    std::set<std::string> HiddenBands;
    // The days that the JD scale, the pointer readout and the calendar dates add to the stored
    // times: a three-column file of reduced times (HJD - 2450000 gives 2450000). 0 for none.
    // The times in the table and in the files written stay as loaded.
    double TimeOffset = 0;
};

// Data extremes of Obs and the plot window (JD across, magnitude down).
struct PlotWindowState {
    float MagFaintest = 0;
    float MagBrightest = 0;
    double JDFirst = 0;
    double JDLast = 0;
    double WinJDLeft = 0;
    double WinJDRight = 0;
    double WinMagTop = 0;
    double WinMagBottom = 0;
    double WinJDWidth = 0;
    double WinMagHeight = 0;
    float JDMagnification = 1.0f;
    float MagMagnification = 1.0f;
    int16_t MagnificationShown = 0;
    // The margin that the zooms keep beyond JDFirst and JDLast at a JD factor of 1: 5 days on
    // the light curve, none on the phase plot (whose JD members hold phases).
    double JDMargin = 5.0;

    // Set the edges of one axis together with its size. The size is what Back, Forward,
    // Brighter and Dimmer keep while they move the window, so a writer that chose the edges
    // goes through these: the size then always describes the window on the screen, and the
    // first move after a zoom shifts it without changing its height or width.
    void SetJDWindow(double left, double right) {
        WinJDLeft = left;
        WinJDRight = right;
        WinJDWidth = right - left;
    }
    void SetMagWindow(double top, double bottom) {
        WinMagTop = top;
        WinMagBottom = bottom;
        WinMagHeight = bottom - top;
    }
};

// The active tool of the plot surface. At most one tool flag is ever set; Locate is "none".
enum class Tool { Locate, Box, ZoomBox, Magnify, JDZoom, MagZoom };

// How the plot is shown and worked: the tool, the kinds of rows left out, the stats window, the
// dates of the JD strip and the colour of the dots' fill. (The averages, the fit and the observer
// marks are kept by the commands that make them.)
struct OverlayState {
    Tool tool = Tool::Locate;
    bool OmitFainter = false;
    // "Omit discrepant": observations whose Valid is "D" are left out, as OmitFainter leaves
    // out fainter-than estimates.
    bool OmitDiscrepant = false;
    bool StatsShown = false;
    // "Calendar Dates": the JD strip and the pointer readout show UTC dates as well. Kept in
    // Sabrix.prefs (Preferences.h), not in Sabrix.ini.
    bool CalendarDates = false;
    int32_t DefaultPointColor = 65535;

    bool MagnifyMode() const { return tool == Tool::Magnify; }
    bool MagZoomMode() const { return tool == Tool::MagZoom; }
    bool JDZoomMode() const { return tool == Tool::JDZoom; }
    bool BoxMode() const { return tool == Tool::Box; }
    bool ZoomBoxMode() const { return tool == Tool::ZoomBox; }
};

struct AppState {
    Settings settings;
    LoadedStar star;
    PlotWindowState view;
    OverlayState overlay;
    // The whole command line after the program name, joined by blanks ("/alwayssave" switch).
    std::string CommandLine;
};

}  // namespace sabrix

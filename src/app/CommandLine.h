// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line: what the user asked for when starting Sabrix.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ObservationFileKind.h"

namespace sabrix {

// A plot window given on the command line: --view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM, the left
// edge before the right one and the top (brighter) magnitude before the bottom one.
struct ViewOption {
    double jdLeft = 0;
    double jdRight = 0;
    double magTop = 0;
    double magBottom = 0;
};

// How the file named on the command line is read: --three-column or --star-file, else as the
// kind GuessObservationFileKind finds (as for a file dropped on the window); and --time-offset
// DAYS, the days that the JD scale, the pointer readout and the calendar dates add to the
// times of a three-column file (none given: the window offers one when the times are reduced).
struct LoadOptions {
    std::optional<ObservationFileKind> kind = std::nullopt;
    std::optional<double> timeOffset = std::nullopt;
};

// --render FILE --out PNG|JPEG|SVG|PDF [--width W] [--height H] [--three-column | --star-file]
// [--time-offset DAYS] [--omit-faint] [--bands LIST] [--stats]
// [--view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM]
//          [--bins DAYS [--sigma N] [--bin-file PATH] | --poly DEGREE [--curve-out PATH]
//           | --phase P [--epoch E] [--phase-out PATH]]
// The JD edges of --view are the times the JD scale shows, the offset added.
struct RenderOptions {
    std::string file;
    std::string out;
    int width = 1200;
    int height = 700;
    LoadOptions load;
    bool omitFaint = false;
    // --bands "Vis.,V": only these bands are drawn (texts trimmed); empty: every band.
    std::vector<std::string> bands;
    bool stats = false;
    std::optional<ViewOption> view;
    // The averages or the polynomial fit over the plot, with the texts as typed in their
    // dialogs; the bin file and the sampled curve to write (empty: none).
    std::optional<std::string> bins;
    std::optional<std::string> sigma;
    std::string binFile;
    std::optional<std::string> poly;
    std::string curveOut;
    // The phase plot of the period and epoch as typed (no epoch: the brightest observation's
    // time), and the phase table to write (empty: none).
    std::optional<std::string> phase;
    std::optional<std::string> epoch;
    std::string phaseOut;
    // The Fourier model of that many harmonics drawn over the phase plot (0: none), and the
    // table of the fit to write (empty: none).
    int harmonics = 0;
    std::string fitOut;
};

// --periodogram FILE [--three-column | --star-file] [--time-offset DAYS] [--bands LIST]
//          [--view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM] [--min-period P] [--max-period P]
//          [--samples-per-peak K] [--no-weights] [--harmonics H] [--window] [--prewhiten N]
//          [--method gls|pdm] [--out CSV]
// --periodogram FILE... [options as above] [--summary OUT.csv] [--out-dir DIR]: several files
// (or a folder) searched in turn, one summary line each (see BatchPeriodogram.h).
// The range's fields as typed; one not given takes its default from the data.
struct PeriodogramRunOptions {
    std::string file;
    // Every file (or folder) named; a batch when more than one, a folder, or --summary.
    std::vector<std::string> files;
    bool batch = false;
    std::string summary;
    std::string outDir;
    // Phase dispersion minimisation (--method pdm) instead of the periodogram (gls).
    bool pdm = false;
    std::string out;
    LoadOptions load;
    bool noWeights = false;
    // --bands: only these bands are searched, as --render draws them; empty: every band.
    std::vector<std::string> bands;
    std::optional<ViewOption> view;
    std::optional<std::string> minPeriod;
    std::optional<std::string> maxPeriod;
    std::optional<std::string> samplesPerPeak;
    // Harmonics of the periodogram (1 to 6).
    int harmonics = 1;
    // The window function instead of the periodogram (printed and written).
    bool window = false;
    // Rounds of prewhitening: the top peak of each round, the models of the earlier ones
    // removed (0: the highest peaks of one periodogram).
    int prewhiten = 0;
};

// --minimum FILE --from JD --to JD [--maximum] [--three-column | --star-file]
// [--time-offset DAYS] [--bands LIST]: the time of the minimum (or maximum) of the
// observations shown between the two JDs (as the scale shows them).
struct MinimumRunOptions {
    std::string file;
    LoadOptions load;
    std::vector<std::string> bands;
    double from = 0;
    double to = 0;
    bool maximum = false;
};

// --convert FILE --out OUT [--three-column | --star-file] [--to star|three-column|download]
struct ConvertOptions {
    enum class Target { SameKind, StarFile, ThreeColumn, Download };
    std::string file;
    std::string out;
    // The kind FILE is read as; nothing: the guess.
    std::optional<ObservationFileKind> kind = std::nullopt;
    Target to = Target::SameKind;
};

struct CommandLineRequest {
    enum class Kind { Gui, Help, Version, Render, Convert, Periodogram, Minimum, Invalid };
    Kind kind = Kind::Gui;
    // For Gui: a file to load once the window is open (may be empty), how it is read, and the
    // window to show of it (FILE --view ...).
    std::string fileToLoad;
    LoadOptions load;
    std::optional<ViewOption> view;
    RenderOptions render;
    ConvertOptions convert;
    PeriodogramRunOptions periodogram;
    MinimumRunOptions minimum;
    // For Gui: the whole command line after the program name, arguments joined by blanks
    // (the text that the "/alwayssave" switch is compared with).
    std::string commandLine;
    // For Invalid: what was wrong, for the first line of the usage message.
    std::string problem;
};

// Interprets the arguments after the program name. No argument or "/alwayssave" starts the
// windows; one FILE starts them and loads it (FILE [--three-column | --star-file]
// [--time-offset DAYS] [--view ...] reads it so and also shows that window of it);
// "--help" or "-h" asks for the usage text;
// "--version" for the version line; "--render", "--convert" and "--periodogram" run without a
// window.
// Anything else is Invalid with a description. Never throws.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& args);

// What a later start hands to the running copy (FileHandOff): the file's full path, then for
// each option of the load (--three-column or --star-file, --time-offset, --view) a NUL byte
// and the argument, so that the copy loads the file as this command line would. Without
// options the message is the path alone, as from a copy that knew none.
std::string HandOffMessage(const std::string& file, const CommandLineRequest& request);
// A handed-over file and what its command line said of it.
struct HandedFile {
    std::string path;
    LoadOptions load;
    std::optional<ViewOption> view;
};
// Reads a message of HandOffMessage. Options it does not understand (a later version's) are
// left out: the file is then loaded as a dropped file.
HandedFile ReadHandOffMessage(std::string_view message);

// The usage text printed by --help and, after the problem, for an invalid command line.
std::string UsageText();
// "Sabrix " + the program's version.
std::string VersionText();

// A message of a run without a window as it goes to standard error: one line, "sabrix: ",
// the file it is about followed by ": " (left out only when there is no file), and the text
// with its line breaks turned into single blanks. Control characters (a NUL byte of
// the input among them) are shown as "?", so nothing but printable text reaches the terminal.
// Ends with "\n".
std::string TerminalMessage(const std::string& file, const std::string& text);
// A line for standard output (a star label, a file name) with its control characters shown
// as "?" and its line breaks as single blanks, as in TerminalMessage: a crafted file cannot
// drive the terminal.
std::string PrintableLine(std::string_view text);

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The texts the command line prints: the usage, the version and the lines of a run without a
// window, made safe for a terminal.
#include <string>
#include <string_view>

#include "app/CommandLine.h"

namespace sabrix {

std::string UsageText() {
    return "Usage: sabrix [FILE [--three-column | --star-file] [--time-offset DAYS]\n"
           "                    [--view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM] | /alwayssave]\n"
           "       sabrix --render FILE --out OUT [--width W] [--height H]\n"
           "              [--three-column | --star-file] [--time-offset DAYS]\n"
           "              [--omit-faint] [--bands LIST] [--stats] [--legend]\n"
           "              [--view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM]\n"
           "              [--bins DAYS [--sigma N] [--bin-file PATH]]\n"
           "              [--poly DEGREE [--curve-out PATH]]\n"
           "              [--phase P [--epoch E] [--phase-out PATH]\n"
           "                         [--harmonics H [--fit-out PATH]]]\n"
           "       sabrix --convert FILE --out OUT [--three-column | --star-file]\n"
           "              [--to star|three-column|download]\n"
           "       sabrix --periodogram FILE [--three-column | --star-file] [--time-offset DAYS]\n"
           "              [--bands LIST] [--view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM] [--min-period "
           "P]\n"
           "              [--max-period P] [--samples-per-peak K] [--no-weights]\n"
           "              [--harmonics H] [--window | --prewhiten N] [--method gls|pdm]\n"
           "              [--out CSV]\n"
           "       sabrix --periodogram FILE|FOLDER... [--summary OUT.csv] [--out-dir DIR]\n"
           "              [--three-column | --star-file] [range, weight and method options]\n"
           "       sabrix --minimum FILE --from JD --to JD [--maximum]\n"
           "              [--three-column | --star-file] [--time-offset DAYS] [--bands LIST]\n"
           "       sabrix -h | --help | --version\n"
           "\n"
           "Sabrix plots the observations of one variable star. With no argument it opens its\n"
           "window.\n"
           "  FILE            load this file once the window is open, as a file dropped on the\n"
           "                  window: a three-column file when its name ends in .dat or its\n"
           "                  first lines hold two or three numbers each, else a star file; when\n"
           "                  a Sabrix with the same program folder runs already, that one\n"
           "                  loads it\n"
           "  --three-column  read FILE as a three-column file (JD, magnitude, uncertainty)\n"
           "  --star-file     read FILE as a star file (a download file)\n"
           "  --time-offset DAYS\n"
           "                  add DAYS to the times of a three-column file on the JD scale, in\n"
           "                  the pointer readout and in the calendar dates: 2450000 for times\n"
           "                  written as HJD - 2450000 (the times stay as the file holds them)\n"
           "  --view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM\n"
           "                  show that part of the light curve (Julian Dates at the left and\n"
           "                  right edge, as the scale shows them, magnitudes at the top and\n"
           "                  bottom) instead of all of it\n"
           "  /alwayssave     \"Save to Star File\" writes without asking first\n"
           "\n"
           "Without a window:\n"
           "  --render FILE   draw the plot of FILE as the window would, then print the star\n"
           "                  label and the number of rejected lines\n"
           "  --out OUT       the file to write; for --render a picture whose extension names\n"
           "                  its format: .png, .jpg or .jpeg, .svg, .pdf. An OUT or PATH of -\n"
           "                  is standard output (a PNG for --render); no output may be FILE\n"
           "                  itself\n"
           "  --width W       the picture's width in pixels, 50 to 20000 (1200 when not given)\n"
           "  --height H      the picture's height in pixels, 50 to 20000 (700 when not given)\n"
           "  --omit-faint    leave the fainter-than estimates out of the plot\n"
           "  --bands LIST    draw only the observations of these bands, named as in FILE and\n"
           "                  separated by commas (e.g. \"Vis.,V\"); a name that no observation\n"
           "                  of FILE has is an error\n"
           "  --stats         also print what the stats window shows: the brightest and the\n"
           "                  faintest observation in view (or bin, or point of the curve)\n"
           "  --legend        draw a legend of the bands drawn, with their colours and counts\n"
           "  --bins DAYS     draw the averages of bins DAYS days wide, as Average Values does\n"
           "  --sigma N       error bars of N standard deviations around each bin's mean (the\n"
           "                  configured default when not given)\n"
           "  --bin-file PATH also write the bins to PATH, as \"Print Bin File\" does\n"
           "  --poly DEGREE   draw the least-squares polynomial of DEGREE (0 to 40)\n"
           "  --curve-out PATH\n"
           "                  also write the curve to PATH, one line \"JD MAG\" per day (at most\n"
           "                  a million lines)\n"
           "  --phase P       draw the phase plot of period P days instead of the light curve:\n"
           "                  two cycles of the observations shown, folded\n"
           "  --epoch E       the Julian Date of phase 0 on the scale the JD scale shows, that\n"
           "                  is with DAYS of --time-offset added (the model's maximum with\n"
           "                  --harmonics, else the brightest observation's time when not given)\n"
           "  --phase-out PATH\n"
           "                  also write PATH, one line \"phase mag\" per observation drawn in "
           "the\n"
           "                  first cycle (phase 0 to 1, 6 decimals)\n"
           "  --harmonics H   with --phase, draw the Fourier series of H harmonics (1 to 6)\n"
           "                  fitted at period P over the phase plot; with --periodogram,\n"
           "                  compare such series at each frequency (1 when not given)\n"
           "  --fit-out PATH  also write PATH: a first line \"# P T0 amplitude rms\" (the\n"
           "                  epoch of maximum light, the peak-to-peak amplitude), then one line\n"
           "                  \"phase mag model residual\" per observation drawn\n"
           "  --convert FILE  write FILE again with the program's own writers\n"
           "  --to KIND       what --convert writes: star (the fixed-column star file),\n"
           "                  three-column, or download (comma-separated, as Save as Download\n"
           "                  File); the kind that was read when not given\n"
           "  --periodogram FILE\n"
           "                  print the five highest peaks of the periodogram of the\n"
           "                  observations shown (fainter-than estimates left out), one line\n"
           "                  \"period frequency power amplitude fap sigma_period\" each: the\n"
           "                  false-alarm probability (\"-\" with several harmonics) and the\n"
           "                  uncertainty of the period in days\n"
           "  --min-period P  the shortest period searched, in days (0.05 when not given,\n"
           "                  raised when the search would pass 10,000,000 frequencies)\n"
           "  --max-period P  the longest period searched (the span of the observations)\n"
           "  --samples-per-peak K\n"
           "                  frequencies per peak width, 1 to 100 (10 when not given)\n"
           "  --no-weights    give every observation the same weight (else 1/sigma^2 when every\n"
           "                  observation has an uncertainty)\n"
           "  --method M      gls: the generalised Lomb-Scargle periodogram (when not given);\n"
           "                  pdm: phase dispersion minimisation, whose best periods are the\n"
           "                  deepest minima of theta (power then means theta)\n"
           "  --window        print the highest peaks of the window function (the periodogram\n"
           "                  of the sampling alone) instead, and write it with --out\n"
           "  --prewhiten N   N rounds: print the highest peak of each, after removing the\n"
           "                  models of the rounds before\n"
           "  --out CSV       for --periodogram, also write the periodogram to CSV, one line\n"
           "                  \"frequency,period,power\" per frequency\n"
           "  --summary OUT.csv\n"
           "                  search several files (or the files of a folder) on every core and\n"
           "                  write one line per file, in the order given: file,observations,\n"
           "                  span,period,frequency,power,amplitude,fap,sigma_period,method (a\n"
           "                  file that cannot be searched says why in the last field)\n"
           "  --out-dir DIR   with several files, also write each periodogram to\n"
           "                  DIR/NAME.periodogram.csv\n"
           "  --minimum FILE  print the time of the minimum of the observations shown from\n"
           "                  --from JD to --to JD (draw the range around one eclipse):\n"
           "                  \"time error n method\", method KvW (Kwee-van Woerden) or parabola\n"
           "  --from JD       for --minimum, the first Julian Date of the range, as the JD\n"
           "                  scale shows it; --to JD the last\n"
           "  --maximum       for --minimum, the time of a maximum instead\n"
           "  -h, --help      print this text and end\n"
           "  --version       print the version and end\n"
           "\n"
           "Exit codes: 0 done, 1 failed (the reason is on standard error), 2 wrong usage.\n"
           "\n"
           "Sabrix keeps its settings, working database and files folder in the folder named\n"
           "by the environment variable SABRIX_HOME; else beside the program when it runs from\n"
           "its build folder; else (installed, or a folder it cannot write) in\n"
           "$XDG_STATE_HOME/sabrix (~/.local/state/sabrix). SABRIX_DOWNLOAD_URL replaces the\n"
           "address that Download Data File (WWW) opens. man sabrix tells more.\n";
}

namespace {

// A byte of the message as a terminal may safely show it: control characters, NUL among them,
// and the C1 controls of UTF-8 (0xC2 0x80 to 0xC2 0x9F) become "?"; line breaks a blank.
void AppendPrintable(std::string& line, std::string_view text) {
    bool blank = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (c < 0x20 || c == 0x7F || c1) {
            line += '?';
            if (c1) ++i;
        } else {
            line += static_cast<char>(c);
        }
    }
}

}  // namespace

std::string PrintableLine(std::string_view text) {
    std::string line;
    AppendPrintable(line, text);
    return line;
}

std::string TerminalMessage(const std::string& file, const std::string& text) {
    std::string line;
    AppendPrintable(line, text);
    std::string message = "sabrix: ";
    if (!file.empty()) {
        AppendPrintable(message, file);
        message += ": ";
    }
    return message + line + "\n";
}

std::string VersionText() {
    return std::string("Sabrix ") + SABRIX_VERSION_TEXT;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "core/TrimBlanks.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

namespace {

bool ParseInt(const std::string& text, int& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// The band texts of --bands, each without blanks at its ends; empty when the list names none.
std::vector<std::string> ParseBands(const std::string& text) {
    std::vector<std::string> bands;
    size_t from = 0;
    for (;;) {
        const size_t comma = text.find(',', from);
        const std::string band = TrimBlanks(text.substr(from, comma - from));
        if (!band.empty()) bands.push_back(band);
        if (comma == std::string::npos) return bands;
        from = comma + 1;
    }
}

// "JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM" with each pair in ascending order.
std::optional<ViewOption> ParseView(const std::string& text) {
    double values[4] = {};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = text.find(',', start);
        const bool last = i == 3;
        if (last != (comma == std::string::npos)) return std::nullopt;
        const std::string part = text.substr(start, last ? std::string::npos : comma - start);
        const auto r = std::from_chars(part.data(), part.data() + part.size(), values[i]);
        if (part.empty() || r.ec != std::errc() || r.ptr != part.data() + part.size())
            return std::nullopt;
        start = comma + 1;
    }
    // Edges far beyond any date or magnitude ("inf" reads as a number) make no window.
    for (const double value : values)
        if (!std::isfinite(value)) return std::nullopt;
    if (!(values[0] < values[1]) || !(values[2] < values[3])) return std::nullopt;
    return ViewOption{values[0], values[1], values[2], values[3]};
}

// Standard output ("-"), a device or a named pipe: written in place, a PNG whatever its name.
bool WrittenInPlace(const std::string& out) {
    std::error_code error;
    const auto status = std::filesystem::status(out, error);
    return out == "-" ||
           (!error && std::filesystem::exists(status) &&
            !std::filesystem::is_regular_file(status) && !std::filesystem::is_directory(status));
}

constexpr const char* kViewProblem =
    "--view needs JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM with left < right and top < bottom";
constexpr const char* kTimeOffsetProblem = "--time-offset needs a number of days";
constexpr const char* kKindProblem = "--three-column and --star-file exclude each other";

// A finite number written as a plain decimal ("2450000", "2400000.5", "-0.5").
std::optional<double> ParseDays(const std::string& text) {
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The options of how FILE is read, shared by the window's command line and --render
// (--convert takes the kind alone). Returns whether arg was one of them; problem is set when
// it was one but wrong.
bool ParseLoadOption(const std::vector<std::string>& args, size_t& i, bool timeOffset,
                     LoadOptions& load, std::string& problem) {
    const std::string& a = args[i];
    if (a == "--three-column" || a == "--star-file") {
        const ObservationFileKind kind = a == "--three-column"
                                             ? ObservationFileKind::ThreeColumnFile
                                             : ObservationFileKind::StarFile;
        if (load.kind && *load.kind != kind) problem = kKindProblem;
        load.kind = kind;
        return true;
    }
    if (timeOffset && a == "--time-offset") {
        if (i + 1 >= args.size() || !(load.timeOffset = ParseDays(args[++i])))
            problem = kTimeOffsetProblem;
        return true;
    }
    return false;
}

}  // namespace

CommandLineRequest ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineRequest request;
    auto invalid = [&request](const std::string& why) {
        request.kind = CommandLineRequest::Kind::Invalid;
        request.problem = why;
        return request;
    };
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            request.kind = CommandLineRequest::Kind::Help;
            return request;
        }
        if (arg == "--version") {
            request.kind = CommandLineRequest::Kind::Version;
            return request;
        }
    }
    if (args.empty()) return request;
    const std::string& first = args[0];
    if (first == "--periodogram") {
        if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
            return invalid(first + " needs a file to load");
        PeriodogramRunOptions& p = request.periodogram;
        p.file = args[1];
        p.files.push_back(args[1]);
        size_t i = 2;
        for (; i < args.size() && !args[i].empty() && args[i].rfind("--", 0) != 0; ++i)
            p.files.push_back(args[i]);
        for (; i < args.size(); ++i) {
            const std::string& a = args[i];
            std::string text;
            const bool hasValue = i + 1 < args.size();
            if (hasValue) text = args[i + 1];
            std::string problem;
            if (ParseLoadOption(args, i, true, p.load, problem)) {
                if (!problem.empty()) return invalid(problem);
            } else if (a == "--bands") {
                if (!hasValue || !(p.bands = ParseBands(text)).size())
                    return invalid("--bands needs band names separated by commas, e.g. \"Vis.,V\"");
                ++i;
            } else if (a == "--no-weights") {
                p.noWeights = true;
            } else if (a == "--window") {
                p.window = true;
            } else if (a == "--harmonics") {
                if (!hasValue || !ParseInt(text, p.harmonics) || p.harmonics < 1 || p.harmonics > 6)
                    return invalid("--harmonics needs a whole number from 1 to 6");
                ++i;
            } else if (a == "--prewhiten") {
                if (!hasValue || !ParseInt(text, p.prewhiten) || p.prewhiten < 1 ||
                    p.prewhiten > 20)
                    return invalid("--prewhiten needs a whole number of rounds from 1 to 20");
                ++i;
            } else if (a == "--view") {
                if (!hasValue || !(p.view = ParseView(text))) return invalid(kViewProblem);
                ++i;
            } else if (a == "--method") {
                if (!hasValue || (text != "gls" && text != "pdm"))
                    return invalid("--method needs gls or pdm");
                p.pdm = text == "pdm";
                ++i;
            } else if (a == "--out" || a == "--summary" || a == "--out-dir") {
                if (!hasValue || text.empty()) return invalid(a + " needs a path");
                (a == "--out" ? p.out : a == "--summary" ? p.summary : p.outDir) = text;
                ++i;
            } else if (a == "--min-period" || a == "--max-period" || a == "--samples-per-peak") {
                if (!hasValue) return invalid(a + " needs a value");
                (a == "--min-period"   ? p.minPeriod
                 : a == "--max-period" ? p.maxPeriod
                                       : p.samplesPerPeak) = text;
                ++i;
            } else if (a.empty() || a[0] != '-') {
                return invalid("unexpected argument: " + a);
            } else {
                return invalid("unknown option: " + a);
            }
        }
        if (p.window && p.prewhiten > 0) return invalid("--window excludes --prewhiten");
        if (p.pdm && (p.window || p.prewhiten > 0 || p.harmonics > 1))
            return invalid("--method pdm excludes --window, --prewhiten and --harmonics");
        std::error_code error;
        p.batch = p.files.size() > 1 || !p.summary.empty() || !p.outDir.empty() ||
                  std::filesystem::is_directory(p.file, error);
        if (p.batch && (!p.out.empty() || p.view || !p.bands.empty() || p.load.timeOffset))
            return invalid(
                "--out, --view, --bands and --time-offset are for one file; several "
                "files take --summary and --out-dir");
        if (p.batch && (p.window || p.prewhiten > 0 || p.harmonics > 1))
            return invalid("--window, --prewhiten and --harmonics are for one file");
        request.kind = CommandLineRequest::Kind::Periodogram;
        return request;
    }
    if (first == "--minimum") {
        if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
            return invalid(first + " needs a file to load");
        MinimumRunOptions& m = request.minimum;
        m.file = args[1];
        std::optional<double> from, to;
        for (size_t i = 2; i < args.size(); ++i) {
            const std::string& a = args[i];
            const bool hasValue = i + 1 < args.size();
            std::string problem;
            if (ParseLoadOption(args, i, true, m.load, problem)) {
                if (!problem.empty()) return invalid(problem);
            } else if (a == "--bands") {
                if (!hasValue || !(m.bands = ParseBands(args[i + 1])).size())
                    return invalid("--bands needs band names separated by commas, e.g. \"Vis.,V\"");
                ++i;
            } else if (a == "--maximum") {
                m.maximum = true;
            } else if (a == "--from" || a == "--to") {
                std::optional<double>& into = a == "--from" ? from : to;
                if (!hasValue || !(into = ParseDays(args[i + 1])))
                    return invalid(a + " needs a Julian Date");
                ++i;
            } else if (a.empty() || a[0] != '-') {
                return invalid("unexpected argument: " + a);
            } else {
                return invalid("unknown option: " + a);
            }
        }
        if (!from || !to || !(*from < *to))
            return invalid("--minimum needs --from JD and --to JD, the first before the second");
        m.from = *from;
        m.to = *to;
        request.kind = CommandLineRequest::Kind::Minimum;
        return request;
    }
    if (first == "--render" || first == "--convert") {
        const bool render = first == "--render";
        if (args.size() < 2 || args[1].empty() || args[1].rfind("--", 0) == 0)
            return invalid(first + " needs a file to load");
        std::string file = args[1];
        std::string out;
        for (size_t i = 2; i < args.size(); ++i) {
            const std::string& a = args[i];
            auto value = [&](std::string& into) {
                if (i + 1 >= args.size()) return false;
                into = args[++i];
                return true;
            };
            std::string text;
            std::string problem;
            if (a == "--out") {
                if (!value(out)) return invalid("--out needs a path");
            } else if (ParseLoadOption(args, i, render, request.render.load, problem)) {
                if (!problem.empty()) return invalid(problem);
                request.convert.kind = request.render.load.kind;
            } else if (render && a == "--omit-faint") {
                request.render.omitFaint = true;
            } else if (render && a == "--bands") {
                if (!value(text) || !(request.render.bands = ParseBands(text)).size())
                    return invalid("--bands needs band names separated by commas, e.g. \"Vis.,V\"");
            } else if (render && a == "--stats") {
                request.render.stats = true;
            } else if (render && a == "--view") {
                if (!value(text) || !(request.render.view = ParseView(text)))
                    return invalid(kViewProblem);
            } else if (render && (a == "--bins" || a == "--sigma" || a == "--poly" ||
                                  a == "--phase" || a == "--epoch")) {
                if (!value(text)) return invalid(a + " needs a value");
                (a == "--bins"    ? request.render.bins
                 : a == "--sigma" ? request.render.sigma
                 : a == "--poly"  ? request.render.poly
                 : a == "--phase" ? request.render.phase
                                  : request.render.epoch) = text;
            } else if (render && (a == "--bin-file" || a == "--curve-out" || a == "--phase-out" ||
                                  a == "--fit-out")) {
                if (!value(text) || text.empty()) return invalid(a + " needs a path");
                (a == "--bin-file"    ? request.render.binFile
                 : a == "--curve-out" ? request.render.curveOut
                 : a == "--phase-out" ? request.render.phaseOut
                                      : request.render.fitOut) = text;
            } else if (render && a == "--harmonics") {
                int h = 0;
                if (!value(text) || !ParseInt(text, h) || h < 1 || h > 6)
                    return invalid("--harmonics needs a whole number from 1 to 6");
                request.render.harmonics = h;
            } else if (render && (a == "--width" || a == "--height")) {
                int n = 0;
                if (!value(text) || !ParseInt(text, n) || n < 50 || n > 20000)
                    return invalid(a + " needs a whole number from 50 to 20000");
                (a == "--width" ? request.render.width : request.render.height) = n;
            } else if (!render && a == "--to") {
                if (!value(text)) return invalid("--to needs star, three-column or download");
                if (text == "star")
                    request.convert.to = ConvertOptions::Target::StarFile;
                else if (text == "three-column")
                    request.convert.to = ConvertOptions::Target::ThreeColumn;
                else if (text == "download")
                    request.convert.to = ConvertOptions::Target::Download;
                else
                    return invalid("--to needs star, three-column or download");
            } else if (a.empty() || a[0] != '-') {
                return invalid("unexpected argument: " + a);
            } else {
                return invalid("unknown option: " + a);
            }
        }
        if (out.empty()) return invalid(first + " needs --out");
        const RenderOptions& r = request.render;
        if (r.bins && r.poly) return invalid("--bins and --poly exclude each other");
        if (!r.bins && (r.sigma || !r.binFile.empty()))
            return invalid("--sigma and --bin-file need --bins");
        if (!r.poly && !r.curveOut.empty()) return invalid("--curve-out needs --poly");
        if (r.phase && (r.bins || r.poly)) return invalid("--phase excludes --bins and --poly");
        if (!r.phase && (r.epoch || !r.phaseOut.empty() || r.harmonics > 0 || !r.fitOut.empty()))
            return invalid("--epoch, --phase-out, --harmonics and --fit-out need --phase");
        if (!r.fitOut.empty() && r.harmonics == 0) return invalid("--fit-out needs --harmonics");
        if (render && !PlotImageFormatFor(out) && !WrittenInPlace(out))
            return invalid("--out must end in .png, .jpg, .jpeg, .svg or .pdf: " + out);
        request.kind =
            render ? CommandLineRequest::Kind::Render : CommandLineRequest::Kind::Convert;
        request.render.file = request.convert.file = file;
        request.render.out = request.convert.out = out;
        return request;
    }
    if (args.size() == 1 && first == "/alwayssave") {
        request.commandLine = first;
        return request;
    }
    if (args.size() > 1 && !first.empty() && first[0] != '-' && first != "/alwayssave") {
        // FILE and the options of how to show it.
        for (size_t i = 1; i < args.size(); ++i) {
            std::string problem;
            if (ParseLoadOption(args, i, true, request.load, problem)) {
                if (!problem.empty()) return invalid(problem);
            } else if (args[i] == "--view") {
                if (i + 1 >= args.size() || !(request.view = ParseView(args[++i])))
                    return invalid(kViewProblem);
            } else if (!args[i].empty() && args[i][0] == '-') {
                return invalid("unknown option: " + args[i]);
            } else {
                return invalid("unexpected argument: " + args[i]);
            }
        }
        request.fileToLoad = first;
        for (const std::string& arg : args)
            request.commandLine += (request.commandLine.empty() ? "" : " ") + arg;
        return request;
    }
    for (const std::string& arg : args)
        if (!arg.empty() && arg[0] == '-') return invalid("unknown option: " + arg);
    if (args.size() > 1) {
        for (const std::string& arg : args)
            if (arg != "/alwayssave") return invalid("unexpected argument: " + arg);
        return invalid("/alwayssave must be the only argument");
    }
    request.fileToLoad = first;
    request.commandLine = first;
    return request;
}

std::string UsageText() {
    return "Usage: sabrix [FILE [--three-column | --star-file] [--time-offset DAYS]\n"
           "                    [--view JDLEFT,JDRIGHT,MAGTOP,MAGBOTTOM] | /alwayssave]\n"
           "       sabrix --render FILE --out OUT [--width W] [--height H]\n"
           "              [--three-column | --star-file] [--time-offset DAYS]\n"
           "              [--omit-faint] [--bands LIST] [--stats]\n"
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

namespace {

std::string ExactText(double value) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

}  // namespace

std::string HandOffMessage(const std::string& file, const CommandLineRequest& request) {
    std::vector<std::string> options;
    if (request.load.kind)
        options.push_back(*request.load.kind == ObservationFileKind::ThreeColumnFile
                              ? "--three-column"
                              : "--star-file");
    if (request.load.timeOffset) {
        options.push_back("--time-offset");
        options.push_back(ExactText(*request.load.timeOffset));
    }
    if (request.view) {
        const ViewOption& v = *request.view;
        options.push_back("--view");
        options.push_back(ExactText(v.jdLeft) + "," + ExactText(v.jdRight) + "," +
                          ExactText(v.magTop) + "," + ExactText(v.magBottom));
    }
    std::string message = file;
    for (const std::string& option : options) message += '\0' + option;
    return message;
}

HandedFile ReadHandOffMessage(std::string_view message) {
    std::vector<std::string> args;
    for (;;) {
        const size_t nul = message.find('\0');
        args.emplace_back(message.substr(0, nul));
        if (nul == std::string_view::npos) break;
        message.remove_prefix(nul + 1);
    }
    HandedFile handed{args.front(), {}, std::nullopt};
    const CommandLineRequest request = ParseCommandLine(args);
    if (request.kind == CommandLineRequest::Kind::Gui && request.fileToLoad == handed.path) {
        handed.load = request.load;
        handed.view = request.view;
    }
    return handed;
}

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

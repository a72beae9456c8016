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
            } else if (render && a == "--legend") {
                request.render.legend = true;
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

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/StarFileImport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/LineReader.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/BandColor.h"
#include "data/CsvLine.h"
#include "data/StarLayoutLine.h"

namespace sabrix {

namespace {

constexpr int32_t kExtraRecords = 20;
constexpr size_t kClassicFieldCount = 18;
constexpr size_t kCurrentFieldCount = 24;
constexpr const char* kConversionError = "Data type conversion error.";
constexpr const char* kPastEnd = "Input past end of file";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Plain decimal digits only: a text that ParseNumber reads as the number it shows.
bool IsJulianDate(std::string_view text) {
    if (text.size() < 7) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (!IsDigit(text[i]) && !(i == 7 && text[i] == '.')) return false;
    // "2455411" and "2455411." are whole-day dates, as real downloads write some of them.
    return text.size() == 7 || text[7] == '.';
}

bool HoldsDigit(std::string_view text) {
    for (const char c : text)
        if (IsDigit(c)) return true;
    return false;
}

void AssignTrimmed(std::string& target, std::string_view field) {
    const std::string_view trimmed = TrimBlanks(field);
    target.assign(trimmed.data(), trimmed.size());
}

void UpperAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

// The rejected lines, gathered in a buffer and written through an AtomicFile, so Errors.txt
// is replaced only after the whole star file was read (it may be the very file being
// loaded) and a full disk can never leave it truncated.
class ErrorFile {
  public:
    explicit ErrorFile(const std::string& path) : path_(path) {
        Checked([&] { file_ = std::make_unique<AtomicFile>(path); });
    }

    void write(std::string_view line) {
        buffer_.append(line);
        buffer_.append("\r\n");
        if (buffer_.size() >= kFlushBytes) flush();
    }
    void commit() {
        flush();
        Checked([&] { file_->commit(); });
    }

  private:
    static constexpr size_t kFlushBytes = 1 << 20;

    void flush() {
        Checked([&] { WriteAllBytes(file_->device(), buffer_); });
        buffer_.clear();
    }
    template <typename Step>
    void Checked(Step step) const {
        try {
            step();
        } catch (const SabrixError& e) {
            throw SabrixError("Cannot write " + path_ + ": " + e.what());
        }
    }

    std::string path_;
    std::unique_ptr<AtomicFile> file_;
    std::string buffer_;
};

}  // namespace

int32_t CountLines(const std::string& path) {
    if (!FileExists(path)) return 0;
    const long long lines = CountFileLines(path);
    if (lines < 0) return 0;
    constexpr long long kMost = std::numeric_limits<int32_t>::max() - kExtraRecords;
    return static_cast<int32_t>(std::min(lines, kMost)) + kExtraRecords;
}

StarLineClass ClassifyStarLine(const std::vector<std::string_view>& fields, bool firstLine) {
    if (fields.size() != kClassicFieldCount && fields.size() != kCurrentFieldCount)
        return StarLineClass::Rejected;
    const std::string_view jd = TrimBlanks(fields[0]);
    if (IsJulianDate(jd)) return StarLineClass::Data;
    // Only the line that names the columns is passed over without a trace; any other line
    // that is no data may be an observation the user would miss.
    return firstLine && !HoldsDigit(jd) ? StarLineClass::Header : StarLineClass::Rejected;
}

bool ReadStarColumns(const std::vector<std::string_view>& f, const Settings& colors,
                     ObsPoint& point) {
    if (f.size() < kClassicFieldCount) return false;
    // A value whose own text would not load again is refused here rather than at the next
    // load of a saved file.
    if (!ParseNumber(f[0], point.JD) || !FormatDoubleReadsBack(point.JD)) return false;
    const std::string_view magField = f[1];
    const size_t less = magField.find('<');
    point.faint = less != std::string_view::npos;
    const std::string_view magText = point.faint ? magField.substr(less + 1) : TrimBlanks(magField);
    if (!ParseNumber(magText, point.MagStored) || !FormatDoubleReadsBack(point.MagStored) ||
        !(std::abs(point.MagStored) <= kLargestMagnitude))
        return false;
    point.Mag = static_cast<float>(point.MagStored);
    point.PunktFarb = BandColor(point.faint ? "<" : "", f[4], f[13], colors);
    point.uncertainty = PlotColumns::UncertaintyOf(f[2]);
    point.discrepant = PlotColumns::DiscrepantOf(f[13]);
    return true;
}

// The one place where a line's fields become a row's.
void FillStarRow(const std::vector<std::string_view>& f, const ObsPoint& point, ObsRow& row) {
    row.JD = point.JD;
    row.Mag = point.MagStored;
    if (point.faint)
        row.Faint.assign("<");
    else
        row.Faint.clear();
    row.PunktFarb = point.PunktFarb;
    AssignTrimmed(row.Uncertain, f[2]);
    AssignTrimmed(row.HQUncertain, f[3]);
    AssignTrimmed(row.Band, f[4]);
    AssignTrimmed(row.Init, f[5]);
    AssignTrimmed(row.ComCod, f[6]);
    AssignTrimmed(row.Comp1, f[7]);
    AssignTrimmed(row.Comp2, f[8]);
    AssignTrimmed(row.Charts, f[9]);
    AssignTrimmed(row.Comments, f[10]);
    AssignTrimmed(row.XForm, f[11]);
    AssignTrimmed(row.AirMass, f[12]);
    AssignTrimmed(row.Valid, f[13]);
    AssignTrimmed(row.CMag, f[14]);
    AssignTrimmed(row.KMag, f[15]);
    AssignTrimmed(row.HQJD, f[16]);
    AssignTrimmed(row.Star, f[17]);
    UpperAscii(row.Star);
    std::string* const later[] = {&row.ObserverAffiliation, &row.MeasurementMethod,
                                  &row.GroupingMethod,      &row.ADSReference,
                                  &row.Digitizer,           &row.Credit};
    for (size_t i = 0; i < std::size(later); ++i) {
        if (f.size() == kCurrentFieldCount)
            AssignTrimmed(*later[i], f[kClassicFieldCount + i]);
        else
            later[i]->clear();
    }
    if (f.size() == kStarLayoutDesigField + 1)
        AssignTrimmed(row.Desig, f[kStarLayoutDesigField]);
    else
        row.Desig.clear();
    row.Marked.clear();
    row.Edited.clear();
    row.Error = 0;
    row.ID = 0;
}

bool FillStarRow(const std::vector<std::string_view>& f, const Settings& colors, ObsRow& row) {
    ObsPoint point;
    if (!ReadStarColumns(f, colors, point)) return false;
    FillStarRow(f, point, row);
    return true;
}

namespace {

// Opens path for a read that reports to the user when counted (the line count first) or for
// the fill's read. Returns false, with the outcome CannotOpen in result, when it cannot.
bool OpenStarFile(const std::string& path, bool counted, LineReader& reader, ImportResult& result) {
    // Only a read that reports to the user needs the count: the fill's read does without it.
    if (counted) result.recordCount = CountLines(path);
    if (reader.open(path)) return true;
    result.outcome = ImportResult::Outcome::CannotOpen;
    result.description = reader.error();
    return false;
}

// Takes a data line as StarLineSink does, with the line's number in the file (from 1).
using NumberedLineSink = std::function<void(const std::vector<std::string_view>& fields,
                                            const ObsPoint& point, int64_t lineNumber)>;

// Reads the lines of an open star file as ReadStarFile says.
ImportResult ReadStarLines(LineReader& reader, ImportResult result, const std::string& errorsPath,
                           const Settings& colors, const ImportCallbacks& callbacks,
                           const NumberedLineSink& take) {
    std::optional<ErrorFile> errors;
    if (!errorsPath.empty()) errors.emplace(errorsPath);
    const auto reject = [&](std::string_view line) {
        if (errors) errors->write(line);
        ++result.rejected;
    };
    const auto finish = [&] {
        reader.close();
        if (errors) errors->commit();
    };
    if (callbacks.started) callbacks.started(result.recordCount);

    CsvLine splitter;
    // A file that "Save to Star File" wrote: its record lines are split by their columns into
    // the fields of a download line, and its header gives the star's name.
    bool starLayout = false;
    std::vector<std::string_view> layoutFields;
    ObsPoint point;
    int64_t n = 0;
    int64_t lineNumber = 0;
    // What a file that loads nothing is said to be.
    bool nulByte = false;
    bool text = false;
    int64_t firstCutLine = 0;
    std::string_view line;
    while (reader.next(line)) {
        const bool firstLine = ++lineNumber == 1;
        if (firstLine && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            line.remove_prefix(kByteOrderMark.size());
        nulByte = nulByte || line.find('\0') != std::string_view::npos;
        text = text || line.find_first_not_of(" \t") != std::string_view::npos;
        if (reader.lineCut() && firstCutLine == 0) firstCutLine = lineNumber;
        if (callbacks.cancelled && callbacks.cancelled()) {
            reader.close();
            result.outcome = ImportResult::Outcome::Cancelled;
            return result;
        }
        if (callbacks.yield) callbacks.yield();
        if (reader.lineCut()) {
            reject(line);
            continue;
        }
        if (firstLine && ReadStarLayoutHeader(line, result.starName)) {
            starLayout = true;
            continue;
        }
        StarLineClass lineClass = StarLineClass::Rejected;
        if (starLayout) {
            // The layout's one empty line stands between the header and the records.
            if (lineNumber == 2 && line.empty()) continue;
            // Its JD column is held to the rule of a download's, so both kinds of file take
            // the same dates.
            if (SplitStarLayoutLine(line, layoutFields) &&
                IsJulianDate(TrimBlanks(layoutFields[0])))
                lineClass = StarLineClass::Data;
        }
        const std::vector<std::string_view>& fields =
            starLayout ? layoutFields : splitter.split(line);
        if (!starLayout) lineClass = ClassifyStarLine(fields, firstLine);
        switch (lineClass) {
            case StarLineClass::Data: {
                // The layout holds ten bytes of each line's star; its header the whole name.
                if (!starLayout) AssignTrimmed(result.starName, fields[17]);
                if (n == 0 && callbacks.firstRow) {
                    std::string upper = result.starName;
                    UpperAscii(upper);
                    // The lines from this one to the end: the data lines of a clean file, not
                    // the progress maximum, which counts the header and twenty more.
                    const int64_t lines =
                        std::max<int64_t>(0, result.recordCount - kExtraRecords - lineNumber + 1);
                    callbacks.firstRow("Loading " + FormatDouble(static_cast<double>(lines)) +
                                       " Records for " + upper);
                }
                if (!ReadStarColumns(fields, colors, point)) {
                    result.outcome = ImportResult::Outcome::ConversionFailed;
                    result.lastJD.assign(TrimBlanks(fields[0]));
                    result.description = kConversionError;
                    finish();
                    return result;
                }
                point.ID = n + 1;
                take(fields, point, lineNumber);
                if (callbacks.progress) callbacks.progress(n);
                ++n;
                break;
            }
            case StarLineClass::Header:
                break;
            case StarLineClass::Rejected:
                reject(line);
                break;
        }
    }
    finish();
    result.linesRead = lineNumber;
    result.starLayout = starLayout;

    if (lineNumber == 0) {
        result.outcome = ImportResult::Outcome::InputPastEnd;
        result.description = kPastEnd;
    } else if (n == 0) {
        result.outcome = ImportResult::Outcome::NoDataLines;
        if (nulByte)
            result.description =
                "The file is not text in UTF-8: it holds NUL bytes, as UTF-16 and UTF-32 text "
                "and binary files do.";
        else if (firstCutLine != 0)
            result.description = "Line " + std::to_string(firstCutLine) + " is longer than " +
                                 std::to_string(kLongestLine) + " bytes.";
        else if (!text)
            result.description = "The file holds only blank lines.";
        else
            result.description = "No line of the file is an observation.";
    } else {
        result.stored = n;
        result.outcome = ImportResult::Outcome::Loaded;
    }
    return result;
}

// An open descriptor of the file a scan read, for the fill's read of the same file.
class OpenFile {
  public:
    explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
    ~OpenFile() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    // Hands the descriptor over (-1 when there is none, or no more).
    int release() { return std::exchange(descriptor_, -1); }

  private:
    int descriptor_;
};

// The rows of the star file's data lines, for the fill: read again from the file the scan read
// (its path as a last resort), with the same rule, without error file, line count or
// callbacks but the cancel.
TableFill::RowSource StarFileRows(std::shared_ptr<OpenFile> file, std::string path, Settings colors,
                                  BandColorMap bandColors) {
    return [file = std::move(file), path = std::move(path), colors = std::move(colors),
            bandColors = std::move(bandColors)](TableFill::RowSink& sink) {
        LineReader reader;
        const int descriptor = file->release();
        if (!(descriptor >= 0 ? reader.openDescriptor(descriptor) : reader.open(path)))
            throw SabrixError(reader.error());
        ObsRow row;
        ImportCallbacks callbacks;
        // Asked at every line, so that a cancel stops a long run of passed-over lines too.
        callbacks.cancelled = [&sink] { return sink.stopped(); };
        const ImportResult result = ReadStarLines(
            reader, ImportResult{}, std::string(), colors, callbacks,
            [&](const std::vector<std::string_view>& fields, const ObsPoint& point, int64_t) {
                FillStarRow(fields, point, row);
                if (!bandColors.empty())
                    row.PunktFarb = BandColor(row.Faint, row.Band, row.Valid, colors, bandColors);
                sink.add(row);
            });
        // A file that reads differently now than it did for the columns: the fill checks the
        // rows against the columns, so only the reason it cannot see is said here.
        if (result.outcome == ImportResult::Outcome::ConversionFailed)
            throw TableFill::RowError(result.lastJD, result.description);
    };
}

}  // namespace

ImportResult ReadStarFile(const std::string& path, const std::string& errorsPath,
                          const Settings& colors, const ImportCallbacks& callbacks,
                          const StarLineSink& take) {
    ImportResult result;
    LineReader reader;
    if (!OpenStarFile(path, !errorsPath.empty(), reader, result)) return result;
    return ReadStarLines(reader, std::move(result), errorsPath, colors, callbacks,
                         [&take](const std::vector<std::string_view>& fields, const ObsPoint& point,
                                 int64_t) { take(fields, point); });
}

StarFileScan ScanStarFile(const std::string& path, const std::string& errorsPath,
                          const Settings& colors, const ImportCallbacks& callbacks) {
    StarFileScan scan;
    LineReader reader;
    if (!OpenStarFile(path, !errorsPath.empty(), reader, scan.result)) return scan;
    // The fill reads this very file again, even when its path is replaced meanwhile: loading
    // Errors.txt itself replaces it with the rejected lines of this load.
    auto file = std::make_shared<OpenFile>(reader.duplicateDescriptor());
    OpenFile bytes(reader.duplicateDescriptor());
    PlotColumns::Builder columns;
    std::vector<int64_t> dataLines;
    scan.result = ReadStarLines(reader, std::move(scan.result), errorsPath, colors, callbacks,
                                [&](const std::vector<std::string_view>& fields,
                                    const ObsPoint& point, int64_t lineNumber) {
                                    columns.Add(point, fields[4], TrimBlanks(fields[5]));
                                    dataLines.push_back(lineNumber);
                                });
    if (scan.result.outcome != ImportResult::Outcome::Loaded) return scan;
    if (!scan.result.starLayout)
        scan.source.emplace(bytes.release(), std::move(dataLines), scan.result.linesRead);
    scan.columns = std::move(columns).Build();
    // The bands without a rule of their own get their colours now that their counts are
    // known; the rows read for the fill are given the same.
    scan.bandColors = BandColorsFor(scan.columns.Bands(), colors);
    if (!scan.bandColors.empty())
        scan.columns.RecolorEach([&](const ObsPoint& p, const std::string& band) {
            if (p.faint || p.discrepant) return p.PunktFarb;
            const auto given = scan.bandColors.find(band);
            return given != scan.bandColors.end() ? given->second : p.PunktFarb;
        });
    scan.rows = StarFileRows(std::move(file), path, colors, scan.bandColors);
    return scan;
}

}  // namespace sabrix

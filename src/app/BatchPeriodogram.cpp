// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BatchPeriodogram.h"

#include <unistd.h>

#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <mutex>
#include <ostream>

#include "analysis/PeriodFiles.h"
#include "analysis/PeriodSearch.h"
#include "analysis/WorkerThreads.h"
#include "core/AtomicFile.h"
#include "core/LineReader.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "core/SettingsFile.h"
#include "data/CsvLine.h"
#include "data/FileKindGuess.h"
#include "data/StarFileImport.h"
#include "data/ThreeColumnFile.h"

namespace sabrix {

namespace {

constexpr const char* kSummaryHeader =
    "file,observations,span,period,frequency,power,amplitude,fap,sigma_period,method\r\n";

struct Observations {
    std::vector<double> times, mags, sigmas;
};

// A file that cannot be searched: the reason, for the summary and standard error.
struct Skipped {
    std::string reason;
};

// The times, magnitudes and uncertainties of a three-column file, fainter-than estimates left
// out. Throws Skipped naming the line that cannot be read.
Observations ReadThreeColumn(const std::string& path) {
    LineReader reader;
    if (!reader.open(path)) throw Skipped{"unreadable: " + reader.error()};
    Observations o;
    std::string_view line;
    long long number = 0;
    while (reader.next(line)) {
        ++number;
        std::optional<ThreeColumnRecord> record;
        try {
            record = ParseThreeColumnLine(line);
        } catch (const SabrixError& e) {
            throw Skipped{"unreadable: line " + std::to_string(number) + ": " + e.what()};
        }
        if (!record || record->Faint == "<") continue;
        o.times.push_back(record->JD);
        o.mags.push_back(record->Mag);
        o.sigmas.push_back(record->Error);
    }
    return o;
}

Observations ReadStar(const std::string& path, const Settings& colors) {
    Observations o;
    const ImportResult result =
        ReadStarFile(path, {}, colors, {}, [&](const auto&, const ObsPoint& point) {
            if (point.faint) return;
            o.times.push_back(point.JD);
            o.mags.push_back(point.MagStored);
            o.sigmas.push_back(point.uncertainty);
        });
    using Outcome = ImportResult::Outcome;
    if (result.outcome == Outcome::CannotOpen || result.outcome == Outcome::InputPastEnd ||
        result.outcome == Outcome::ConversionFailed)
        throw Skipped{"unreadable" +
                      (result.description.empty() ? std::string() : ": " + result.description)};
    return o;
}

std::string Number(double v) {
    return std::isfinite(v) ? FormatDouble(v) : std::string();
}

std::string CsvPathIn(const std::string& folder, const std::string& file) {
    return (std::filesystem::path(folder) / std::filesystem::path(file).stem()).string() +
           ".periodogram.csv";
}

// One file searched: its summary line (ended by CR LF). Throws Skipped.
std::string SearchOne(const std::string& file, const PeriodogramRunOptions& options,
                      const Settings& colors, std::string& line) {
    line.clear();
    AppendCsvField(line, file);
    const ObservationFileKind kind = options.load.kind.value_or(GuessObservationFileKind(file));
    const Observations o = kind == ObservationFileKind::ThreeColumnFile ? ReadThreeColumn(file)
                                                                        : ReadStar(file, colors);
    line += ',' + std::to_string(o.times.size());
    const PeriodDataOutcome data = PeriodData::Make(o.times, o.mags, o.sigmas, !options.noWeights);
    if (!data.data)
        throw Skipped{o.times.size() < 3 ? "too few observations" : data.refusal.toStdString()};
    line += ',' + Number(data.data->span());
    const PeriodRangeFields defaults = PeriodRangeText(DefaultPeriodRange(o.times));
    PeriodRangeFields fields = defaults;
    if (options.minPeriod) fields.minPeriod = QString::fromStdString(*options.minPeriod);
    if (options.maxPeriod) fields.maxPeriod = QString::fromStdString(*options.maxPeriod);
    if (options.samplesPerPeak)
        fields.samplesPerPeak = QString::fromStdString(*options.samplesPerPeak);
    const FrequencyGridOutcome grid = ReadPeriodRange(fields, data.data->span(), defaults);
    if (!grid.grid) throw Skipped{grid.refusal.toStdString()};
    PeriodSearchOptions search;
    search.periodogram.workers = 1;
    search.peakCount = 1;
    search.method = options.pdm ? SearchMethod::PhaseDispersion : SearchMethod::LombScargle;
    JobControl control;
    const std::optional<PeriodSearchResult> result =
        RunPeriodSearch(*data.data, *grid.grid, search, control);
    if (!result || result->peaks.empty()) throw Skipped{"no peak in the range searched"};
    if (!options.outDir.empty()) {
        QSaveFile csv(QString::fromStdString(CsvPathIn(options.outDir, file)));
        if (!csv.open(QIODevice::WriteOnly))
            throw Skipped{"cannot write " + csv.fileName().toStdString() + ": " +
                          csv.errorString().toStdString()};
        WritePeriodogramCsv(result->periodogram, csv);
        if (!csv.commit())
            throw Skipped{"cannot write " + csv.fileName().toStdString() + ": " +
                          csv.errorString().toStdString()};
    }
    const PeriodogramPeak& top = result->peaks.front();
    line += ',' + Number(top.period) + ',' + Number(top.frequency) + ',' + Number(top.power) + ',' +
            Number(top.amplitude) + ',' + Number(top.fap) + ',' + Number(top.sigmaPeriod) +
            ',' + (options.pdm ? "pdm" : "gls") + "\r\n";
    return line;
}

}  // namespace

std::vector<std::string> ExpandBatchInputs(const std::vector<std::string>& inputs) {
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (!std::filesystem::is_directory(input, error)) {
            files.push_back(input);
            continue;
        }
        std::vector<std::string> inside;
        for (const auto& entry : std::filesystem::directory_iterator(input, error)) {
            const std::string name = entry.path().filename().string();
            std::error_code ignored;
            if (!name.empty() && name[0] != '.' && entry.is_regular_file(ignored))
                inside.push_back(entry.path().string());
        }
        std::sort(inside.begin(), inside.end());
        files.insert(files.end(), inside.begin(), inside.end());
    }
    return files;
}

int RunPeriodogramBatch(const PeriodogramRunOptions& options, std::ostream& out,
                        std::ostream& err) {
    const std::vector<std::string> files = ExpandBatchInputs(options.files);
    // Star files need the band colours only to fill a column the search does not read.
    const Settings colors = DefaultSettings({});
    const bool toStandardOutput = options.summary.empty() || options.summary == "-";
    std::unique_ptr<AtomicFile> summary;
    try {
        if (toStandardOutput) out.flush();
        summary = toStandardOutput ? std::make_unique<AtomicFile>(AtomicFile::InPlace{},
                                                                  STDOUT_FILENO, "standard output")
                                   : std::make_unique<AtomicFile>(options.summary);
        WriteAllBytes(summary->device(), kSummaryHeader);
    } catch (const std::exception& e) {
        err << TerminalMessage(options.summary, std::string("Cannot write: ") + e.what());
        return 1;
    }
    // Lines finished out of order wait here until those before them are written, so at most
    // about one line per thread waits.
    std::mutex mutex;
    std::map<size_t, std::string> waiting;
    size_t written = 0;
    bool writeFailed = false;
    std::string failure;
    std::atomic<size_t> next{0};
    std::atomic<size_t> skipped{0};
    auto lastProgress = std::chrono::steady_clock::now();
    RunOnWorkers(WorkerCount(), [&](int) {
        std::string line;
        for (size_t i = next++; i < files.size(); i = next++) {
            std::string done;
            std::string reason;
            try {
                done = SearchOne(files[i], options, colors, line);
            } catch (const Skipped& s) {
                reason = s.reason;
            } catch (const std::bad_alloc&) {
                reason = "not enough memory";
            } catch (const std::exception& e) {
                reason = e.what();
            }
            if (!reason.empty()) {
                ++skipped;
                // What is known so far, then empty fields up to the reason.
                const auto commas = std::count(line.begin(), line.end(), ',');
                done =
                    line +
                    std::string(static_cast<size_t>(std::max<std::ptrdiff_t>(0, 9 - commas)), ',');
                AppendCsvField(done, "skipped: " + reason);
                done += "\r\n";
            }
            const std::lock_guard lock(mutex);
            if (!reason.empty()) err << TerminalMessage(files[i], "skipped: " + reason);
            waiting.emplace(i, std::move(done));
            for (auto it = waiting.begin(); it != waiting.end() && it->first == written;
                 it = waiting.erase(it), ++written) {
                if (writeFailed) continue;
                try {
                    WriteAllBytes(summary->device(), it->second);
                } catch (const std::exception& e) {
                    writeFailed = true;
                    failure = e.what();
                }
            }
            const auto now = std::chrono::steady_clock::now();
            if (now - lastProgress >= std::chrono::seconds(1)) {
                lastProgress = now;
                err << TerminalMessage({}, std::to_string(written) + " of " +
                                               std::to_string(files.size()) + " files searched");
                err.flush();
            }
        }
    });
    err << TerminalMessage({}, std::to_string(files.size()) + " files searched, " +
                                   std::to_string(skipped.load()) + " skipped");
    try {
        if (writeFailed) throw SabrixError(failure);
        summary->commit();
    } catch (const std::exception& e) {
        err << TerminalMessage(toStandardOutput ? std::string("standard output") : options.summary,
                               std::string("Cannot write: ") + e.what());
        return 1;
    }
    return skipped.load() == 0 ? 0 : 1;
}

}  // namespace sabrix

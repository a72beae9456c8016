// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/ObserverMarking.h"

#include <algorithm>
#include <vector>

#include "core/NumberText.h"
#include "data/BandColor.h"

namespace sabrix {

namespace {
constexpr int32_t Rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}
}  // namespace

const std::array<int32_t, 16> kMarkPalette = {
    Rgb(0, 0, 0),       Rgb(0, 0, 128),   Rgb(0, 128, 0),   Rgb(0, 128, 128),
    Rgb(128, 0, 0),     Rgb(128, 0, 128), Rgb(128, 128, 0), Rgb(192, 192, 192),
    Rgb(128, 128, 128), Rgb(0, 0, 255),   Rgb(0, 255, 0),   Rgb(0, 255, 255),
    Rgb(255, 0, 0),     Rgb(255, 0, 255), Rgb(255, 255, 0), Rgb(255, 255, 255)};

void MarkObs(ObserverMarks& marks, ObsTable& table, const std::string& code, int32_t color) {
    const std::string number = std::to_string(marks.MarkCount + 1);
    const std::string colorText = std::to_string(color);
    std::vector<MarkEntry> entries;
    table.MarkObserverInIdOrder(code, color, number, [&](double jd, double mag) {
        entries.push_back(MarkEntry{number, FormatDouble(jd), FormatDouble(mag), colorText});
    });
    ++marks.MarkCount;
    marks.Markings.push_back({code, number, color});
    marks.MarkList.insert(marks.MarkList.end(), entries.begin(), entries.end());
    marks.ObserverMarked = true;
}

void UnMarkObs(ObserverMarks& marks, const Settings& colors, ObsTable& table) {
    table.UnMarkAll(
        [&colors](const ObsRow& row) { return BandColor(row.Faint, row.Band, row.Valid, colors); });
    // Only after the table changed: a failure above leaves the list of markings matching the
    // rows that still carry them.
    marks = ObserverMarks{};
}

void FollowMarkedRow(ObserverMarks& marks, const std::string& marked, double oldJD, double oldMag,
                     const double* newJD, const double* newMag) {
    if (marked.empty()) return;
    const std::string jd = FormatDouble(oldJD);
    const std::string mag = FormatDouble(oldMag);
    const auto entry = std::find_if(
        marks.MarkList.begin(), marks.MarkList.end(),
        [&](const MarkEntry& e) { return e[0] == marked && e[1] == jd && e[2] == mag; });
    if (entry == marks.MarkList.end()) return;
    if (newJD && newMag) {
        (*entry)[1] = FormatDouble(*newJD);
        (*entry)[2] = FormatDouble(*newMag);
    } else {
        marks.MarkList.erase(entry);
    }
}

void RejoinMarks(ObserverMarks& marks, const Settings& colors, ObsRow& row) {
    const auto marking =
        std::find_if(marks.Markings.rbegin(), marks.Markings.rend(),
                     [&row](const ObserverMarks::Marking& m) { return m.code == row.Init; });
    if (!marks.ObserverMarked || marking == marks.Markings.rend()) {
        row.Marked.clear();
        row.PunktFarb = BandColor(row.Faint, row.Band, row.Valid, colors);
        return;
    }
    row.Marked = marking->number;
    row.PunktFarb = marking->color;
    auto place = marks.MarkList.end();
    for (auto e = marks.MarkList.begin(); e != marks.MarkList.end(); ++e) {
        if ((*e)[0] != row.Marked) continue;
        place = e + 1;
        double jd = 0;
        if (ParseNumber((*e)[1], jd) && jd > row.JD) {
            place = e;
            break;
        }
    }
    marks.MarkList.insert(place, MarkEntry{row.Marked, FormatDouble(row.JD), FormatDouble(row.Mag),
                                           std::to_string(row.PunktFarb)});
}

}  // namespace sabrix

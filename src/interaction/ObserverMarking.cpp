#include "interaction/ObserverMarking.h"

#include <algorithm>
#include <vector>

#include "core/NumberText.h"

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

void MarkObs(AppState& state, ObsTable& table, const std::string& code) {
    OverlayState& overlay = state.overlay;
    const std::string number = std::to_string(overlay.MarkCount + 1);
    const std::string color = std::to_string(overlay.MarkColor);
    std::vector<MarkEntry> entries;
    table.MarkObserverInIdOrder(code, overlay.MarkColor, number, [&](double jd, double mag) {
        entries.push_back(MarkEntry{number, FormatDouble(jd), FormatDouble(mag), color});
    });
    ++overlay.MarkCount;
    overlay.MarkList.insert(overlay.MarkList.end(), entries.begin(), entries.end());
    overlay.MarkColor = 0;
    overlay.ObserverMarked = true;
}

void FollowMarkedRow(OverlayState& overlay, const std::string& marked, double oldJD, double oldMag,
                     const double* newJD, const double* newMag) {
    if (marked.empty()) return;
    const std::string jd = FormatDouble(oldJD);
    const std::string mag = FormatDouble(oldMag);
    const auto entry = std::find_if(
        overlay.MarkList.begin(), overlay.MarkList.end(),
        [&](const MarkEntry& e) { return e[0] == marked && e[1] == jd && e[2] == mag; });
    if (entry == overlay.MarkList.end()) return;
    if (newJD && newMag) {
        (*entry)[1] = FormatDouble(*newJD);
        (*entry)[2] = FormatDouble(*newMag);
    } else {
        overlay.MarkList.erase(entry);
    }
}

}  // namespace sabrix

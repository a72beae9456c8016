#include "plot/BandLines.h"

#include <algorithm>

#include "core/ErrorText.h"
#include "data/BandColor.h"

namespace sabrix {

std::vector<BandLine> BandLines(const PlotColumns& columns, const AppState& state) {
    std::vector<BandLine> lines;
    for (const ColumnText& band : columns.Bands()) {
        if (band.count <= 0) continue;
        BandLine line;
        line.band = band.text;
        line.label = band.text.empty() ? QStringLiteral("(no band)") : DisplayText(band.text);
        line.color = BandColor("", band.text, "", state.settings);
        line.count = band.count;
        line.shown = !state.star.HiddenBands.contains(band.text);
        lines.push_back(std::move(line));
    }
    std::sort(lines.begin(), lines.end(), [](const BandLine& a, const BandLine& b) {
        return a.count != b.count ? a.count > b.count : a.band < b.band;
    });

    int64_t faint = 0;
    int64_t discrepant = 0;
    for (const ObsPoint& p : columns.All()) {
        faint += p.faint ? 1 : 0;
        discrepant += p.discrepant ? 1 : 0;
    }
    if (faint > 0) {
        BandLine line;
        line.kind = BandLine::Kind::FainterThan;
        line.label = QStringLiteral("Fainter-than estimates");
        line.color = BandColor("<", "", "", state.settings);
        line.count = faint;
        line.shown = !state.overlay.OmitFainter;
        lines.push_back(std::move(line));
    }
    if (discrepant > 0) {
        BandLine line;
        line.kind = BandLine::Kind::Discrepant;
        line.label = QStringLiteral("Discrepant");
        // A band that the rules do not colour by itself takes the discrepant colour.
        line.color = BandColor("", "X", "D", state.settings);
        line.count = discrepant;
        line.shown = !state.overlay.OmitDiscrepant;
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/BandLines.h"

#include <algorithm>

#include "core/ErrorText.h"
#include "data/BandColor.h"

namespace sabrix {

std::vector<BandLine> BandLines(const PlotColumns& columns, const AppState& state) {
    std::vector<BandLine> lines;
    // A discrepant observation is counted under "Discrepant" alone, so that the band lines
    // and that line add up to the star's total.
    const std::vector<ColumnText>& bands = columns.Bands();
    std::vector<int64_t> discrepantOfBand(bands.size(), 0);
    for (const ObsPoint& p : columns.All())
        if (p.discrepant && p.band < discrepantOfBand.size()) ++discrepantOfBand[p.band];
    for (size_t i = 0; i < bands.size(); ++i) {
        const ColumnText& band = bands[i];
        if (band.count - discrepantOfBand[i] <= 0) continue;
        BandLine line;
        line.band = band.text;
        line.label = band.text.empty() ? QStringLiteral("(no band)") : DisplayText(band.text);
        // A three-column file's points are all drawn in the one colour of its load.
        line.color = state.star.ThreeColumnFormat
                         ? state.overlay.DefaultPointColor
                         : BandColor("", band.text, "", state.settings, state.star.BandColors);
        line.count = band.count - discrepantOfBand[i];
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
    const auto addKind = [&lines](BandLine::Kind kind, QString label, int32_t color, int64_t count,
                                  bool omitted) {
        if (count > 0)
            lines.push_back(BandLine{kind, std::string(), label, color, count, !omitted});
    };
    addKind(BandLine::Kind::FainterThan, QStringLiteral("Fainter-than estimates"),
            BandColor("<", "", "", state.settings), faint, state.overlay.OmitFainter);
    // A band that the rules do not colour by itself takes the discrepant colour.
    addKind(BandLine::Kind::Discrepant, QStringLiteral("Discrepant"),
            BandColor("", "X", "D", state.settings), discrepant, state.overlay.OmitDiscrepant);
    return lines;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/PointFilter.h"

#include "data/PlotColumns.h"

namespace sabrix {

PointFilter::PointFilter(const PlotColumns& columns, const std::set<std::string>& hiddenBands,
                         bool omitFainter, bool omitDiscrepant)
    : omitFainter_(omitFainter), omitDiscrepant_(omitDiscrepant) {
    if (hiddenBands.empty()) return;
    const std::vector<ColumnText>& bands = columns.Bands();
    hiddenBand_.assign(bands.size(), 0);
    for (size_t i = 0; i < bands.size(); ++i) {
        if (!hiddenBands.contains(bands[i].text)) continue;
        hiddenBand_[i] = 1;
        anyHidden_ = true;
    }
}

PointFilter PointFilter::Of(const AppState& state, const PlotColumns& columns) {
    return PointFilter(columns, state.star.HiddenBands, state.overlay.OmitFainter,
                       state.overlay.OmitDiscrepant);
}

PointFilter PointFilter::Counted(const AppState& state, const PlotColumns& columns) {
    return PointFilter(columns, state.star.HiddenBands, false, state.overlay.OmitDiscrepant);
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// Which observations are shown: the one test that the plot, its extremes, selection, the
// averages, the fit, the stats window, the exported picture and the command line's render all
// apply to a point. A point is shown unless its band is hidden, or it is discrepant while
// discrepant observations are omitted. Omitted fainter-than estimates are left out of the
// drawing alone (Of); everything else still counts them (Counted).
//
// A filter is made for one set of columns (the bands are numbered by them) and used at once;
// it costs one byte per band, and the test is a table look-up and two flags, so a redraw of a
// million points pays next to nothing for it.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/AppState.h"

namespace sabrix {

class PlotColumns;

class PointFilter {
  public:
    // Shows every point.
    PointFilter() = default;
    // Leaves out the points of the bands named in hiddenBands (trimmed texts as in
    // columns.Bands(); a name the columns do not have hides nothing), fainter-than points
    // with omitFainter, discrepant points with omitDiscrepant.
    PointFilter(const PlotColumns& columns, const std::set<std::string>& hiddenBands,
                bool omitFainter, bool omitDiscrepant);
    // The filter of what the state says is drawn: its hidden bands, OmitFainter and
    // OmitDiscrepant.
    static PointFilter Of(const AppState& state, const PlotColumns& columns);
    // The filter of the observations that count in the window's fit on Reset, the stats
    // lines, selections, the averages and the fit: the hidden bands and OmitDiscrepant leave
    // their points out, while OmitFainter only takes fainter-than estimates out of the
    // drawing, as it always has.
    static PointFilter Counted(const AppState& state, const PlotColumns& columns);

    // True when a point with this band index and these marks is shown. A band index past
    // those the filter was made with (a band that came later) is shown.
    bool Shows(uint32_t band, bool faint, bool discrepant) const {
        if (band < hiddenBand_.size() && hiddenBand_[band] != 0) return false;
        return !(faint && omitFainter_) && !(discrepant && omitDiscrepant_);
    }
    // True when no point is left out.
    bool ShowsAll() const { return !anyHidden_ && !omitFainter_ && !omitDiscrepant_; }

  private:
    std::vector<uint8_t> hiddenBand_;
    bool anyHidden_ = false;
    bool omitFainter_ = false;
    bool omitDiscrepant_ = false;
};

}  // namespace sabrix

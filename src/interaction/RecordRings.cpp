// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RecordRings.h"

#include <algorithm>
#include <cmath>

namespace sabrix {

int64_t DrawRecordRings(Canvas& picView, const PlotWindowState& view, const PlotColumns& columns,
                        const std::vector<int64_t>& ids, int32_t color) {
    if (ids.empty()) return 0;
    const int w = picView.pixelWidth();
    const int h = picView.pixelHeight();
    std::vector<char> ringed(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    const bool fill = picView.FillSolid;
    const int width = picView.DrawWidth;
    picView.FillSolid = false;
    picView.DrawWidth = 1;
    const double radius = std::abs(picView.PixelsToUserX(kRingRadius));
    int64_t drawn = 0;
    for (const ObsPoint& p : columns.InWindow(view.WinJDLeft, view.WinJDRight)) {
        if (!std::binary_search(ids.begin(), ids.end(), p.ID)) continue;
        const double x = p.JD - view.JDFirst;
        const QPointF at = picView.toPixel(x, p.Mag);
        const double px = std::floor(at.x());
        const double py = std::floor(at.y());
        if (px < 0 || py < 0 || px >= w || py >= h) continue;
        char& seen =
            ringed[static_cast<size_t>(py) * static_cast<size_t>(w) + static_cast<size_t>(px)];
        if (seen) continue;
        seen = 1;
        picView.Circle(x, p.Mag, radius, color);
        ++drawn;
    }
    picView.FillSolid = fill;
    picView.DrawWidth = width;
    return drawn;
}

}  // namespace sabrix

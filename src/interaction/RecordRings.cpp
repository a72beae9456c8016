// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RecordRings.h"

#include <algorithm>
#include <cmath>

namespace sabrix {

int64_t DrawRecordRings(Canvas& picView, const PlotFrame& frame, const PlotWindowState& view,
                        const PlotColumns& columns, const std::vector<int64_t>& ids,
                        int32_t color) {
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
    const auto ring = [&](double x, double y) {
        const QPointF at = picView.toPixel(x, y);
        const double px = std::floor(at.x());
        const double py = std::floor(at.y());
        if (px < 0 || py < 0 || px >= w || py >= h) return;
        char& seen =
            ringed[static_cast<size_t>(py) * static_cast<size_t>(w) + static_cast<size_t>(px)];
        if (seen) return;
        seen = 1;
        picView.Circle(x, y, radius, color);
        ++drawn;
    };
    // Every point of the window: a ring is a highlight, drawn whatever the filters hide.
    ForEachFramePoint(frame, columns, PointFilter(), view.WinJDLeft, view.WinJDRight,
                      [&](const FramePoint& p) {
                          if (!std::binary_search(ids.begin(), ids.end(), p.point->ID)) return;
                          const double y = static_cast<float>(p.place.y);
                          for (int k = 0; k < p.place.count; ++k)
                              ring(p.place.x[k] - view.JDFirst, y);
                      });
    picView.FillSolid = fill;
    picView.DrawWidth = width;
    return drawn;
}

}  // namespace sabrix

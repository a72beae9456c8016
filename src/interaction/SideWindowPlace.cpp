#include "interaction/SideWindowPlace.h"

#include <algorithm>

namespace sabrix {

QPoint SideWindowPlace(const QRect& mainFrame, const QSize& size,
                       const std::optional<QRect>& screenArea) {
    QPoint place(mainFrame.right() + kSideWindowGap, mainFrame.top());
    if (!screenArea) return place;
    const QRect& area = *screenArea;
    if (place.x() + size.width() - 1 > area.right()) {
        const int left = mainFrame.left() - kSideWindowGap - size.width();
        place.setX(left >= area.left() ? left : std::max(area.left(), area.right() - size.width()));
    }
    place.setY(
        std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    return place;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
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

int SideWindowWidth(const QRect& mainFrame, int width, int leastWidth,
                    const std::optional<QRect>& screenArea) {
    if (!screenArea) return width;
    const int right = screenArea->right() + 1 - mainFrame.right() - kSideWindowGap;
    const int left = mainFrame.left() - kSideWindowGap - screenArea->left();
    const int room = std::max(left, right);
    return width > room && room >= leastWidth ? room : width;
}

QPoint SideWindowPlaceAvoiding(const QRect& mainFrame, const QSize& size,
                               const std::optional<QRect>& screenArea,
                               const std::optional<QRect>& avoid) {
    const QPoint beside = SideWindowPlace(mainFrame, size, screenArea);
    if (!avoid || !QRect(beside, size).intersects(*avoid)) return beside;
    const QRect& a = *avoid;
    const QPoint candidates[] = {
        {a.right() + 1 + kSideWindowGap, beside.y()},
        {a.left() - kSideWindowGap - size.width(), beside.y()},
        {beside.x(), a.bottom() + 1 + kSideWindowGap},
        {beside.x(), a.top() - kSideWindowGap - size.height()},
    };
    for (QPoint place : candidates) {
        if (screenArea) {
            const QRect& area = *screenArea;
            place.setX(std::clamp(place.x(), area.left(),
                                  std::max(area.left(), area.right() + 1 - size.width())));
            place.setY(std::clamp(place.y(), area.top(),
                                  std::max(area.top(), area.bottom() + 1 - size.height())));
        }
        if (!QRect(place, size).intersects(a)) return place;
    }
    return beside;
}

}  // namespace sabrix

namespace sabrix {

QRect FrameInside(const QRect& frame, const QRect& area) {
    const QSize size = frame.size().boundedTo(area.size());
    const int left =
        std::clamp(frame.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(frame.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}

QSize FrameMarginsToPlaceBy(const QSize& reported) {
    // A title bar of 36 pixels and borders of 4: more than most window managers draw.
    constexpr QSize kLikelyMargins(8, 40);
    return reported.width() > 0 || reported.height() > 0 ? reported : kLikelyMargins;
}

QRect MainWindowFrame(const QSize& size, const QRect& area) {
    const QSize fitted = size.boundedTo(area.size());
    return FrameInside(QRect(QPoint(area.left() + (area.width() - fitted.width()) / 2,
                                    area.top() + (area.height() - fitted.height()) / 2),
                             fitted),
                       area);
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/interaction/BesideMainWindow.h"

#include <QScreen>
#include <QWidget>
#include <optional>

#include "interaction/SideWindowPlace.h"

namespace sabrix {

void PlaceBesideMainWindow(QWidget& window) {
    const QWidget* main = window.parentWidget() ? window.parentWidget()->window() : nullptr;
    if (!main) return;
    const QSize border = main->frameGeometry().size() - main->size();
    const QScreen* screen = main->screen();
    const std::optional<QRect> area =
        screen ? std::optional(screen->availableGeometry()) : std::nullopt;
    const int width = SideWindowWidth(main->frameGeometry(), window.width() + border.width(),
                                      window.minimumSizeHint().width() + border.width(), area);
    window.resize(width - border.width(), window.height());
    window.move(SideWindowPlace(main->frameGeometry(), window.size() + border, area));
}

}  // namespace sabrix

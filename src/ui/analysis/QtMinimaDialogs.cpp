// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/QtMinimaDialogs.h"

#include <QClipboard>
#include <QGuiApplication>

#include "ui/interaction/BesideMainWindow.h"

namespace sabrix {

void QtMinimaDialogs::showList(const MinimaWindowView& view,
                               const std::function<void(const MinimaEvent&)>& onEvent) {
    const bool opening = !list_;
    if (opening) {
        list_ = new frmMinima(parent_);
        list_->setModal(false);
        PlaceBesideMainWindow(*list_);
    }
    list_->onEvent = onEvent;
    list_->Apply(view);
    if (opening) list_->show();
}

void QtMinimaDialogs::closeList() {
    if (!list_) return;
    frmMinima* window = list_;
    list_ = nullptr;
    window->Unload();
}

void QtMinimaDialogs::showOc(const OcWindowView& view,
                             const std::function<void(const OcEvent&)>& onEvent) {
    const bool opening = !oc_;
    if (opening) {
        oc_ = new frmOcDiagram(parent_);
        oc_->setModal(false);
        PlaceBesideMainWindow(*oc_);
    }
    oc_->onEvent = onEvent;
    oc_->Apply(view);
    if (opening) {
        oc_->show();
        oc_->raise();
        oc_->activateWindow();
    }
}

void QtMinimaDialogs::closeOc() {
    if (!oc_) return;
    frmOcDiagram* window = oc_;
    oc_ = nullptr;
    window->Unload();
}

void QtMinimaDialogs::copyText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The times-of-minimum windows of the desktop: frmMinima and frmOcDiagram beside the main
// window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "analysis/MinimaDialogs.h"
#include "ui/analysis/frmMinima.h"
#include "ui/analysis/frmOcDiagram.h"

namespace sabrix {

class QtMinimaDialogs : public MinimaDialogs {
  public:
    explicit QtMinimaDialogs(QWidget* parent) : parent_(parent) {}

    void showList(const MinimaWindowView& view,
                  const std::function<void(const MinimaEvent&)>& onEvent) override;
    void closeList() override;
    void showOc(const OcWindowView& view,
                const std::function<void(const OcEvent&)>& onEvent) override;
    void closeOc() override;
    void copyText(const QString& text) override;

  private:
    QWidget* parent_;
    QPointer<frmMinima> list_;
    QPointer<frmOcDiagram> oc_;
};

}  // namespace sabrix

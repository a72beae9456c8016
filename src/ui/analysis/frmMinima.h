// SPDX-License-Identifier: GPL-3.0-or-later
// The "Times of minimum" window: the star's times of minimum and maximum (time, error,
// method, the observations used), with Copy and Save as text, Remove and the O-C diagram.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
#include <functional>

#include "analysis/MinimaDialogs.h"

namespace sabrix {

class frmMinima : public QDialog {
    Q_OBJECT

  public:
    explicit frmMinima(QWidget* parent = nullptr);
    void Apply(const MinimaWindowView& view);
    // Closes without reporting Close.
    void Unload();

    std::function<void(const MinimaEvent&)> onEvent;

    QTableWidget* tblMinima;
    QPushButton* cmdCopy;
    QPushButton* cmdSave;
    QPushButton* cmdRemove;
    QPushButton* cmdOC;
    QPushButton* cmdClose;

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Send(MinimaEvent::Kind kind);
    bool unloading_ = false;
};

}  // namespace sabrix

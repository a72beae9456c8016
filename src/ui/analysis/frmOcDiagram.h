// SPDX-License-Identifier: GPL-3.0-or-later
// The O-C window: the ephemeris fields, the diagram (cycle across, O - C down, in the layout of
// the main plot), the fits under it, the choice of what a dragged box does (zoom, or leave the
// points inside out of the fits), Reset, and the exports.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "analysis/MinimaDialogs.h"
#include "ui/plot/PictureBox.h"

namespace sabrix {

class frmOcDiagram : public QDialog {
    Q_OBJECT

  public:
    explicit frmOcDiagram(QWidget* parent = nullptr);
    void Apply(const OcWindowView& view);
    void Unload();

    std::function<void(const OcEvent&)> onEvent;

    QLineEdit* txtEpoch;
    QLineEdit* txtPeriod;
    QPushButton* cmdApply;
    QCheckBox* chkQuadratic;
    QRadioButton* optZoom;
    QRadioButton* optOmit;
    PictureBox* picCycleScale;
    PictureBox* picOC;
    PictureBox* picOCScale;
    QLabel* lblFit;
    QPushButton* cmdReset;
    QPushButton* cmdExportCsv;
    QPushButton* cmdExportImage;
    QPushButton* cmdClose;

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void DrawPicture();
    void Send(OcEvent event);
    void Send(OcEvent::Kind kind);
    OcWindowView view_;
    bool applying_ = false;
    bool unloading_ = false;
    bool dragging_ = false;
    double dragX_ = 0, dragY_ = 0;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The period search window: the periodogram (the scale across above it, the power scale at
// its right) with the frequency/period toggle, "Show window function" and Reset; the peaks
// table and what it means (notes); the model of the chosen period (harmonics, drawn or not,
// its figures); the period and epoch of the phase plot; "Remove this period", the periods removed
// and "Back one step"; the exports; and while a computation runs, its progress and Cancel. It
// shows a PeriodogramWindowView and hands every action to onEvent; it closes only when told
// (Unload), also after its close box, which it reports as Close.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <functional>

#include "analysis/PeriodAnalysis.h"
#include "ui/plot/PictureBox.h"

namespace sabrix {

class frmPeriodogram : public QDialog {
    Q_OBJECT

  public:
    explicit frmPeriodogram(QWidget* parent = nullptr);

    void Apply(const PeriodogramWindowView& view);
    // Closes the window for good.
    void Unload();

    std::function<void(const PeriodogramEvent&)> onEvent;

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private slots:
    void tblPeaks_Click();
    void tblPeaks_DblClick(int row);
    void cmdPhase_Click();

  private:
    // The controls, under these object names (the tests and the guide pictures find them
    // by name).
    QLabel* lblSummary;
    QLabel* lblHeading;
    PictureBox* picFreqScale;
    PictureBox* picPeriodogram;
    PictureBox* picPowerScale;
    QRadioButton* optFrequency;
    QRadioButton* optPeriod;
    QCheckBox* chkWindow;
    QPushButton* cmdReset;
    QTableWidget* tblPeaks;
    QLabel* lblNotes;
    QSpinBox* spnHarmonics;
    QCheckBox* chkModel;
    QLabel* lblModel;
    QLineEdit* txtPeriod;
    QLineEdit* txtEpoch;
    QPushButton* cmdPhase;
    QPushButton* cmdRemove;
    QListWidget* lstRemoved;
    QPushButton* cmdStepBack;
    QPushButton* cmdExportCsv;
    QPushButton* cmdExportImage;
    QLabel* lblProgress;
    QProgressBar* prgPeriod;
    QPushButton* cmdCancel;
    QPushButton* cmdClose;

    void Send(PeriodogramEvent::Kind kind);
    void Send(PeriodogramEvent event);
    // Draws the current picture on the three surfaces.
    void DrawPicture();
    void picPeriodogram_MouseDown(int button, int shift, double x, double y);
    void picPeriodogram_MouseMove(int button, int shift, double x, double y);
    void picPeriodogram_MouseUp(int button, int shift, double x, double y);

    PeriodogramWindowView view_;
    QString appliedFoldPeriod_;
    bool applying_ = false;
    bool unloading_ = false;
    bool dragging_ = false;
    double dragX_ = 0;
    double dragY_ = 0;
};

}  // namespace sabrix

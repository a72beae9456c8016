// SPDX-License-Identifier: GPL-3.0-or-later
// The bins dialog ("Load Bins"): the bin width in days, the data's first and last JD (shown
// only), the error bar in sigmas and "Print Bin File". It only collects the fields: Enter hands
// them to onEnter, which computes and answers whether the dialog closes.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <functional>

#include "analysis/Bins.h"

namespace sabrix {

class frmBins : public QDialog {
    Q_OBJECT

  public:
    explicit frmBins(QWidget* parent = nullptr);

    // Form_Load: the fields the dialog opens with; the bin width is selected.
    void setFields(const BinDialogFields& fields);
    BinDialogFields fields() const;

    // Called by Enter; the dialog closes when it returns true.
    std::function<bool(const BinDialogFields&)> onEnter;
    // Called by Cancel, Escape and the close box.
    std::function<void()> onCancel;

    QLabel* Label1;
    QLabel* lblBinSize;
    QLabel* lblRange;
    QLineEdit* txtBinWid;
    QLineEdit* txtFromJD;
    QLineEdit* txtToJD;
    QLineEdit* txtSigma;
    QCheckBox* chkBinFil;
    QProgressBar* prgBin;
    QPushButton* cmdEnter;
    QPushButton* cmdCancel;

  public slots:
    void cmdEnter_Click();
    void cmdCancel_Click();

  protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool closing_ = false;
    bool phase_ = false;
};

}  // namespace sabrix

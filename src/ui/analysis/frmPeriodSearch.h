// SPDX-License-Identifier: GPL-3.0-or-later
// The search dialog ("Period Search"): what is searched, the minimum and maximum period, the
// samples per peak ("Defaults" puts back those of the observations), the harmonics and "Use
// uncertainties as weights" (greyed when not every observation has
// one). It only collects the fields: Search hands them to onSearch, whose answer closes the
// dialog or puts the focus on the field at fault.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <functional>

#include "analysis/PeriodDialogs.h"

namespace sabrix {

class frmPeriodSearch : public QDialog {
    Q_OBJECT

  public:
    explicit frmPeriodSearch(QWidget* parent = nullptr);

    // The fields the dialog shows; the minimum period is selected.
    void setFields(const PeriodSearchFields& fields);
    PeriodSearchFields fields() const;
    // The field's text selected and the focus in it.
    void focusField(PeriodRangeField field);

    std::function<PeriodSearchAnswer(const PeriodSearchFields&)> onSearch;

    QLabel* lblSummary;
    QLineEdit* txtMinPeriod;
    QLineEdit* txtMaxPeriod;
    QLineEdit* txtSamples;
    QSpinBox* spnHarmonics;
    QPushButton* cmdDefaults;
    QCheckBox* chkWeights;
    // "Periodogram (Lomb-Scargle)" or "Phase dispersion (PDM)".
    QComboBox* cboMethod;
    QPushButton* cmdSearch;
    QPushButton* cmdCancel;

  public slots:
    void cmdSearch_Click();

  private:
    bool available_ = false;
    PeriodRangeFields defaults_;
    bool closing_ = false;
};

}  // namespace sabrix

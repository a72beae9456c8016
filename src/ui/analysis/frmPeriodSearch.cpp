// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/frmPeriodSearch.h"

#include <QGridLayout>

namespace sabrix {

frmPeriodSearch::frmPeriodSearch(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPeriodSearch"));
    setWindowTitle(QStringLiteral("Period Search"));
    auto* grid = new QGridLayout(this);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    grid->addWidget(lblSummary, 0, 0, 1, 2);
    const auto field = [&](int row, const QString& caption, const char* name) {
        auto* label = new QLabel(caption, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    txtMinPeriod = field(1, QStringLiteral("&Minimum period (days)"), "txtMinPeriod");
    txtMaxPeriod = field(2, QStringLiteral("Ma&ximum period (days)"), "txtMaxPeriod");
    txtSamples = field(3, QStringLiteral("&Samples per peak"), "txtSamples");
    spnHarmonics = new QSpinBox(this);
    spnHarmonics->setObjectName(QStringLiteral("spnHarmonics"));
    spnHarmonics->setRange(1, 6);
    spnHarmonics->setToolTip(QStringLiteral(
        "Harmonics of the model compared at each frequency: 1 for a sinusoid (with its "
        "false-alarm probability), more for stars far from sinusoidal."));
    auto* harmonicsLabel = new QLabel(QStringLiteral("&Harmonics"), this);
    harmonicsLabel->setBuddy(spnHarmonics);
    grid->addWidget(harmonicsLabel, 4, 0);
    grid->addWidget(spnHarmonics, 4, 1);
    cmdDefaults = new QPushButton(QStringLiteral("&Defaults"), this);
    cmdDefaults->setObjectName(QStringLiteral("cmdDefaults"));
    cmdDefaults->setAutoDefault(false);
    grid->addWidget(cmdDefaults, 1, 2);
    chkWeights = new QCheckBox(QStringLiteral("&Use uncertainties as weights"), this);
    chkWeights->setObjectName(QStringLiteral("chkWeights"));
    grid->addWidget(chkWeights, 5, 0, 1, 2);
    cboMethod = new QComboBox(this);
    cboMethod->setObjectName(QStringLiteral("cboMethod"));
    cboMethod->addItems(
        {QStringLiteral("Periodogram (Lomb-Scargle)"), QStringLiteral("Phase dispersion (PDM)")});
    cboMethod->setToolTip(
        QStringLiteral("Phase dispersion needs no sinusoidal shape: it finds the orbital period "
                       "of an eclipsing binary, where the periodogram finds half of it."));
    auto* methodLabel = new QLabel(QStringLiteral("M&ethod"), this);
    methodLabel->setBuddy(cboMethod);
    grid->addWidget(methodLabel, 6, 0);
    grid->addWidget(cboMethod, 6, 1);
    cmdSearch = new QPushButton(QStringLiteral("Search"), this);
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    grid->addWidget(cmdSearch, 7, 0);
    grid->addWidget(cmdCancel, 7, 1);
    grid->setColumnMinimumWidth(1, 140);
    connect(cmdSearch, &QPushButton::clicked, this, &frmPeriodSearch::cmdSearch_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdDefaults, &QPushButton::clicked, this, [this] {
        txtMinPeriod->setText(defaults_.minPeriod);
        txtMaxPeriod->setText(defaults_.maxPeriod);
        txtSamples->setText(defaults_.samplesPerPeak);
        spnHarmonics->setValue(1);
        focusField(PeriodRangeField::MinPeriod);
    });
}

void frmPeriodSearch::setFields(const PeriodSearchFields& fields) {
    lblSummary->setText(fields.summary);
    txtMinPeriod->setText(fields.range.minPeriod);
    txtMaxPeriod->setText(fields.range.maxPeriod);
    txtSamples->setText(fields.range.samplesPerPeak);
    spnHarmonics->setValue(fields.harmonics);
    defaults_ = fields.defaults;
    available_ = fields.uncertaintiesAvailable;
    chkWeights->setEnabled(available_);
    chkWeights->setChecked(fields.useUncertainties);
    cboMethod->setCurrentIndex(fields.pdm ? 1 : 0);
    chkWeights->setToolTip(available_ ? QString()
                                      : QStringLiteral("Not every observation shown has an "
                                                       "uncertainty: the weights are equal."));
    focusField(PeriodRangeField::MinPeriod);
}

PeriodSearchFields frmPeriodSearch::fields() const {
    PeriodSearchFields f;
    f.summary = lblSummary->text();
    f.range.minPeriod = txtMinPeriod->text();
    f.range.maxPeriod = txtMaxPeriod->text();
    f.range.samplesPerPeak = txtSamples->text();
    f.defaults = defaults_;
    f.harmonics = spnHarmonics->value();
    f.useUncertainties = chkWeights->isChecked();
    f.pdm = cboMethod->currentIndex() == 1;
    f.uncertaintiesAvailable = available_;
    return f;
}

void frmPeriodSearch::focusField(PeriodRangeField field) {
    QLineEdit* edit = field == PeriodRangeField::MaxPeriod        ? txtMaxPeriod
                      : field == PeriodRangeField::SamplesPerPeak ? txtSamples
                      : field == PeriodRangeField::MinPeriod      ? txtMinPeriod
                                                                  : nullptr;
    if (!edit) return;
    edit->setFocus();
    edit->selectAll();
}

void frmPeriodSearch::cmdSearch_Click() {
    if (closing_) return;
    if (onSearch) {
        const PeriodSearchAnswer answer = onSearch(fields());
        if (!answer.close) {
            focusField(answer.focus);
            return;
        }
    }
    closing_ = true;
    accept();
}

}  // namespace sabrix

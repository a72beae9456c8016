// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/frmPoly.h"

#include <QGridLayout>

namespace sabrix {

frmPoly::frmPoly(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPoly"));
    setWindowTitle(QStringLiteral("Polynomial Fit"));
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("Generate Polynomial Curve Fitting Data"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Degree of Fit:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtDegree = new QLineEdit(this);
    txtDegree->setObjectName(QStringLiteral("txtDegree"));
    cmdPlot = new QPushButton(QStringLiteral("Plot"), this);
    cmdPlot->setObjectName(QStringLiteral("cmdPlot"));
    cmdPlot->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(txtDegree, 1, 1);
    grid->addWidget(cmdPlot, 2, 0);
    grid->addWidget(cmdCancel, 2, 1);
    connect(cmdPlot, &QPushButton::clicked, this, &frmPoly::cmdPlot_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPoly::cmdCancel_Click);
}

void frmPoly::setDegree(const QString& degree) {
    txtDegree->setText(degree);
    txtDegree->setFocus();
    txtDegree->setSelection(0, 3);
}

void frmPoly::cmdPlot_Click() {
    if (closing_) return;
    if (onPlot && !onPlot(txtDegree->text())) {
        txtDegree->setFocus();
        txtDegree->setSelection(0, 3);
        return;
    }
    closing_ = true;
    accept();
}

void frmPoly::cmdCancel_Click() {
    reject();
}

void frmPoly::reject() {
    if (!closing_) {
        closing_ = true;
        if (onCancel) onCancel();
    }
    QDialog::reject();
}

}  // namespace sabrix

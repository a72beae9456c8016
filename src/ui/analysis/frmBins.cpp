// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/frmBins.h"

#include <QEvent>
#include <QGridLayout>
#include <QTimer>

namespace sabrix {

frmBins::frmBins(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBins"));
    setWindowTitle(QStringLiteral("Load Bins"));
    auto* grid = new QGridLayout(this);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(Label1, 0, 0, 1, 3);

    auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        return edit;
    };
    lblBinSize = new QLabel(QStringLiteral("Bin Size (Days)"), this);
    lblBinSize->setObjectName(QStringLiteral("lblBinSize"));
    grid->addWidget(lblBinSize, 1, 0);
    txtBinWid = line("txtBinWid");
    grid->addWidget(txtBinWid, 1, 1);
    lblRange = new QLabel(QStringLiteral("       From JD                  To JD"), this);
    lblRange->setObjectName(QStringLiteral("lblRange"));
    grid->addWidget(lblRange, 2, 0, 1, 3);
    txtFromJD = line("txtFromJD");
    txtToJD = line("txtToJD");
    txtFromJD->setReadOnly(true);
    txtToJD->setReadOnly(true);
    grid->addWidget(txtFromJD, 3, 0);
    grid->addWidget(txtToJD, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Error Bar ="), this), 4, 0);
    txtSigma = line("txtSigma");
    txtSigma->installEventFilter(this);
    grid->addWidget(txtSigma, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sigma"), this), 4, 2);
    chkBinFil = new QCheckBox(QStringLiteral("Print Bin File"), this);
    chkBinFil->setObjectName(QStringLiteral("chkBinFil"));
    grid->addWidget(chkBinFil, 5, 0, 1, 2);
    prgBin = new QProgressBar(this);
    prgBin->setObjectName(QStringLiteral("prgBin"));
    prgBin->hide();
    grid->addWidget(prgBin, 6, 0, 1, 3);
    cmdEnter = new QPushButton(QStringLiteral("Enter"), this);
    cmdEnter->setObjectName(QStringLiteral("cmdEnter"));
    cmdEnter->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    grid->addWidget(cmdEnter, 7, 0);
    grid->addWidget(cmdCancel, 7, 1);
    connect(cmdEnter, &QPushButton::clicked, this, &frmBins::cmdEnter_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBins::cmdCancel_Click);
}

void frmBins::setFields(const BinDialogFields& fields) {
    Label1->setText(QStringLiteral("Set Bin Parameters:"));
    // The phase plot's averages: bins of a phase across the cycle, no JD range, no bin file.
    setWindowTitle(fields.phase ? QStringLiteral("Load Phase Bins") : QStringLiteral("Load Bins"));
    lblBinSize->setText(fields.phase ? QStringLiteral("Bin Size (Phase)")
                                     : QStringLiteral("Bin Size (Days)"));
    for (QWidget* w : {static_cast<QWidget*>(lblRange), static_cast<QWidget*>(txtFromJD),
                       static_cast<QWidget*>(txtToJD), static_cast<QWidget*>(chkBinFil)})
        w->setVisible(!fields.phase);
    phase_ = fields.phase;
    txtFromJD->setText(fields.fromJD);
    txtToJD->setText(fields.toJD);
    txtBinWid->setText(fields.binWidth);
    chkBinFil->setChecked(fields.printBinFile);
    txtSigma->setText(fields.sigma);
    txtBinWid->setFocus();
    txtBinWid->selectAll();
}

BinDialogFields frmBins::fields() const {
    BinDialogFields f;
    f.fromJD = txtFromJD->text();
    f.toJD = txtToJD->text();
    f.binWidth = txtBinWid->text();
    f.sigma = txtSigma->text();
    f.printBinFile = chkBinFil->isChecked() && !phase_;
    f.phase = phase_;
    return f;
}

void frmBins::cmdEnter_Click() {
    if (closing_) return;
    if (onEnter && !onEnter(fields())) return;
    closing_ = true;
    accept();
}

void frmBins::cmdCancel_Click() {
    reject();
}

void frmBins::reject() {
    if (!closing_) {
        closing_ = true;
        if (onCancel) onCancel();
    }
    QDialog::reject();
}

bool frmBins::eventFilter(QObject* watched, QEvent* event) {
    // txtSigma_GotFocus: its first two characters are selected.
    if (watched == txtSigma && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, txtSigma, [edit = txtSigma] { edit->setSelection(0, 2); });
    return QDialog::eventFilter(watched, event);
}

}  // namespace sabrix

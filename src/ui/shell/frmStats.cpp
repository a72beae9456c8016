// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/frmStats.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QVBoxLayout>

namespace sabrix {

// A tool window of the main window: it stays above it and goes with it.
frmStats::frmStats(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("Stats for Plot Window"));
    txtStats = new QPlainTextEdit(this);
    txtStats->setObjectName(QStringLiteral("txtStats"));
    txtStats->setReadOnly(true);
    txtStats->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtStats->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtStats);
    resize(360, 260);
}

void frmStats::clear() {
    txtStats->clear();
}

void frmStats::printLine(const QString& text) {
    txtStats->appendPlainText(text);
}

QString frmStats::text() const {
    return txtStats->toPlainText();
}

void frmStats::closeEvent(QCloseEvent* event) {
    // A closed window comes back empty: its figures belonged to the view it was closed on.
    txtStats->clear();
    QWidget::closeEvent(event);
    emit unloaded();
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/frmMinima.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace sabrix {

frmMinima::frmMinima(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMinima"));
    setWindowTitle(QStringLiteral("Times of minimum"));
    resize(400, 320);
    // The buttons in two rows keep the window narrow enough to stand beside the main window.
    auto* layout = new QVBoxLayout(this);
    tblMinima = new QTableWidget(0, 5, this);
    tblMinima->setObjectName(QStringLiteral("tblMinima"));
    tblMinima->setHorizontalHeaderLabels({QStringLiteral("Time (JD)"), QStringLiteral("Error (d)"),
                                          QStringLiteral("Method"), QStringLiteral("n"),
                                          QStringLiteral("Extremum")});
    tblMinima->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblMinima->setSelectionMode(QAbstractItemView::SingleSelection);
    tblMinima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblMinima->verticalHeader()->setDefaultSectionSize(20);
    tblMinima->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(tblMinima, 1);
    auto* buttons = new QGridLayout;
    const auto button = [&](const QString& text, const char* name, int row, int column) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b, row, column);
        return b;
    };
    cmdCopy = button(QStringLiteral("&Copy"), "cmdCopy", 0, 0);
    cmdSave = button(QStringLiteral("&Save as Text..."), "cmdSave", 0, 1);
    cmdRemove = button(QStringLiteral("&Remove"), "cmdRemove", 0, 2);
    cmdOC = button(QStringLiteral("&O-C Diagram..."), "cmdOC", 1, 0);
    cmdClose = button(QStringLiteral("Close"), "cmdClose", 1, 2);
    layout->addLayout(buttons);
    using Kind = MinimaEvent::Kind;
    connect(cmdCopy, &QPushButton::clicked, this, [this] { Send(Kind::Copy); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { Send(Kind::Save); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { Send(Kind::Remove); });
    connect(cmdOC, &QPushButton::clicked, this, [this] { Send(Kind::OcDiagram); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { Send(Kind::Close); });
}

void frmMinima::Apply(const MinimaWindowView& view) {
    setWindowTitle(view.title);
    tblMinima->setRowCount(static_cast<int>(view.rows.size()));
    for (int row = 0; row < static_cast<int>(view.rows.size()); ++row)
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(
                view.rows[static_cast<size_t>(row)][static_cast<size_t>(column)]);
            if (column != 2 && column != 4)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblMinima->setItem(row, column, item);
        }
    cmdRemove->setEnabled(!view.rows.empty());
}

void frmMinima::Unload() {
    unloading_ = true;
    done(QDialog::Rejected);
    deleteLater();
}

void frmMinima::Send(MinimaEvent::Kind kind) {
    if (unloading_ || !onEvent) return;
    MinimaEvent event;
    event.kind = kind;
    const QList<QTableWidgetItem*> items = tblMinima->selectedItems();
    event.row = items.isEmpty() ? -1 : items.front()->row();
    onEvent(event);
}

void frmMinima::reject() {
    if (unloading_) {
        QDialog::reject();
        return;
    }
    Send(MinimaEvent::Kind::Close);
}

void frmMinima::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Send(MinimaEvent::Kind::Close);
}

}  // namespace sabrix

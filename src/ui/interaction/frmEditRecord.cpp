// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/interaction/frmEditRecord.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace sabrix {

frmEditRecord::frmEditRecord(const QString& caption, const std::vector<RecordField>& fields,
                             QWidget* parent)
    : QDialog(parent), fields_(fields) {
    setObjectName(QStringLiteral("frmEditRecord"));
    setWindowTitle(caption);
    auto* column = new QVBoxLayout(this);
    // Name, text and meaning in three aligned columns.
    auto* form = new QGridLayout;
    int row = 0;
    for (const RecordField& field : fields_) {
        auto* edit = new QLineEdit(field.text, this);
        edit->setObjectName(QStringLiteral("txt") + field.name);
        edit->setToolTip(field.meaning);
        edit->setMinimumWidth(260);
        auto* name = new QLabel(field.name, this);
        name->setBuddy(edit);
        auto* meaning = new QLabel(field.meaning, this);
        meaning->setEnabled(false);
        form->addWidget(name, row, 0);
        form->addWidget(edit, row, 1);
        form->addWidget(meaning, row, 2);
        txtFields.push_back(edit);
        ++row;
    }
    column->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    column->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmEditRecord::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::vector<RecordField> frmEditRecord::fields() const {
    std::vector<RecordField> fields = fields_;
    for (size_t i = 0; i < fields.size(); ++i) fields[i].text = txtFields[i]->text();
    return fields;
}

void frmEditRecord::cmdOK_Click() {
    if (onOK && !onOK(fields())) return;
    accept();
}

}  // namespace sabrix

#include "interaction/frmEditRecord.h"

#include <QFormLayout>
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
    auto* form = new QFormLayout;
    for (const RecordField& field : fields_) {
        auto* edit = new QLineEdit(field.text, this);
        edit->setObjectName(QStringLiteral("txt") + field.name);
        edit->setToolTip(field.meaning);
        edit->setMinimumWidth(260);
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        auto* meaning = new QLabel(field.meaning, this);
        meaning->setEnabled(false);
        row->addWidget(meaning);
        form->addRow(field.name, row);
        txtFields.push_back(edit);
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The record editor ("Edit Record"): one line per field of an Obs row, named by its column
// with what it holds beside it. It only collects the texts: OK hands them to onOK, which
// checks and writes them and answers whether the editor closes; Cancel, Escape and the close
// box close it with nothing changed.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "interaction/RecordFields.h"

namespace sabrix {

class frmEditRecord : public QDialog {
    Q_OBJECT

  public:
    frmEditRecord(const QString& caption, const std::vector<RecordField>& fields,
                  QWidget* parent = nullptr);

    std::vector<RecordField> fields() const;

    std::function<bool(const std::vector<RecordField>&)> onOK;

    // One line edit per field, named "txt" + the column name (txtJD, txtMag, ...).
    std::vector<QLineEdit*> txtFields;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

  public slots:
    void cmdOK_Click();

  private:
    std::vector<RecordField> fields_;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The degree dialog ("Polynomial Fit"). It only collects the degree: Plot, or Enter in the
// field, hands the text to onPlot, which fits and draws and answers whether the dialog closes.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace sabrix {

class frmPoly : public QDialog {
    Q_OBJECT

  public:
    explicit frmPoly(QWidget* parent = nullptr);

    // Form_Activate: the degree offered, its first three characters selected.
    void setDegree(const QString& degree);

    std::function<bool(const QString&)> onPlot;
    std::function<void()> onCancel;

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* txtDegree;
    QPushButton* cmdPlot;
    QPushButton* cmdCancel;

  public slots:
    void cmdPlot_Click();
    void cmdCancel_Click();

  protected:
    void reject() override;

  private:
    bool closing_ = false;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The about box: the program's name, version and credits. A click anywhere on it closes it.
#pragma once

#include <QDialog>
#include <QLabel>

namespace sabrix {

class frmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* picLogo;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* lblCopyright;

  public slots:
    void Form_Activate();
    void Form_Click();
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();
    void lblCopyright_Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace sabrix

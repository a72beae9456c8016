// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration dialog "Configure Sabrix": edits the data folder, the connect-marked
// option, the default polynomial degree and scatter-bar sigma, and the thirteen drawing
// colours, and writes them to the settings file when the user confirms.
//
// The dialog works on the live settings of the application state. Colour buttons and
// "Reset Colors" change the colour settings at once; every way of closing it but "Enter"
// (Cancel, Escape, the close button) reads the settings file again to throw those changes away.
// While the settings are unconfirmed (IniMissing), any way of closing the dialog other than a
// successful "Enter" asks the caller to end the program: after exec() returns, the caller checks
// endProgramRequested() and runs its shut-down.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "core/AppState.h"
#include "core/Prompts.h"

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sabrix {

class frmConfig : public QDialog {
    Q_OBJECT

  public:
    // settings: the live settings, changed in place. programDir: where Sabrix.ini lives and
    // the folder offered when FilePath is empty.
    frmConfig(Settings& settings, std::string programDir, Prompts& prompts,
              QWidget* parent = nullptr);

    // True when the dialog has closed while IniMissing was set: the program must end.
    // False while the dialog is open and after a confirmed or an ordinary close.
    bool endProgramRequested() const { return endProgramRequested_; }

    // The colour a colour button of this dialog shows, packed red + 256 * green +
    // 65536 * blue. Returns 0 for a button that holds no colour.
    static double ButtonColor(const QPushButton* button);

  public slots:
    // Fills every control from the settings; runs when the dialog is shown and when the
    // folder browser closes over it.
    void Form_Activate();
    void cmdEnter_Click();
    void cmdCancel_Click();
    void cmdReset_Click();
    void cmdBrowse_Click();
    void cmdVIS_Click();
    void cmdFAINT_Click();
    void cmdDISC_Click();
    void cmdNA_Click();
    void cmdCR_Click();
    void cmdU_Click();
    void cmdV_Click();
    void cmdB_Click();
    void cmdR_Click();
    void cmdI_Click();
    void cmdCV_Click();
    void cmdJ_Click();
    void cmdH_Click();
    void txtFilePath_GotFocus();
    void txtPolyFit_GotFocus();
    void txtSigma_GotFocus();

    // Closing by any way ends here; it records whether the program must end.
    void done(int result) override;

  public:
    // The key filter of the degree field. Returns true when the key was consumed (Enter
    // confirms the dialog; a character other than a digit is refused with a message).
    bool txtPolyFit_KeyPress(QKeyEvent* event);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr size_t kColorCount = 13;

    void ColorButtonClick(size_t index);
    void SetButtonColor(QPushButton* button, double packed);
    // Says why the field's text is refused and puts the focus on it, all of it selected.
    void RefuseField(QLineEdit* field, const QString& text);

    Settings& settings_;
    std::string programDir_;
    Prompts& prompts_;
    bool endProgramRequested_ = false;

    QGroupBox* Frame2;
    QLineEdit* txtFilePath;
    QPushButton* cmdBrowse;
    QCheckBox* chkConnMark;
    QGroupBox* fraCCD;
    QPushButton* cmdReset;
    QLabel* Label1;
    QLineEdit* txtPolyFit;
    QLabel* Label6;
    QLineEdit* txtSigma;
    QPushButton* cmdEnter;
    QPushButton* cmdCancel;
    std::array<QPushButton*, kColorCount> colorButtons_{};
    std::array<QLabel*, kColorCount> colorLabels_{};
};

}  // namespace sabrix

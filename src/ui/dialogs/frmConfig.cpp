// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/frmConfig.h"

#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "core/SettingsFile.h"
#include "dialogs/ConfigFields.h"
#include "ui/dialogs/frmBrowse.h"
#include "plot/Canvas.h"

namespace sabrix {

namespace {

constexpr const char* kColorProperty = "packedColor";
constexpr int kPathSelection = 30;
constexpr int kNumberSelection = 20;

struct ColorControl {
    const char* button;
    const char* label;
    const char* caption;
};

// In the order of ColorSettings(), so that an index names the same colour in both.
constexpr std::array<ColorControl, 13> kColorControls{{
    {"cmdVIS", "lblVisual", "VIS:"},
    {"cmdFAINT", "lblFaint", "FAINT"},
    {"cmdDISC", "lblDisc", "DISC"},
    {"cmdNA", "lblNA", "N/A"},
    {"cmdCR", "lblCR", "CR:"},
    {"cmdU", "lblU", "U"},
    {"cmdV", "lblV", "V"},
    {"cmdB", "lblB", "B"},
    {"cmdR", "lblR", "R"},
    {"cmdI", "lblI", "I"},
    {"cmdCV", "lblCV", "CV"},
    {"cmdJ", "lblJ", "J"},
    {"cmdH", "lblH", "H"},
}};

// A text box that reports gaining the focus after its own handling, so that a selection
// made then is not replaced by the select-all of a tab focus.
class FocusReportingLineEdit : public QLineEdit {
  public:
    FocusReportingLineEdit(QWidget* parent, std::function<void()> gotFocus)
        : QLineEdit(parent), gotFocus_(std::move(gotFocus)) {}

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        gotFocus_();
    }

  private:
    std::function<void()> gotFocus_;
};

QPushButton* MakeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

frmConfig::frmConfig(Settings& settings, std::string programDir, Prompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), programDir_(std::move(programDir)), prompts_(prompts) {
    static_assert(kColorControls.size() == kColorCount);
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configure Sabrix"));
    setModal(true);

    Frame2 = new QGroupBox(QStringLiteral("File Path:"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txtFilePath = new FocusReportingLineEdit(Frame2, [this] { txtFilePath_GotFocus(); });
    txtFilePath->setObjectName(QStringLiteral("txtFilePath"));
    cmdBrowse = MakeButton(QStringLiteral("Browse"), "cmdBrowse", Frame2);
    auto* pathRow = new QHBoxLayout(Frame2);
    pathRow->addWidget(txtFilePath, 1);
    pathRow->addWidget(cmdBrowse);

    chkConnMark = new QCheckBox(QStringLiteral("Connect Marked Observations"), this);
    chkConnMark->setObjectName(QStringLiteral("chkConnMark"));

    fraCCD = new QGroupBox(QStringLiteral("Colors:"), this);
    fraCCD->setObjectName(QStringLiteral("fraCCD"));
    auto* colorGrid = new QGridLayout(fraCCD);
    for (size_t i = 0; i < kColorCount; ++i) {
        const ColorControl& control = kColorControls[i];
        colorLabels_[i] = new QLabel(QString::fromLatin1(control.caption), fraCCD);
        colorLabels_[i]->setObjectName(QLatin1String(control.label));
        colorButtons_[i] = MakeButton(QString(), control.button, fraCCD);
        colorButtons_[i]->setFixedSize(36, 22);
        colorLabels_[i]->setBuddy(colorButtons_[i]);
        const int row = int(i) / 4;
        const int column = (int(i) % 4) * 2;
        colorGrid->addWidget(colorLabels_[i], row, column, Qt::AlignRight);
        colorGrid->addWidget(colorButtons_[i], row, column + 1);
    }
    cmdReset = MakeButton(QStringLiteral("Reset Colors"), "cmdReset", fraCCD);
    colorGrid->addWidget(cmdReset, 4, 0, 1, 8, Qt::AlignHCenter);

    Label1 = new QLabel(QStringLiteral("Default Polynomial Fit:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtPolyFit = new FocusReportingLineEdit(this, [this] { txtPolyFit_GotFocus(); });
    txtPolyFit->setObjectName(QStringLiteral("txtPolyFit"));
    txtPolyFit->installEventFilter(this);
    Label6 = new QLabel(QStringLiteral("Default Scatter Bar Sigma:"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    txtSigma = new FocusReportingLineEdit(this, [this] { txtSigma_GotFocus(); });
    txtSigma->setObjectName(QStringLiteral("txtSigma"));
    auto* numbers = new QGridLayout;
    numbers->addWidget(Label1, 0, 0);
    numbers->addWidget(txtPolyFit, 0, 1);
    numbers->addWidget(Label6, 1, 0);
    numbers->addWidget(txtSigma, 1, 1);

    cmdEnter = MakeButton(QStringLiteral("Enter"), "cmdEnter", this);
    cmdCancel = MakeButton(QStringLiteral("Cancel"), "cmdCancel", this);
    // Return in a field confirms, as Enter does; a button that has the focus takes Return
    // itself.
    cmdEnter->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdEnter);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addWidget(chkConnMark);
    layout->addWidget(fraCCD);
    layout->addLayout(numbers);
    layout->addLayout(buttons);

    connect(cmdEnter, &QPushButton::clicked, this, &frmConfig::cmdEnter_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmConfig::cmdCancel_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmConfig::cmdReset_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmConfig::cmdBrowse_Click);
    using Handler = void (frmConfig::*)();
    static constexpr std::array<Handler, kColorCount> kColorHandlers{
        &frmConfig::cmdVIS_Click, &frmConfig::cmdFAINT_Click, &frmConfig::cmdDISC_Click,
        &frmConfig::cmdNA_Click,  &frmConfig::cmdCR_Click,    &frmConfig::cmdU_Click,
        &frmConfig::cmdV_Click,   &frmConfig::cmdB_Click,     &frmConfig::cmdR_Click,
        &frmConfig::cmdI_Click,   &frmConfig::cmdCV_Click,    &frmConfig::cmdJ_Click,
        &frmConfig::cmdH_Click};
    for (size_t i = 0; i < kColorCount; ++i)
        connect(colorButtons_[i], &QPushButton::clicked, this, kColorHandlers[i]);

    Form_Activate();
}

double frmConfig::ButtonColor(const QPushButton* button) {
    return button->property(kColorProperty).toDouble();
}

void frmConfig::SetButtonColor(QPushButton* button, double packed) {
    button->setProperty(kColorProperty, packed);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid "
                       "#808080; }")
            .arg(ToQColor(static_cast<int32_t>(static_cast<uint32_t>(packed))).name()));
}

void frmConfig::showEvent(QShowEvent* event) {
    Form_Activate();
    QDialog::showEvent(event);
}

void frmConfig::Form_Activate() {
    txtFilePath->setText(
        DisplayText(settings_.FilePath.empty() ? programDir_ : settings_.FilePath));
    chkConnMark->setChecked(settings_.ConnectMarked);
    txtPolyFit->setText(settings_.PolyFit == 0 ? QStringLiteral("40")
                                               : QString::number(settings_.PolyFit));
    txtSigma->setText(settings_.DefaultSigma == 0 ? QStringLiteral("2")
                                                  : QString::number(settings_.DefaultSigma));
    const auto& colors = ColorSettings();
    for (size_t i = 0; i < kColorCount; ++i) {
        const double value = settings_.*colors[i].member;
        SetButtonColor(colorButtons_[i], value == 0 ? colors[i].defaultColor : value);
    }
}

void frmConfig::RefuseField(QLineEdit* field, const QString& text) {
    prompts_.message(text, QStringLiteral("Configure Sabrix"), Buttons::OK, Icon::Exclamation);
    field->setFocus();
    field->selectAll();
}

void frmConfig::cmdEnter_Click() {
    try {
        // The numbers are checked before anything changes, so a refused Enter leaves the
        // settings, the folder and the file exactly as they were.
        const auto degree = ParseDefaultDegree(txtPolyFit->text().toStdString());
        if (!degree) {
            RefuseField(txtPolyFit,
                        QStringLiteral("The default polynomial fit must be a whole number "
                                       "from 0 to %1.")
                            .arg(kLargestDefaultDegree));
            return;
        }
        const auto sigma = ParseDefaultSigma(txtSigma->text().toStdString());
        if (!sigma) {
            RefuseField(txtSigma, QStringLiteral("The default scatter bar sigma must be a whole "
                                                 "number from -32768 to 32767."));
            return;
        }

        const std::string kept = settings_.FilePath;
        const QString folderText = txtFilePath->text();
        if (!NamesAFolder(folderText.toStdString())) {
            RefuseField(txtFilePath,
                        QStringLiteral("Type the folder that holds your star files, or choose "
                                       "it with Browse."));
            return;
        }
        const std::string folder = PathBytes(folderText);
        const auto keepOldFolder = [&] {
            settings_.FilePath = kept;
            txtFilePath->setText(DisplayText(kept));
        };
        if (!FolderExists(folder)) {
            const Answer answer =
                prompts_.message(QStringLiteral("The folder ") + folderText +
                                     QStringLiteral(" does not exist. Do you want to creat it?"),
                                 QStringLiteral("Folder Missing!"), Buttons::YesNo, Icon::None);
            if (answer != Answer::Yes) {
                keepOldFolder();
                settings_.IniMissing = true;
                return;
            }
            // Writing a folder that could not be made would only move the failure to the
            // first load.
            if (!CreateFolder(folder)) {
                prompts_.message(QStringLiteral("The folder ") + folderText +
                                     QStringLiteral(" could not be created."),
                                 QStringLiteral("Folder Missing!"), Buttons::OK, Icon::Critical);
                // The user agreed to the folder; only the system refused it.
                keepOldFolder();
                return;
            }
        }

        Settings confirmed = settings_;
        confirmed.FilePath = folder;
        confirmed.ConnectMarked = chkConnMark->isChecked();
        confirmed.PolyFit = *degree;
        confirmed.DefaultSigma = *sigma;
        const auto& colors = ColorSettings();
        for (size_t i = 0; i < kColorCount; ++i)
            confirmed.*colors[i].member = ButtonColor(colorButtons_[i]);
        confirmed.IniMissing = false;
        // The live settings change only once the file holds them, so a failed write leaves
        // the program and the file in step.
        WriteSettings(programDir_, confirmed);
        settings_ = confirmed;
        accept();
    } catch (const std::exception& e) {
        prompts_.message(ModuleErrorText(DisplayText(e.what()), QStringLiteral("cmdEnter_Click")),
                         QStringLiteral("Error"), Buttons::OK, Icon::None);
    }
}

void frmConfig::cmdCancel_Click() {
    reject();
}

void frmConfig::done(int result) {
    // Cancel, Escape and the close button alike: the colours picked since the dialog opened
    // go, and the settings are those of the file again.
    if (result != QDialog::Accepted) ReadSettings(programDir_, settings_);
    endProgramRequested_ = settings_.IniMissing;
    QDialog::done(result);
}

void frmConfig::cmdReset_Click() {
    for (const auto& color : ColorSettings()) settings_.*color.member = color.defaultColor;
    Form_Activate();
    update();
}

void frmConfig::cmdBrowse_Click() {
    frmBrowse browser(settings_, programDir_, prompts_, txtFilePath, this);
    browser.exec();
    Form_Activate();
}

void frmConfig::ColorButtonClick(size_t index) {
    const std::optional<int32_t> chosen = prompts_.chooseColor();
    if (!chosen) return;
    settings_.*ColorSettings()[index].member = *chosen;
    SetButtonColor(colorButtons_[index], *chosen);
}

void frmConfig::cmdVIS_Click() {
    ColorButtonClick(0);
}
void frmConfig::cmdFAINT_Click() {
    ColorButtonClick(1);
}
void frmConfig::cmdDISC_Click() {
    ColorButtonClick(2);
}
void frmConfig::cmdNA_Click() {
    ColorButtonClick(3);
}
void frmConfig::cmdCR_Click() {
    ColorButtonClick(4);
}
void frmConfig::cmdU_Click() {
    ColorButtonClick(5);
}
void frmConfig::cmdV_Click() {
    ColorButtonClick(6);
}
void frmConfig::cmdB_Click() {
    ColorButtonClick(7);
}
void frmConfig::cmdR_Click() {
    ColorButtonClick(8);
}
void frmConfig::cmdI_Click() {
    ColorButtonClick(9);
}
void frmConfig::cmdCV_Click() {
    ColorButtonClick(10);
}
void frmConfig::cmdJ_Click() {
    ColorButtonClick(11);
}
void frmConfig::cmdH_Click() {
    ColorButtonClick(12);
}

void frmConfig::txtFilePath_GotFocus() {
    txtFilePath->setSelection(0, kPathSelection);
}
void frmConfig::txtPolyFit_GotFocus() {
    txtPolyFit->setSelection(0, kNumberSelection);
}
void frmConfig::txtSigma_GotFocus() {
    txtSigma->setSelection(0, kNumberSelection);
}

bool frmConfig::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPolyFit && event->type() == QEvent::KeyPress)
        return txtPolyFit_KeyPress(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool frmConfig::txtPolyFit_KeyPress(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdEnter_Click();
        return true;
    }
    const QString text = event->text();
    // Keys that type no character (arrows, Delete, Tab, shortcuts) are not characters
    // of the field and keep their usual meaning.
    if (event->key() == Qt::Key_Backspace || text.isEmpty() || !text.at(0).isPrint()) return false;
    if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
        return false;
    prompts_.message(QStringLiteral("  Invalid Character! "), QStringLiteral("Sabrix"), Buttons::OK,
                     Icon::Critical);
    return true;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/frmAbout.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QVBoxLayout>

#include "ui/core/QtResources.h"
#include "shell/AboutText.h"

namespace sabrix {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    LoadResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Sabrix"));
    setModal(true);

    picLogo = new QLabel(this);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setPixmap(QPixmap(QStringLiteral(":/images/logo.png")));
    picLogo->setAlignment(Qt::AlignCenter);
    picLogo->setMinimumSize(picLogo->pixmap().size());

    Label1 = new QLabel(QStringLiteral("Sabrix"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("Arial"), 20, QFont::Bold);
    Label1->setFont(titleFont);
    Label1->setStyleSheet(QStringLiteral("color: #0000c0;"));
    Label1->setAlignment(Qt::AlignCenter);

    Label2 = new QLabel(QStringLiteral("Plots Variable Star Observations"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(QFont(QStringLiteral("Arial"), 12));
    Label2->setStyleSheet(QStringLiteral("color: #0000c0;"));
    Label2->setAlignment(Qt::AlignCenter);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignCenter);

    lblCopyright = new QLabel(this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    lblCopyright->setAlignment(Qt::AlignCenter);
    lblCopyright->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(10);
    for (QLabel* label : {picLogo, Label1, Label2, Label3, lblCopyright}) {
        layout->addWidget(label);
        label->installEventFilter(this);
    }
    // The texts are filled again on every activation; filling them now gives the box the
    // size they need.
    Form_Activate();
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Form_Activate();
}

void frmAbout::Form_Activate() {
    lblCopyright->setText(CopyrightText() + QLatin1Char('\n') + LicenceText());
    Label3->setText(AboutVersionText());
}

void frmAbout::Form_Click() {
    close();
}
void frmAbout::Label1_Click() {
    close();
}
void frmAbout::Label2_Click() {
    close();
}
void frmAbout::Label3_Click() {
    close();
}
void frmAbout::lblCopyright_Click() {
    close();
}

void frmAbout::mouseReleaseEvent(QMouseEvent* event) {
    QDialog::mouseReleaseEvent(event);
    Form_Click();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return QDialog::eventFilter(watched, event);
    if (watched == Label1) {
        Label1_Click();
    } else if (watched == Label2) {
        Label2_Click();
    } else if (watched == Label3) {
        Label3_Click();
    } else if (watched == lblCopyright) {
        lblCopyright_Click();
    } else {
        Form_Click();  // the logo belongs to the background
    }
    return true;
}

}  // namespace sabrix

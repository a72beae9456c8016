// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QSpinBox>

#include "ui/dialogs/QtImageExportDialog.h"
#include "support/ModalDialog.h"

namespace sabrix {
namespace {

TEST(QtImageExportDialog, IsWideEnoughForItsWholeTitleAndReturnsTheChoice) {
    int shownWidth = 0;
    int titleWidth = 0;
    QWidget parent;
    std::optional<ImageExportChoice> choice;
    test::WithModalDialog<QDialog>(
        [&] {
            choice = QtImageExportDialog(&parent).ask({800, 600, PlotImageFormat::Png});
        },
        [&](QDialog& dialog) {
            QFont bold = dialog.font();
            bold.setBold(true);
            titleWidth = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle());
            shownWidth = dialog.width();
            dialog.findChild<QSpinBox*>(QStringLiteral("txtHeight"))->setValue(480);
            auto* format = dialog.findChild<QComboBox*>(QStringLiteral("cboFormat"));
            format->setCurrentIndex(format->findData(static_cast<int>(PlotImageFormat::Pdf)));
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
    EXPECT_EQ(choice, (ImageExportChoice{800, 480, PlotImageFormat::Pdf}));
    // The title bar's icon and three buttons beside the bold title: a dialog as narrow as its
    // form showed "Export...Image".
    EXPECT_GT(titleWidth, 0);
    EXPECT_GE(shownWidth, titleWidth + 120);
}

}  // namespace
}  // namespace sabrix

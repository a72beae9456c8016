#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "dialogs/QtImageExportDialog.h"

namespace sabrix {
namespace {

TEST(QtImageExportDialog, IsWideEnoughForItsWholeTitleAndReturnsTheChoice) {
    int shownWidth = 0;
    int titleWidth = 0;
    // Acts once the dialog is up; a dialog that never comes up, or is still open after ten
    // seconds, is closed so that the test fails instead of waiting.
    const auto act = [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return false;
        QFont bold = dialog->font();
        bold.setBold(true);
        titleWidth = QFontMetrics(bold).horizontalAdvance(dialog->windowTitle());
        shownWidth = dialog->width();
        dialog->findChild<QSpinBox*>(QStringLiteral("txtHeight"))->setValue(480);
        auto* format = dialog->findChild<QComboBox*>(QStringLiteral("cboFormat"));
        format->setCurrentIndex(format->findData(static_cast<int>(PlotImageFormat::Pdf)));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return true;
    };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (act()) poll.stop();
    });
    poll.start(10);
    QTimer guard;  // stops with the test, so it never touches another test's dialog
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    });
    guard.start(10000);
    QWidget parent;
    const std::optional<ImageExportChoice> choice =
        QtImageExportDialog(&parent).ask({800, 600, PlotImageFormat::Png});
    EXPECT_EQ(choice, (ImageExportChoice{800, 480, PlotImageFormat::Pdf}));
    // The title bar's icon and three buttons beside the bold title: a dialog as narrow as its
    // form showed "Export...Image".
    EXPECT_GT(titleWidth, 0);
    EXPECT_GE(shownWidth, titleWidth + 120);
}

}  // namespace
}  // namespace sabrix

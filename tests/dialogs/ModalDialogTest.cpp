// SPDX-License-Identifier: GPL-3.0-or-later
// The helper the tests use on modal dialogs fails a test without leaving it waiting.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <string>

#include "support/ModalDialog.h"

namespace sabrix {
namespace {

// Each opens a dialog and waits for it, as a command would; gtest's failure checks take no
// local variables, hence the functions.
void AnAssertionFailsInside() {
    QDialog dialog;
    test::WithModalDialog<QDialog>([&] { dialog.exec(); },
                                   [](QDialog&) { ASSERT_TRUE(false) << "failed inside"; });
}

void TheDialogIsLeftOpen() {
    QDialog dialog;
    test::WithModalDialog<QDialog>([&] { dialog.exec(); }, [](QDialog&) {});
}

// A plain dialog where a message box was awaited, then the box, then another dialog.
void OtherDialogsOpen() {
    QDialog first, last;
    QMessageBox box;
    test::WithModalDialog<QMessageBox>(
        [&] {
            first.exec();
            box.exec();
            last.exec();
        },
        [](QMessageBox& b) { b.accept(); });
}

void NoDialogOpens() {
    test::WithModalDialog<QDialog>([] {}, [](QDialog& d) { d.accept(); });
}

TEST(WithModalDialog, FailsTheTestAndClosesTheDialogWhateverGoesWrong) {
    EXPECT_FATAL_FAILURE(AnAssertionFailsInside(), "failed inside");
    EXPECT_NONFATAL_FAILURE(TheDialogIsLeftOpen(), "still open after the test's actions");
    EXPECT_NONFATAL_FAILURE(NoDialogOpens(), "No modal QDialog opened");
    {
        testing::TestPartResultArray failures;
        {
            testing::ScopedFakeTestPartResultReporter catcher(&failures);
            OtherDialogsOpen();
        }
        ASSERT_EQ(failures.size(), 2);
        const std::string waited = failures.GetTestPartResult(0).message();
        const std::string done = failures.GetTestPartResult(1).message();
        EXPECT_NE(waited.find("QDialog opened; the test waited for a QMessageBox"), waited.npos);
        EXPECT_NE(done.find("QDialog opened; the test was done with its QMessageBox"), done.npos);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace sabrix

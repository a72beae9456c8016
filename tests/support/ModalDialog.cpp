// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ModalDialog.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace sabrix::test {

namespace {

void CloseModal(QWidget* widget) {
    const QPointer<QWidget> modal(widget);
    if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->reject();
    // A dialog whose reject keeps it open still leaves its event loop when hidden.
    if (modal && modal->isVisible()) modal->hide();
}

// Runs act and reports what it reported; returns whether that included a failure.
bool ActAndTell(const std::function<void(QWidget*)>& act, QWidget* dialog) {
    testing::TestPartResultArray reported;
    {
        testing::ScopedFakeTestPartResultReporter catcher(
            testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &reported);
        act(dialog);
    }
    bool failed = false;
    for (int i = 0; i < reported.size(); ++i) {
        const testing::TestPartResult& result = reported.GetTestPartResult(i);
        failed = failed || result.failed();
        GTEST_MESSAGE_AT_(result.file_name(), result.line_number(), result.message(),
                          result.type());
    }
    return failed;
}

}  // namespace

void WithModalWidget(const std::function<void()>& open, const char* wantedClass,
                     const std::function<bool(QWidget*)>& isWanted,
                     const std::function<void(QWidget*)>& act) {
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    bool acted = false;
    QPointer<QWidget> actedOn;
    QTimer poll;
    poll.setInterval(5);
    // Polls all the while open() runs: after the dialog, any other modal window that would
    // wait for nobody is closed too.
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* active = QApplication::activeModalWidget();
        if (!active || active == before || active == actedOn) return;
        if (acted || !isWanted(active)) {
            ADD_FAILURE() << "A modal " << active->metaObject()->className() << " opened; the test "
                          << (acted ? "was done with its " : "waited for a ") << wantedClass << ".";
            CloseModal(active);
            return;
        }
        acted = true;
        actedOn = active;
        // What act reports passes through here, so a failed assertion (which returns from
        // act) is told from a dialog act simply left open.
        const bool actFailed = ActAndTell(act, active);
        if (!actedOn || !actedOn->isVisible()) return;
        if (!actFailed)
            ADD_FAILURE() << "The " << wantedClass << " was still open after the test's actions.";
        CloseModal(actedOn);
    });
    poll.start();
    open();
    poll.stop();
    if (!acted) ADD_FAILURE() << "No modal " << wantedClass << " opened.";
}

}  // namespace sabrix::test

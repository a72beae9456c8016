// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' hand on a modal dialog: code under test opens the dialog and waits in its event
// loop (exec()); the test acts on the dialog meanwhile. Whatever happens inside, the dialog is
// closed afterwards, so a failing test fails instead of waiting for a dialog nobody closes.
#pragma once

#include <QWidget>
#include <functional>

namespace sabrix::test {

// Runs open(), which opens a modal dialog and waits for it, and act(dialog) as soon as a
// Dialog is the active modal window (a modal window open already when this is called, such
// as a parent dialog, is not it). An assertion that fails inside act ends act; either way the
// dialog is then rejected if it is still open, so open() returns and the test goes on to its
// end. The test fails when act fails, when act leaves the dialog open, when no Dialog opens
// while open() runs, and when a modal window of another kind opens (it is rejected unacted).
template <class Dialog, class Open, class Act>
void WithModalDialog(Open&& open, Act&& act);

// The same for any widget class: isWanted tells the dialog, act gets it.
void WithModalWidget(const std::function<void()>& open, const char* wantedClass,
                     const std::function<bool(QWidget*)>& isWanted,
                     const std::function<void(QWidget*)>& act);

template <class Dialog, class Open, class Act>
void WithModalDialog(Open&& open, Act&& act) {
    WithModalWidget(
        open, Dialog::staticMetaObject.className(),
        [](QWidget* widget) { return qobject_cast<Dialog*>(widget) != nullptr; },
        [&](QWidget* widget) { act(*qobject_cast<Dialog*>(widget)); });
}

}  // namespace sabrix::test

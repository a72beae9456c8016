// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "support/ModalDialog.h"
#include "ui/app/QtPrompts.h"

namespace sabrix {
namespace {

// Runs one message box and lets act() handle it once it is on the screen.
Answer AskAndAct(Buttons buttons, Icon icon, const std::function<void(QMessageBox*)>& act,
                 std::optional<Answer> dismissed = std::nullopt) {
    Answer answer{};
    test::WithModalDialog<QMessageBox>(
        [&] {
            answer =
                QtPrompts().message("Question text", "Question Title", buttons, icon, dismissed);
        },
        [&](QMessageBox& box) { act(&box); });
    return answer;
}

TEST(QtPrompts, ClosingABoxGivesItsSafeAnswerAndYesIsTheDefault) {
    const auto close = [](QMessageBox* box) { box->close(); };
    EXPECT_EQ(AskAndAct(Buttons::YesNo, Icon::None, close), Answer::No);
    EXPECT_EQ(AskAndAct(Buttons::YesNoCancel, Icon::None, close), Answer::Cancel);
    EXPECT_EQ(AskAndAct(Buttons::OKCancel, Icon::Question, close), Answer::Cancel);
    EXPECT_EQ(AskAndAct(Buttons::OK, Icon::Critical, close), Answer::OK);
    // A question whose No would lose work can make Escape and the close box mean Yes.
    EXPECT_EQ(AskAndAct(Buttons::YesNo, Icon::None, close, Answer::Yes), Answer::Yes);
    EXPECT_EQ(AskAndAct(
                  Buttons::YesNo, Icon::None,
                  [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, Answer::Yes),
              Answer::Yes);
    EXPECT_EQ(AskAndAct(Buttons::YesNo, Icon::Question,
                        [](QMessageBox* box) { box->defaultButton()->click(); }),
              Answer::Yes);
}

TEST(QtPrompts, ShowsExactlyTheAskedButtonsIconTitleAndText) {
    QList<int> seen;
    std::tuple<QMessageBox::Icon, QString, QString> shown;
    const Answer answer = AskAndAct(Buttons::YesNoCancel, Icon::Exclamation, [&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons()) seen << box->standardButton(b);
        shown = {box->icon(), box->windowTitle(), box->text()};
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(answer, Answer::No);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (QList<int>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}));
    EXPECT_EQ(shown, std::make_tuple(QMessageBox::Warning, QString("Question Title"),
                                     QString("Question text")));
}

}  // namespace
}  // namespace sabrix

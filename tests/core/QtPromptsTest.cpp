#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "core/QtPrompts.h"

namespace sabrix {
namespace {

// Runs one message box and lets act() handle it once it is on the screen.
Answer AskAndAct(Buttons buttons, Icon icon, const std::function<void(QMessageBox*)>& act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(box);
    });
    QtPrompts prompts;
    return prompts.message("Question text", "Question Title", buttons, icon);
}

TEST(QtPrompts, ClosingAYesNoBoxAnswersNo) {
    EXPECT_EQ(AskAndAct(Buttons::YesNo, Icon::None, [](QMessageBox* box) { box->close(); }),
              Answer::No);
}

TEST(QtPrompts, ClosingOtherBoxesGivesTheirSafeAnswer) {
    EXPECT_EQ(AskAndAct(Buttons::YesNoCancel, Icon::None, [](QMessageBox* box) { box->close(); }),
              Answer::Cancel);
    EXPECT_EQ(AskAndAct(Buttons::OKCancel, Icon::Question, [](QMessageBox* box) { box->close(); }),
              Answer::Cancel);
    EXPECT_EQ(AskAndAct(Buttons::OK, Icon::Critical, [](QMessageBox* box) { box->close(); }),
              Answer::OK);
}

TEST(QtPrompts, ShowsExactlyTheAskedButtonsIconTitleAndText) {
    QStringList seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    const Answer answer = AskAndAct(Buttons::YesNoCancel, Icon::Exclamation, [&](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons()) seen << QString::number(box->standardButton(b));
        icon = box->icon();
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(answer, Answer::No);
    EXPECT_EQ(seen.size(), 3);
    EXPECT_TRUE(seen.contains(QString::number(QMessageBox::Yes)));
    EXPECT_TRUE(seen.contains(QString::number(QMessageBox::Cancel)));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(title, QString("Question Title"));
    EXPECT_EQ(text, QString("Question text"));
}

TEST(QtPrompts, YesIsTheDefaultButton) {
    EXPECT_EQ(AskAndAct(Buttons::YesNo, Icon::Question,
                        [](QMessageBox* box) { box->defaultButton()->click(); }),
              Answer::Yes);
}

}  // namespace
}  // namespace sabrix

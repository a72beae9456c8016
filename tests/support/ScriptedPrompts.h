// SPDX-License-Identifier: GPL-3.0-or-later
// A Prompts implementation for tests: records every message and dialog, answers from a
// queue, and fails the test on a question that nobody scripted.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "core/Prompts.h"

namespace sabrix::test {

struct RecordedMessage {
    QString text;
    QString title;
    Buttons buttons;
    Icon icon;
    bool operator==(const RecordedMessage&) const = default;
};
void PrintTo(const RecordedMessage& m, std::ostream* os);

// A question for a line of text: its explanation, title and the text offered.
struct RecordedInput {
    QString text;
    QString title;
    QString proposed;
    bool operator==(const RecordedInput&) const = default;
};

class ScriptedPrompts : public Prompts {
  public:
    // Queue an answer for the next message box that offers a choice.
    void answer(Answer a) { answers_.push_back(a); }
    // Queue closing the next such box without a button (Escape or its close box).
    void dismiss() { answers_.push_back(std::nullopt); }
    // Queue the result of the next open, save or folder dialog (nothing = cancel).
    void file(std::optional<QString> path) { files_.push_back(std::move(path)); }
    void color(std::optional<int32_t> packed) { colors_.push_back(packed); }
    // Queue the text typed into the next question for a line of text (nothing = cancel).
    void text(std::optional<QString> typed) { texts_.push_back(std::move(typed)); }

    std::optional<QString> openFile(const FileDialogOptions& options) override;
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    std::optional<int32_t> chooseColor() override;
    std::optional<QString> chooseFolder(const QString& startFolder) override;
    std::optional<QString> inputText(const QString& text, const QString& title,
                                     const QString& proposed) override;

    std::vector<RecordedMessage> messages;
    // Called with every message as it is shown, before it is answered: lets a test see the
    // window as the user sees it behind the box.
    std::function<void(const RecordedMessage&)> onMessage;
    std::vector<FileDialogOptions> fileDialogs;
    // Called with every open, save or folder dialog as it is shown, before it is answered.
    std::function<void()> onFileDialog;
    std::vector<RecordedInput> inputs;
    // Called with every question for text as it is asked.
    std::function<void(const RecordedInput&)> onInput;
    // Answers and dialog results not yet used.
    size_t pending() const {
        return answers_.size() + files_.size() + colors_.size() + texts_.size();
    }

  protected:
    Answer showMessage(const QString& text, const QString& title, Buttons buttons, Icon icon,
                       std::optional<Answer> dismissed) override;

  private:
    std::optional<QString> takeFile(const char* dialog);
    std::deque<std::optional<Answer>> answers_;
    std::deque<std::optional<QString>> files_;
    std::deque<std::optional<int32_t>> colors_;
    std::deque<std::optional<QString>> texts_;
};

}  // namespace sabrix::test

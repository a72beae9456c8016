// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace sabrix::test {

void PrintTo(const RecordedMessage& m, std::ostream* os) {
    *os << "{\"" << m.text.toStdString() << "\", \"" << m.title.toStdString() << "\", buttons "
        << static_cast<int>(m.buttons) << ", icon " << static_cast<int>(m.icon) << "}";
}

std::optional<QString> ScriptedPrompts::takeFile(const char* dialog) {
    if (onFileDialog) onFileDialog();
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted " << dialog << " dialog";
        return std::nullopt;
    }
    // Copied out as a plain QString: moving the optional itself trips a false warning of g++.
    const bool chosen = files_.front().has_value();
    const QString path = chosen ? *files_.front() : QString();
    files_.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

Answer ScriptedPrompts::showMessage(const QString& text, const QString& title, Buttons buttons,
                                    Icon icon, std::optional<Answer> dismissed) {
    messages.push_back({text, title, buttons, icon});
    if (onMessage) onMessage(messages.back());
    if (buttons == Buttons::OK) return Answer::OK;
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << title.toStdString() << ": "
                      << text.toStdString();
        return DismissedAnswer(buttons, std::nullopt);
    }
    const std::optional<Answer> a = answers_.front();
    answers_.pop_front();
    return a ? *a : DismissedAnswer(buttons, dismissed);
}

std::optional<QString> ScriptedPrompts::openFile(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    return takeFile("open");
}

std::optional<QString> ScriptedPrompts::saveFile(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    return takeFile("save");
}

std::optional<int32_t> ScriptedPrompts::chooseColor() {
    if (colors_.empty()) {
        ADD_FAILURE() << "unscripted colour dialog";
        return std::nullopt;
    }
    auto c = colors_.front();
    colors_.pop_front();
    return c;
}

std::optional<QString> ScriptedPrompts::chooseFolder(const QString& startFolder) {
    FileDialogOptions options;
    options.initialFolder = startFolder;
    fileDialogs.push_back(options);
    return takeFile("folder");
}

std::optional<QString> ScriptedPrompts::inputText(const QString& text, const QString& title,
                                                  const QString& proposed) {
    inputs.push_back({text, title, proposed});
    if (onInput) onInput(inputs.back());
    if (texts_.empty()) {
        ADD_FAILURE() << "unscripted question for text: " << title.toStdString();
        return std::nullopt;
    }
    const bool typed = texts_.front().has_value();
    const QString value = typed ? *texts_.front() : QString();
    texts_.pop_front();
    if (!typed) return std::nullopt;
    return value;
}

}  // namespace sabrix::test

#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace sabrix::test {

std::optional<QString> ScriptedPrompts::takeFile() {
    const bool chosen = files_.front().has_value();
    const QString path = chosen ? *files_.front() : QString();
    files_.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

Answer ScriptedPrompts::message(const QString& text, const QString& title, Buttons buttons,
                                Icon icon) {
    messages.push_back({text, title, buttons, icon});
    if (onMessage) onMessage(messages.back());
    if (buttons == Buttons::OK) return Answer::OK;
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << title.toStdString() << ": "
                      << text.toStdString();
        return buttons == Buttons::OKCancel ? Answer::Cancel : Answer::No;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompts::openFile(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted open dialog";
        return std::nullopt;
    }
    return takeFile();
}

std::optional<QString> ScriptedPrompts::saveFile(const FileDialogOptions& options) {
    fileDialogs.push_back(options);
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted save dialog";
        return std::nullopt;
    }
    return takeFile();
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
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted folder dialog";
        return std::nullopt;
    }
    return takeFile();
}

}  // namespace sabrix::test

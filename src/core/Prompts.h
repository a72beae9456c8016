// SPDX-License-Identifier: GPL-3.0-or-later
// The one door to modal questions and dialogs. Windows and commands ask through it, so tests
// can answer from a script. Texts, titles, buttons and icons are exactly the program's own.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace sabrix {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Critical, Exclamation, Information, Question };
enum class Answer { OK, Cancel, Yes, No };

// Options of an open or save dialog. The filter is given in the pipe form
// "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|"; implementations translate it.
struct FileDialogOptions {
    QString title;
    QString fileName;
    QString filter;
    QString initialFolder;
    // A save dialog asks before it returns the name of a file that exists already.
    bool confirmOverwrite = false;
};

class Prompts {
  public:
    virtual ~Prompts() = default;
    // Shows a message box and returns the button pressed. Closing it without a button (Escape,
    // its close box) answers `dismissed` when given, else the box's safe answer (see below).
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   std::optional<Answer> dismissed = std::nullopt) {
        return showMessage(text, title, buttons, icon, dismissed);
    }
    // Returns the chosen path, or nothing when the user cancels.
    virtual std::optional<QString> openFile(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> saveFile(const FileDialogOptions& options) = 0;
    // Returns the chosen colour packed red + 256 * green + 65536 * blue, or nothing on cancel.
    virtual std::optional<int32_t> chooseColor() = 0;
    // Returns the chosen folder, or nothing on cancel.
    virtual std::optional<QString> chooseFolder(const QString& startFolder) = 0;
    // Asks for one line of text under the explanation, offering proposed. Returns the text
    // typed; nothing when the user cancels.
    virtual std::optional<QString> inputText(const QString& text, const QString& title,
                                             const QString& proposed) = 0;

  protected:
    virtual Answer showMessage(const QString& text, const QString& title, Buttons buttons,
                               Icon icon, std::optional<Answer> dismissed) = 0;
};

// The answer of a box closed without a button: `dismissed` when given, else Cancel when the
// box offers it, No for Yes/No, OK for an OK-only box.
inline Answer DismissedAnswer(Buttons buttons, std::optional<Answer> dismissed) {
    if (dismissed) return *dismissed;
    switch (buttons) {
        case Buttons::OK:
            return Answer::OK;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::OKCancel:
        case Buttons::YesNoCancel:
            break;
    }
    return Answer::Cancel;
}

}  // namespace sabrix

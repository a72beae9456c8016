// SPDX-License-Identifier: GPL-3.0-or-later
// The program's questions and dialogs on the desktop: message boxes, open and save dialogs,
// the colour dialog and a folder chooser, all modal over the active window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/Prompts.h"

namespace sabrix {

class QtPrompts : public Prompts {
  public:
    // Dialogs open over parent, or over the active window when parent is null or gone.
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    // Returns the chosen path, or nothing on cancel.
    std::optional<QString> openFile(const FileDialogOptions& options) override;
    // Returns the chosen path, or nothing on cancel. Asks before naming an existing file only
    // when the options say so: a caller that appends to a file decides that itself.
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    // Returns the packed colour, or nothing on cancel.
    std::optional<int32_t> chooseColor() override;
    // Returns the chosen folder, or nothing on cancel.
    std::optional<QString> chooseFolder(const QString& startFolder) override;
    std::optional<QString> inputText(const QString& text, const QString& title,
                                     const QString& proposed) override;

  protected:
    // Returns the button pressed; Escape and the close box give DismissedAnswer.
    Answer showMessage(const QString& text, const QString& title, Buttons buttons, Icon icon,
                       std::optional<Answer> dismissed) override;

  private:
    QWidget* parentWidget() const;
    QPointer<QWidget> parent_;
};

}  // namespace sabrix

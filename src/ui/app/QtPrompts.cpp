// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "core/FileFilter.h"
#include "plot/Canvas.h"

namespace sabrix {

namespace {

QMessageBox::Icon ToQtIcon(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString StartPath(const FileDialogOptions& options) {
    if (options.initialFolder.isEmpty()) return options.fileName;
    if (options.fileName.isEmpty()) return options.initialFolder;
    return QDir(options.initialFolder).filePath(options.fileName);
}

std::optional<Answer> AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return Answer::OK;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return std::nullopt;
    }
}

std::optional<QString> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace

QWidget* QtPrompts::parentWidget() const {
    if (parent_ && parent_->isVisible()) return parent_;
    return QApplication::activeWindow();
}

Answer QtPrompts::showMessage(const QString& text, const QString& title, Buttons buttons, Icon icon,
                              std::optional<Answer> dismissed) {
    QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::NoButton, parentWidget());
    QPushButton* first = nullptr;
    switch (buttons) {
        case Buttons::OK:
            first = box.addButton(QMessageBox::Ok);
            break;
        case Buttons::OKCancel:
            first = box.addButton(QMessageBox::Ok);
            box.addButton(QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            first = box.addButton(QMessageBox::Yes);
            box.addButton(QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            first = box.addButton(QMessageBox::Yes);
            box.addButton(QMessageBox::No);
            box.addButton(QMessageBox::Cancel);
            break;
    }
    box.setDefaultButton(first);
    // Escape and the close box press the button of the dismissed answer.
    const Answer onDismiss = DismissedAnswer(buttons, dismissed);
    for (QAbstractButton* b : box.buttons())
        if (AnswerOf(box.standardButton(b)) == onDismiss) box.setEscapeButton(b);
    box.exec();
    if (const std::optional<Answer> answer = AnswerOf(box.standardButton(box.clickedButton())))
        return *answer;
    return onDismiss;
}

std::optional<QString> QtPrompts::openFile(const FileDialogOptions& options) {
    const QString filters = TranslateFileFilter(options.filter).join(QStringLiteral(";;"));
    return Chosen(
        QFileDialog::getOpenFileName(parentWidget(), options.title, StartPath(options), filters));
}

std::optional<QString> QtPrompts::saveFile(const FileDialogOptions& options) {
    const QString filters = TranslateFileFilter(options.filter).join(QStringLiteral(";;"));
    const QFileDialog::Options dialogOptions =
        options.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return Chosen(QFileDialog::getSaveFileName(parentWidget(), options.title, StartPath(options),
                                               filters, nullptr, dialogOptions));
}

std::optional<int32_t> QtPrompts::chooseColor() {
    const QColor color = QColorDialog::getColor(Qt::white, parentWidget());
    if (!color.isValid()) return std::nullopt;
    return FromQColor(color);
}

std::optional<QString> QtPrompts::chooseFolder(const QString& startFolder) {
    return Chosen(QFileDialog::getExistingDirectory(parentWidget(), QString(), startFolder));
}

std::optional<QString> QtPrompts::inputText(const QString& text, const QString& title,
                                            const QString& proposed) {
    bool ok = false;
    const QString typed =
        QInputDialog::getText(parentWidget(), title, text, QLineEdit::Normal, proposed, &ok);
    if (!ok) return std::nullopt;
    return typed;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The stats window: a plain text surface beside the main window into which the plot prints
// the figures of the current view.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>

namespace sabrix {

class frmStats : public QWidget {
    Q_OBJECT

  public:
    explicit frmStats(QWidget* parent = nullptr);

    // Empties the window.
    void clear();
    // Prints one line of text below what is there.
    void printLine(const QString& text);
    // The text shown, lines separated by "\n".
    QString text() const;

    QPlainTextEdit* txtStats;

  signals:
    // The window is closing (by its close box or by the program).
    void unloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace sabrix

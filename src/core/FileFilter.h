// SPDX-License-Identifier: GPL-3.0-or-later
// Translates the file-type filters of the program's open and save dialogs from the pipe
// form "Description|patterns|Description|patterns|" into the form that Qt's file dialogs
// take.
#pragma once

#include <QString>
#include <QStringList>

namespace sabrix {

// "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|" -> {"All Files (*)", "Text Files (*.txt)"}.
// "*.*" matches every file (also names without a dot); patterns separated by ";" become
// blank-separated. A description that ends in its own "(...)" keeps only the words before
// it. An empty filter or a description without patterns gives {"All Files (*)"}.
QStringList TranslateFileFilter(const QString& pipeFilter);

}  // namespace sabrix

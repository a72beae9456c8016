// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the program's failure messages.
#pragma once

#include <QString>

namespace sabrix {

// "Error " + description in double quotes + " encountered in module " + module + "."
inline QString ModuleErrorText(const QString& description, const QString& module) {
    return QStringLiteral("Error \"") + description + QStringLiteral("\" encountered in module ") +
           module + QStringLiteral(".");
}

// The message of a load that failed: "Error in loading database. Check source file.", followed
// by a line break and the detail when there is one.
inline QString LoadFailureText(const QString& detail = QString()) {
    QString text = QStringLiteral("Error in loading database. Check source file.");
    if (!detail.isEmpty()) text += QStringLiteral("\r\n") + detail;
    return text;
}

// Turns bytes of a file or of the table into display text: UTF-8 when valid, else Latin-1.
QString DisplayText(const std::string& bytes);

// The local 8-bit form (UTF-8 on this platform) of a path chosen in a dialog.
std::string PathBytes(const QString& path);

}  // namespace sabrix

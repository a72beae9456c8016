// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/AboutText.h"

namespace sabrix {

QString VersionNumberText() {
    return QString::number(SABRIX_VERSION_MAJOR) + QLatin1Char('.') +
           QString::number(SABRIX_VERSION_MINOR) + QLatin1Char('.') +
           QString::number(SABRIX_VERSION_PATCH);
}

QString AboutVersionText() {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Sabrix Version ") + VersionNumberText() + crlf + crlf +
           QStringLiteral("Written by the Sabrix developers.") + crlf + crlf +
           QStringLiteral("Thanks to every observer whose estimates make a light curve.");
}

QString LicenceText() {
    return QStringLiteral(
        "Free software under the GNU General Public License, version 3 or later; "
        "it comes with no warranty.");
}

QString CopyrightText() {
    return QChar(169) + QStringLiteral(" 2026 The Sabrix developers");
}

}  // namespace sabrix

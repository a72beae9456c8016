// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell/QtDesktopOpener.h"

#include <QDesktopServices>
#include <QStandardPaths>
#include <QtGlobal>

namespace sabrix {

DesktopOpener::Result QtDesktopOpener::open(const QUrl& url) {
    if (QDesktopServices::openUrl(url)) return Result::Opened;
    // QDesktopServices says only yes or no; what it needed and did not find tells the two
    // failures apart.
    const bool web =
        url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    const bool launcher = !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() ||
                          (web && !qEnvironmentVariableIsEmpty("BROWSER"));
    return launcher ? Result::Failed : Result::NoHandler;
}

}  // namespace sabrix

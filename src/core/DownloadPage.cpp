// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DownloadPage.h"

#include <QtGlobal>

#ifndef SABRIX_DOWNLOAD_URL
#error "SABRIX_DOWNLOAD_URL is set by the build"
#endif

namespace sabrix {

QString BuiltDownloadPageAddress() {
    return QStringLiteral(SABRIX_DOWNLOAD_URL);
}

QString DownloadPageAddress() {
    const QString given = qEnvironmentVariable("SABRIX_DOWNLOAD_URL").trimmed();
    return given.isEmpty() ? BuiltDownloadPageAddress() : given;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// The address of the data-download web page that "Download Data File (WWW)" opens.
#pragma once

#include <QString>

namespace sabrix {

// The environment variable SABRIX_DOWNLOAD_URL when it is set and not empty, else the address
// the program was built with (the CMake cache variable SABRIX_DOWNLOAD_URL).
QString DownloadPageAddress();

// The address the program was built with.
QString BuiltDownloadPageAddress();

}  // namespace sabrix

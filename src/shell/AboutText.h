// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the about box and of the start-up display's credit line.
#pragma once

#include <QString>

namespace sabrix {

// "Sabrix Version " + major.minor.patch of the program, each part a plain integer, then
// CR LF twice, the author line, CR LF twice and the credit line.
QString AboutVersionText();
// The copyright sign, the years and the makers: "© 2026 The Sabrix developers".
QString CopyrightText();
// The licence in one line: the GNU General Public License, version 3 or later.
QString LicenceText();
// "major.minor.patch" of this build, e.g. "1.0.0".
QString VersionNumberText();

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// What the tooltip over a point of the plot says about its observation: the JD and its UTC
// date, the magnitude with its "<" and uncertainty, the band, the observer, the comment codes
// and the comments. A field the row leaves empty gets no line (the band says "(no band)").
#pragma once

#include <QString>

#include "data/ObsRow.h"

namespace sabrix {

// The tooltip's text for the row, its lines separated by "\n"; its JD is shown with
// timeOffset added, as the JD scale shows the reduced times of a three-column file. Never
// fails.
QString PointDetailsText(const ObsRow& row, double timeOffset);

}  // namespace sabrix

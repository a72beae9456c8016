// What the tooltip over a point of the plot says about its observation: the JD and its UTC
// date, the magnitude with its "<" and uncertainty, the band, the observer, the comment codes
// and the comments. A field the row leaves empty gets no line (the band says "(no band)").
#pragma once

#include <QString>

#include "data/ObsRow.h"

namespace sabrix {

// The tooltip's text for the row, its lines separated by "\n". Never fails.
QString PointDetailsText(const ObsRow& row);

}  // namespace sabrix

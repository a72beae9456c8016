// SPDX-License-Identifier: GPL-3.0-or-later
// The observer markings of the loaded star, as the plot joins them with lines: the markings
// are numbered from 1 in the order the observers were marked, and each marked row has one
// MarkList entry of marking number, JD, magnitude and colour, all as text, e.g. {"1",
// "2454123.5", "9.1", "16711680"}. The rows themselves carry the number in Marked and the
// colour in PunktFarb; MarkObs and UnMarkObs (interaction/ObserverMarking.h) keep the two in
// step.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sabrix {

// One entry of MarkList: marking number, JD, magnitude, colour (all as text).
using MarkEntry = std::array<std::string, 4>;

struct ObserverMarks {
    // At least one observer is marked (and not all markings taken away since).
    bool ObserverMarked = false;
    std::vector<MarkEntry> MarkList;
    // The number of the last marking; the next one gets MarkCount + 1.
    int16_t MarkCount = 0;
    // The observer code, number and colour of each marking, in the order they were made:
    // what a row of that observer joins when it comes back into the table.
    struct Marking {
        std::string code;
        std::string number;
        int32_t color = 0;
    };
    std::vector<Marking> Markings;
};

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
// One row of the observation table Obs. Texts are the bytes as read from the star file.
#pragma once

#include <cstdint>
#include <string>

namespace sabrix {

// The largest magnitude (either sign) a file may give: the plot keeps magnitudes in single
// precision, and beyond this neither they nor the scale around them stay finite. Fluxes of
// many millions in a magnitude column still fit.
constexpr double kLargestMagnitude = 1e30;

struct ObsRow {
    int64_t ID = 0;
    std::string Desig;
    std::string Star;
    double JD = 0;
    std::string Faint;  // "<" for a fainter-than estimate, else empty
    double Mag = 0;
    std::string Uncertain;
    std::string HQUncertain;
    std::string Band;
    std::string Init;  // observer code
    std::string ComCod;
    std::string Comp1;
    std::string Comp2;
    std::string Charts;
    std::string Comments;
    std::string XForm;
    std::string AirMass;
    std::string Valid;  // "D" marks a discrepant observation
    std::string CMag;
    std::string KMag;
    std::string HQJD;
    // The six fields that follow the eighteenth of a 24-field download line; empty for rows
    // from an 18-field line or a three-column file.
    std::string ObserverAffiliation;
    std::string MeasurementMethod;
    std::string GroupingMethod;
    std::string ADSReference;
    std::string Digitizer;
    std::string Credit;
    int32_t PunktFarb = 0;  // drawing colour, packed RGB
    std::string Marked;     // empty, or the number of the observer marking that coloured it
    std::string Edited;
    double Error = 0;  // uncertainty of a three-column row (0 when absent)

    bool operator==(const ObsRow&) const = default;
};

}  // namespace sabrix

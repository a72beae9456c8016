// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RecordSelection.h"

#include <utility>

#include "core/NumberText.h"
#include "core/TrimBlanks.h"

namespace sabrix {

namespace {

// A number as the selection's SQL text would carry it: the general form (15 significant
// digits) read back, so a bound compares with the stored values as that text would.
double AsWritten(double value) {
    double read = value;
    ParseNumber(FormatDouble(value), read);
    return read;
}

double JDBound(double x, double jdFirst) {
    double bound = x + jdFirst;
    ParseNumber(FormatFixed(bound, 7, 4), bound);
    return bound;
}

double MagBound(double y) {
    double bound = y;
    ParseNumber(FormatOneOrTwoDecimals(y), bound);
    return bound;
}

SelectionBounds Ordered(double jdA, double jdB, double magA, double magB) {
    if (jdA > jdB) std::swap(jdA, jdB);
    if (magA > magB) std::swap(magA, magB);
    return {AsWritten(jdA), AsWritten(jdB), AsWritten(magA), AsWritten(magB)};
}

}  // namespace

SelectionBounds BoxBounds(double x1, double y1, double x2, double y2, double jdFirst) {
    return Ordered(JDBound(x1, jdFirst), JDBound(x2, jdFirst), MagBound(y1), MagBound(y2));
}

SelectionBounds LocateBounds(double x, double y, const PlotWindowState& view) {
    const double jd = JDBound(x, view.JDFirst);
    const double mag = MagBound(y);
    const double dJD = view.WinJDWidth / 100 / view.JDMagnification;
    const double dMag = 0.1 / view.MagMagnification;
    return Ordered(jd - dJD, jd + dJD, mag - dMag, mag + dMag);
}

namespace {

std::string ListedMag(const ObsRow& r) {
    std::string mag = r.Faint == "<" ? "<" : "";
    mag += FormatDouble(r.Mag);
    if (mag.find('.') == std::string::npos) mag += ".0";
    return mag;
}

}  // namespace

ListedRecord ThreeColumnListLine(const ObsRow& r, double timeOffset) {
    return ListedRecord{
        r.ID, FormatDouble(r.JD + timeOffset) + "," + ListedMag(r) + "," + FormatDouble(r.Error),
        r.Init};
}

ListedRecord ListLine(const ObsRow& r) {
    const std::string mag = ListedMag(r);
    const std::string comCod = TrimBlanks(r.ComCod);
    const std::string comments = TrimBlanks(r.Comments);
    const std::string* fields[] = {
        &r.Uncertain, &r.HQUncertain, &r.Band,    &r.Init,  &comCod, &r.Comp1, &r.Comp2, &r.Charts,
        &comments,    &r.XForm,       &r.AirMass, &r.Valid, &r.CMag, &r.KMag,  &r.HQJD,  &r.Star};
    std::string line = FormatDouble(r.JD) + "," + mag;
    for (const std::string* field : fields) {
        line += ',';
        line += *field;
    }
    return ListedRecord{r.ID, std::move(line), r.Init};
}

std::vector<int64_t> SelectRecords(const ObsTable& table, const SelectionBounds& b,
                                   const PointFilter& shown, const PlotFrame& frame) {
    return FrameIdsInBox(frame, table.Columns(), shown, b.jdLow, b.jdHigh, b.magLow, b.magHigh);
}

std::vector<ListedRecord> ReadRecords(const ObsTable& table, const std::vector<int64_t>& ids) {
    std::vector<ListedRecord> records;
    records.reserve(ids.size());
    table.ForEachRowOfIds(ids, [&records](const ObsRow& row) { records.push_back(ListLine(row)); });
    return records;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/StarFileExport.h"

#include <cstdio>

#include "core/AtomicFile.h"
#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/TextFields.h"

namespace sabrix {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr size_t kJDWidth = 13;

// Only decimals may be given up to fit the column: rounding them away still names the same
// moment to a fraction of a second, while dropping digits before the point would write a
// different date.
std::string JDField(double jd) {
    std::string text = FormatDouble(jd);
    if (text.size() > kJDWidth) {
        const size_t point = text.find('.');
        const size_t whole = point == std::string::npos ? text.size() : point;
        if (whole > kJDWidth) throw FormatNumError();
        const size_t decimals = whole + 1 < kJDWidth ? kJDWidth - whole - 1 : 0;
        text = FormatFixed(jd, 1, static_cast<int>(decimals));
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0') text.pop_back();
            if (text.back() == '.') text.pop_back();
        }
        if (text == "-0") text = "0";
        // Rounding up can carry into one more whole digit.
        if (text.size() > kJDWidth) throw FormatNumError();
    }
    return LeftJustify(text, kJDWidth);
}

// Appends the record line of the row to line; throws as StarFileRecordLine, leaving line as
// it was.
void AppendStarFileRecordLine(std::string& line, const ObsRow& row) {
    // Every field that can fail is made before the line grows: a failure leaves it as it was.
    std::string magText = FormatDouble(row.Mag);
    if (magText.find('.') == std::string::npos) magText += ".0";
    std::string field;
    std::string jd;
    try {
        AppendFormatNum(field, magText, 6);
    } catch (const FormatNumError&) {
        throw StarLayoutMisfit(row, StarLayoutMisfit::Field::Mag);
    }
    try {
        jd = JDField(row.JD);
    } catch (const FormatNumError&) {
        throw StarLayoutMisfit(row, StarLayoutMisfit::Field::JD);
    }

    AppendLeftJustified(line, row.Desig, 8);
    line += ' ';
    AppendLeftJustified(line, row.Star, 10);
    line.append(7, ' ');
    line += jd;
    AppendLeftJustified(line, row.Faint, 1);
    // The padding blanks of the field count as decimals, so the count tells where the point
    // stands: 3 for " 9.1  " and "12.345", 2 for "123.4 ".
    switch (CountDecimals(field)) {
        case 3:
            line += field;
            AppendLeftJustified(line, row.Comments, 6);
            break;
        case 2:
            AppendRightJustified(line, field, 5);
            AppendLeftJustified(line, row.Uncertain, 1);
            AppendLeftJustified(line, row.Comments, 7);
            break;
        default:
            AppendRightJustified(line, field, 4);
            AppendLeftJustified(line, row.Uncertain, 1);
            AppendLeftJustified(line, row.Comments, 7);
            break;
    }
    line += "  ";
    AppendLeftJustified(line, row.Init, 5);
}

std::string MisfitDescription(const ObsRow& row, StarLayoutMisfit::Field field) {
    const std::string at = "Cannot format Number: the observation at JD " + FormatDouble(row.JD);
    if (field == StarLayoutMisfit::Field::JD)
        return at +
               " has a JD that does not fit the thirteen columns that the star file layout "
               "has for it, even without its decimals.";
    return at + " has the magnitude " + FormatDouble(row.Mag) +
           ", which does not fit the six columns that the star file layout has for a magnitude "
           "(12.345 fits).";
}

}  // namespace

StarLayoutMisfit::StarLayoutMisfit(const ObsRow& row, Field misfitField)
    : FormatNumError(MisfitDescription(row, misfitField)),
      id(row.ID),
      jd(row.JD),
      field(misfitField),
      value(FormatDouble(misfitField == Field::JD ? row.JD : row.Mag)) {}

std::string StarFileRecordLine(const ObsRow& row) {
    std::string line;
    line.reserve(64);
    AppendStarFileRecordLine(line, row);
    return line;
}

std::string StarFileHeaderLine(const std::string& starName, const QDateTime& now) {
    const QDate d = now.date();
    const QTime t = now.time();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d at %02d:%02d:%02d", d.month(), d.day(),
                  d.year(), t.hour(), t.minute(), t.second());
    return "Edited data for " + TrimBlanks(starName) + ". File created on " + stamp;
}

std::string StarFileText(const ObsTable& table, const std::string& starName, const QDateTime& now,
                         const std::function<void()>& yieldPerRow) {
    std::string text = StarFileHeaderLine(starName, now) + kLineEnd + kLineEnd;
    // A record line is 59 or 60 bytes and its line end 2: one allocation for the whole file.
    text.reserve(text.size() + static_cast<size_t>(table.Count()) * 62);
    bool any = false;
    table.ForEachExportRowById([&](const ObsRow& row) {
        if (yieldPerRow) yieldPerRow();
        AppendStarFileRecordLine(text, row);
        text += kLineEnd;
        any = true;
    });
    if (!any) throw SabrixError("No current record.");
    return text;
}

void WriteStarFile(QIODevice& out, const ObsTable& table, const std::string& starName,
                   const QDateTime& now, const std::function<void()>& yieldPerRow) {
    WriteAllBytes(out, StarFileText(table, starName, now, yieldPerRow));
}

}  // namespace sabrix

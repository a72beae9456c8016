// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/PointDetails.h"

#include <QStringList>
#include <optional>
#include <string>

#include "core/CalendarDate.h"
#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "core/TrimBlanks.h"

namespace sabrix {

QString PointDetailsText(const ObsRow& row, double timeOffset) {
    QStringList lines;
    const double shownJD = row.JD + timeOffset;
    QString jd = QStringLiteral("JD ") + QString::fromStdString(FormatDouble(shownJD));
    if (const std::optional<CalendarDateTime> date = CalendarDateOfJD(shownJD, 60))
        jd += QStringLiteral("  (") +
              QString::fromStdString(DateText(*date) + " " + MinuteText(*date) + " UTC") + u')';
    lines << jd;

    QString mag = QStringLiteral("Magnitude ");
    if (TrimBlanks(row.Faint) == "<") mag += u'<';
    mag += QString::fromStdString(FormatDouble(row.Mag));
    if (const std::string uncertainty = TrimBlanks(row.Uncertain); !uncertainty.empty())
        mag += QStringLiteral(" \u00b1 ") + DisplayText(uncertainty);
    lines << mag;

    const std::string band = TrimBlanks(row.Band);
    lines << QStringLiteral("Band ") +
                 (band.empty() ? QStringLiteral("(no band)") : DisplayText(band));
    const auto add = [&lines](const char* head, const std::string& field) {
        const std::string text = TrimBlanks(field);
        if (!text.empty()) lines << QString::fromLatin1(head) + DisplayText(text);
    };
    add("Observer ", row.Init);
    add("Comment codes ", row.ComCod);
    add("Comments: ", row.Comments);
    return lines.join(u'\n');
}

}  // namespace sabrix

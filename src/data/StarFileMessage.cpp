// SPDX-License-Identifier: GPL-3.0-or-later
// The message the user sees after a star file was read.
#include <optional>

#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "data/StarFileImport.h"

namespace sabrix {

std::optional<ImportMessage> ImportMessageFor(const ImportResult& result) {
    const QString lineEnd = QStringLiteral("\r\n");
    switch (result.outcome) {
        case ImportResult::Outcome::Loaded:
            if (result.rejected == 0) return std::nullopt;
            return ImportMessage{
                QString::fromStdString(FormatDouble(static_cast<double>(result.rejected))) +
                    QStringLiteral(" out of ") +
                    QString::fromStdString(FormatDouble(result.recordCount)) +
                    QStringLiteral(" records did not comply with the Norvane data format.") +
                    lineEnd + QStringLiteral("These records have been ignored.") + lineEnd +
                    QStringLiteral("Check Errors.txt for non-compliant records."),
                QStringLiteral("Database Record Error"), Icon::None};
        case ImportResult::Outcome::NoDataLines:
            return ImportMessage{LoadFailureText(DisplayText(result.description)),
                                 QStringLiteral("Sabrix"), Icon::None};
        case ImportResult::Outcome::Cancelled:
            return std::nullopt;
        case ImportResult::Outcome::CannotOpen:
        case ImportResult::Outcome::InputPastEnd:
            return ImportMessage{LoadFailureText(DisplayText(result.description)),
                                 QStringLiteral("Error"), Icon::Critical};
        case ImportResult::Outcome::ConversionFailed:
            return ImportMessage{LoadFailureText() + QStringLiteral(" Last JD loaded was: ") +
                                     DisplayText(result.lastJD) + QStringLiteral(".") + lineEnd +
                                     DisplayText(result.description),
                                 QStringLiteral("Error"), Icon::Critical};
    }
    return std::nullopt;
}

}  // namespace sabrix

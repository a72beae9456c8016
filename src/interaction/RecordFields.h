// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of one Obs row as the record editor shows them, and the checks before an edit is
// written: JD and Mag must be numbers, Faint "<" or empty. Texts keep their bytes: a field
// the user did not change is written back exactly as it was stored, also when it is not
// UTF-8.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "data/ObsRow.h"

namespace sabrix {

struct RecordField {
    // The column name ("JD", "Init", ...) and what it holds, for the editor's label.
    QString name;
    QString meaning;
    QString text;

    bool operator==(const RecordField&) const = default;
};

// The fields of the row: JD, Faint, Mag, Uncertain, HQUncertain, Band, Init, ComCod, Comp1,
// Comp2, Charts, Comments, XForm, AirMass, Valid, CMag, KMag, HQJD, Desig, Star and the six
// later fields of a 24-field download. JD and Mag in the general number form.
std::vector<RecordField> FieldsOf(const ObsRow& row);

// The row with the fields (same order and count as FieldsOf gave) written into it. Nothing
// when a field is refused; refusal then says which field and why ("JD is not a number: ...").
std::optional<ObsRow> EditedRow(const ObsRow& row, const std::vector<RecordField>& fields,
                                QString& refusal);

}  // namespace sabrix

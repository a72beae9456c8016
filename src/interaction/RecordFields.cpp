// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RecordFields.h"

#include <array>

#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "core/TrimBlanks.h"

namespace sabrix {

namespace {

struct TextColumn {
    const char* name;
    const char* meaning;
    std::string ObsRow::*member;
};

// The text columns after JD, Faint and Mag: the fields of the download in their order, then
// the six later fields of a 24-field line.
constexpr std::array<TextColumn, 23> kTextColumns = {{
    {"Uncertain", "uncertainty mark", &ObsRow::Uncertain},
    {"HQUncertain", "second uncertainty field", &ObsRow::HQUncertain},
    {"Band", "band code (V, B, CV, Vis., ...)", &ObsRow::Band},
    {"Init", "observer code", &ObsRow::Init},
    {"ComCod", "comment codes", &ObsRow::ComCod},
    {"Comp1", "first comparison star", &ObsRow::Comp1},
    {"Comp2", "second comparison star", &ObsRow::Comp2},
    {"Charts", "chart identifier", &ObsRow::Charts},
    {"Comments", "free comments", &ObsRow::Comments},
    {"XForm", "transformation flag", &ObsRow::XForm},
    {"AirMass", "air mass", &ObsRow::AirMass},
    {"Valid", "validation flag (D: discrepant)", &ObsRow::Valid},
    {"CMag", "comparison-star magnitude", &ObsRow::CMag},
    {"KMag", "check-star magnitude", &ObsRow::KMag},
    {"HQJD", "second JD field", &ObsRow::HQJD},
    {"Desig", "designation", &ObsRow::Desig},
    {"Star", "star name", &ObsRow::Star},
    {"ObserverAffiliation", "observer affiliation", &ObsRow::ObserverAffiliation},
    {"MeasurementMethod", "measurement method", &ObsRow::MeasurementMethod},
    {"GroupingMethod", "grouping method", &ObsRow::GroupingMethod},
    {"ADSReference", "ADS reference", &ObsRow::ADSReference},
    {"Digitizer", "digitizer", &ObsRow::Digitizer},
    {"Credit", "credit", &ObsRow::Credit},
}};

constexpr int kFixedFields = 3;  // JD, Faint, Mag

// The bytes of a field: those stored when the user left its text as shown, else UTF-8.
std::string Bytes(const QString& text, const std::string& stored) {
    return text == DisplayText(stored) ? stored : text.toStdString();
}

bool ReadNumber(const QString& name, const QString& text, double& value, QString& refusal) {
    if (ParseNumber(text.toStdString(), value)) return true;
    refusal = name + QStringLiteral(" is not a number: \"") + text +
              QStringLiteral("\". Type a number such as ") +
              (name == QStringLiteral("JD") ? QStringLiteral("2455000.5") : QStringLiteral("9.5")) +
              QStringLiteral("; nothing has been changed.");
    return false;
}

}  // namespace

std::vector<RecordField> FieldsOf(const ObsRow& row) {
    std::vector<RecordField> fields{
        {QStringLiteral("JD"), QStringLiteral("Julian Date"),
         QString::fromStdString(FormatDouble(row.JD))},
        {QStringLiteral("Faint"), QStringLiteral("\"<\" for a fainter-than estimate, else empty"),
         DisplayText(row.Faint)},
        {QStringLiteral("Mag"), QStringLiteral("magnitude (the limit of a fainter-than)"),
         QString::fromStdString(FormatDouble(row.Mag))},
    };
    for (const TextColumn& c : kTextColumns)
        fields.push_back({QString::fromLatin1(c.name), QString::fromLatin1(c.meaning),
                          DisplayText(row.*c.member)});
    return fields;
}

std::optional<ObsRow> EditedRow(const ObsRow& row, const std::vector<RecordField>& fields,
                                QString& refusal) {
    if (fields.size() != kFixedFields + kTextColumns.size()) {
        refusal = QStringLiteral("The record editor sent the wrong number of fields.");
        return std::nullopt;
    }
    ObsRow edited = row;
    if (!ReadNumber(QStringLiteral("JD"), fields[0].text, edited.JD, refusal)) return std::nullopt;
    const std::string faint = TrimBlanks(fields[1].text.toStdString());
    if (!faint.empty() && faint != "<") {
        refusal = QStringLiteral("Faint must be \"<\" (a fainter-than estimate) or empty, not \"") +
                  fields[1].text + QStringLiteral("\"; nothing has been changed.");
        return std::nullopt;
    }
    edited.Faint = faint;
    if (!ReadNumber(QStringLiteral("Mag"), fields[2].text, edited.Mag, refusal))
        return std::nullopt;
    // Unchanged numbers keep their stored value to the last bit.
    if (fields[0].text == QString::fromStdString(FormatDouble(row.JD))) edited.JD = row.JD;
    if (fields[2].text == QString::fromStdString(FormatDouble(row.Mag))) edited.Mag = row.Mag;
    for (size_t k = 0; k < kTextColumns.size(); ++k) {
        std::string ObsRow::*member = kTextColumns[k].member;
        edited.*member = Bytes(fields[kFixedFields + k].text, row.*member);
    }
    return edited;
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DownloadFileExport.h"

#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/CsvLine.h"
#include "data/StarFileImport.h"

namespace sabrix {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr size_t kClassicFields = 18;
constexpr size_t kCurrentFields = 24;

// The texts of fields 2 to 23 of a record line.
constexpr std::string ObsRow::*kTextFields[] = {&ObsRow::Uncertain,
                                                &ObsRow::HQUncertain,
                                                &ObsRow::Band,
                                                &ObsRow::Init,
                                                &ObsRow::ComCod,
                                                &ObsRow::Comp1,
                                                &ObsRow::Comp2,
                                                &ObsRow::Charts,
                                                &ObsRow::Comments,
                                                &ObsRow::XForm,
                                                &ObsRow::AirMass,
                                                &ObsRow::Valid,
                                                &ObsRow::CMag,
                                                &ObsRow::KMag,
                                                &ObsRow::HQJD,
                                                &ObsRow::Star,
                                                &ObsRow::ObserverAffiliation,
                                                &ObsRow::MeasurementMethod,
                                                &ObsRow::GroupingMethod,
                                                &ObsRow::ADSReference,
                                                &ObsRow::Digitizer,
                                                &ObsRow::Credit};

bool SameField(size_t field, const ObsRow& a, const ObsRow& b) {
    if (field == 0) return a.JD == b.JD;
    if (field == 1) return a.Faint == b.Faint && a.Mag == b.Mag;
    return a.*kTextFields[field - 2] == b.*kTextFields[field - 2];
}

// A number as the user typed it when they typed this value, else in its shortest exact text.
std::string NumberText(const TypedNumbers* typed, int64_t id, TypedNumbers::Field field,
                       double value) {
    if (typed != nullptr)
        if (const std::optional<std::string_view> text = typed->TextOf(id, field, value))
            return std::string(*text);
    return FormatDoubleExactly(value);
}

void AppendField(std::string& line, size_t field, const ObsRow& row, const TypedNumbers* typed) {
    if (field == 0)
        line += NumberText(typed, row.ID, TypedNumbers::Field::JD, row.JD);
    else if (field == 1)
        AppendCsvField(line,
                       row.Faint + NumberText(typed, row.ID, TypedNumbers::Field::Mag, row.Mag));
    else
        AppendCsvField(line, row.*kTextFields[field - 2]);
}

}  // namespace

const std::string& DownloadFileHeaderLine() {
    // As downloads spell it, "Transfomed" included: the file then looks like any other.
    static const std::string header =
        "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),Comp Star 1,"
        "Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name,"
        "Observer Affiliation,Measurement Method,Grouping Method,ADS Reference,Digitizer,Credit";
    return header;
}

void AppendDownloadRecordLine(std::string& line, const ObsRow& row, const TypedNumbers* typed) {
    // Every digit of the values: a file saved and loaded again holds the very same numbers.
    for (size_t field = 0; field < kCurrentFields; ++field) {
        if (field > 0) line += ',';
        AppendField(line, field, row, typed);
    }
}

void AppendDownloadLineLike(std::string& out, std::string_view read, const ObsRow& row,
                            const TypedNumbers* typed) {
    const std::string_view content = LineContent(read);
    const std::string_view lineEnd = read.substr(content.size());
    // A byte-order mark stays in front of the line; the fields follow it.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    const size_t mark = content.substr(0, kByteOrderMark.size()) == kByteOrderMark ? 3 : 0;
    const std::string_view fieldsText = content.substr(mark);
    CsvLine splitter;
    const std::vector<std::string_view>& fields = splitter.split(fieldsText);
    ObsRow before;
    if ((fields.size() != kClassicFields && fields.size() != kCurrentFields) ||
        !FillStarRow(fields, Settings{}, before)) {
        AppendDownloadRecordLine(out, row, typed);
        out += lineEnd;
        return;
    }
    // A shorter line grows to the later fields only when the row has some to write.
    size_t count = fields.size();
    if (count == kClassicFields)
        for (size_t field = kClassicFields; field < kCurrentFields; ++field)
            if (!(row.*kTextFields[field - 2]).empty()) count = kCurrentFields;
    bool same = count == fields.size();
    for (size_t field = 0; same && field < count; ++field) same = SameField(field, before, row);
    if (same) {
        out += read;
        return;
    }
    std::vector<std::string_view> written;
    SplitCsvFieldsAsWritten(fieldsText, written);
    out += content.substr(0, mark);
    for (size_t field = 0; field < count; ++field) {
        if (field > 0) out += ',';
        if (field < written.size() && SameField(field, before, row))
            out += written[field];
        else
            AppendField(out, field, row, typed);
    }
    out += lineEnd;
}

DownloadSource DownloadFileText(const ObsTable& table, const DownloadSource* loaded,
                                const std::function<void()>& yieldPerRow,
                                const TypedNumbers* typed) {
    DownloadSource::Builder text;
    if (loaded != nullptr && !loaded->ready()) loaded = nullptr;
    if (loaded != nullptr)
        text.header(loaded->header());
    else
        text.header(DownloadFileHeaderLine() + kLineEnd);
    std::string line;
    table.ForEachRowById([&](const ObsRow& row) {
        if (yieldPerRow) yieldPerRow();
        line.clear();
        const std::optional<std::string_view> read =
            loaded != nullptr ? loaded->line(row.ID) : std::nullopt;
        if (read) {
            AppendDownloadLineLike(line, *read, row, typed);
        } else {
            AppendDownloadRecordLine(line, row, typed);
            line += kLineEnd;
        }
        text.add(row.ID, line);
    });
    if (text.empty()) throw SabrixError("No current record.");
    return std::move(text).Build();
}

}  // namespace sabrix

#include "data/DownloadFileExport.h"

#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/CsvLine.h"

namespace sabrix {

namespace {
constexpr const char* kLineEnd = "\r\n";
}  // namespace

const std::string& DownloadFileHeaderLine() {
    // As downloads spell it, "Transfomed" included: the file then looks like any other.
    static const std::string header =
        "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),Comp Star 1,"
        "Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name,"
        "Observer Affiliation,Measurement Method,Grouping Method,ADS Reference,Digitizer,Credit";
    return header;
}

void AppendDownloadRecordLine(std::string& line, const ObsRow& row) {
    // Every digit of the values: a file saved and loaded again holds the very same numbers.
    line += FormatDoubleExactly(row.JD);
    line += ',';
    AppendCsvField(line, row.Faint + FormatDoubleExactly(row.Mag));
    for (const std::string* field : {&row.Uncertain,
                                     &row.HQUncertain,
                                     &row.Band,
                                     &row.Init,
                                     &row.ComCod,
                                     &row.Comp1,
                                     &row.Comp2,
                                     &row.Charts,
                                     &row.Comments,
                                     &row.XForm,
                                     &row.AirMass,
                                     &row.Valid,
                                     &row.CMag,
                                     &row.KMag,
                                     &row.HQJD,
                                     &row.Star,
                                     &row.ObserverAffiliation,
                                     &row.MeasurementMethod,
                                     &row.GroupingMethod,
                                     &row.ADSReference,
                                     &row.Digitizer,
                                     &row.Credit}) {
        line += ',';
        AppendCsvField(line, *field);
    }
}

std::string DownloadFileText(const ObsTable& table, const std::function<void()>& yieldPerRow) {
    std::string text = DownloadFileHeaderLine() + kLineEnd;
    bool any = false;
    table.ForEachRowById([&](const ObsRow& row) {
        if (yieldPerRow) yieldPerRow();
        AppendDownloadRecordLine(text, row);
        text += kLineEnd;
        any = true;
    });
    if (!any) throw SabrixError("No current record.");
    return text;
}

}  // namespace sabrix

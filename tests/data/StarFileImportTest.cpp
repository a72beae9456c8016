// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "core/LineReader.h"
#include "core/SabrixError.h"
#include "data/CsvLine.h"
#include "data/StarFileExport.h"
#include "data/StarFileImport.h"
#include "support/FileSizeLimit.h"
#include "support/TempTable.h"

namespace sabrix {

namespace {

using Outcome = ImportResult::Outcome;

constexpr const char* kHeader18 =
    "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),Comp Star 1,"
    "Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name";
constexpr const char* kExtra6 = ",ACME,STD,,,,";

// Only the colours the rows of these tests can get, each a different number.
Settings Colors() {
    Settings s;
    s.ColorVIS = 1;
    s.ColorFAINT = 2;
    s.ColorV = 6;
    return s;
}

// An 18-field data line; fields not named are simple placeholders.
std::string Line(const std::string& jd, const std::string& mag, const std::string& band = "V",
                 const std::string& star = "SS Cyg", const std::string& comments = "") {
    return jd + "," + mag + ",0.01,," + band + ",ABC,,C1,C2,X123," + comments +
           ",0,1.2,Z,12.1,12.2,," + star;
}

// n data lines, a day apart, after 2454000.
std::vector<std::string> Lines(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) lines.push_back(Line(std::to_string(2454000 + i) + ".5", "9"));
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string bytes;
    for (const auto& l : lines) bytes += l + end;
    return bytes;
}

void ExpectMessage(const ImportResult& r, const QString& text, const QString& title, Icon icon) {
    const auto message = ImportMessageFor(r);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, text);
    EXPECT_EQ(message->title, title);
    EXPECT_EQ(message->icon, icon);
}

// A program directory with an empty table and a place for the error file.
struct ImportFixture : test::TempTable {
    std::string errors = dir.file("Errors.txt");

    // Loads the bytes as a star file, as "Load a File" does, into the emptied table.
    ImportResult Import(const std::string& bytes, const ImportCallbacks& callbacks = {}) {
        test::WriteFileBytes(dir.file("star.txt"), bytes);
        return Load(dir.file("star.txt"), callbacks);
    }
    ImportResult Load(const std::string& path, const ImportCallbacks& callbacks = {}) {
        std::vector<int64_t> ids;
        for (const ObsRow& row : Rows()) ids.push_back(row.ID);
        table.DeleteByIds(ids);
        return LoadStarFile(path, Colors(), callbacks, errors);
    }
    std::string ErrorBytes() const { return test::ReadFileBytes(errors); }
};

}  // namespace

TEST(ClassifyStarLine, TellsDataFromTheHeaderAndRejectedLines) {
    const std::string data = Line("2454123.5", "9");
    // line, class as the first line of the file, class as any later line
    std::vector<std::tuple<std::string, StarLineClass, StarLineClass>> cases;
    for (const char* jd : {"2454123.51234", "  2454123.5  ", "2455411", "2455411."})
        cases.emplace_back(Line(jd, "9"), StarLineClass::Data, StarLineClass::Data);
    // Dates that are not plain seven-digit decimals were skipped as if they were headers.
    for (const char* jd : {"245412.5", "24541234.5", "2454123.x", "24551234", "\t2454123.5",
                           "\xC2\xA0"
                           "2454123.5",
                           "2457845.5e3", "2454123.5abc", "0", "-2454123.5", "1e15", "245.5",
                           "2454123.5.5", "2454123,5"})
        cases.emplace_back(Line(jd, "9"), StarLineClass::Rejected, StarLineClass::Rejected);
    for (const std::string& header : {std::string(kHeader18), Line("JD", "Magnitude")})
        cases.emplace_back(header, StarLineClass::Header, StarLineClass::Rejected);
    cases.emplace_back(data + kExtra6, StarLineClass::Data, StarLineClass::Data);
    cases.emplace_back(std::string(kHeader18) + ",a,b,c,d,e,f", StarLineClass::Header,
                       StarLineClass::Rejected);
    for (const std::string& line :
         {data + ",x", data + kExtra6 + ",x", std::string("2454123.5,9"), std::string()})
        cases.emplace_back(line, StarLineClass::Rejected, StarLineClass::Rejected);
    CsvLine splitter;
    for (const auto& [line, first, later] : cases) {
        EXPECT_EQ(ClassifyStarLine(splitter.split(line), true), first) << line;
        EXPECT_EQ(ClassifyStarLine(splitter.split(line), false), later) << line;
    }
}

// A line of 24 fields whose date the reader did not take was skipped without a count, and a
// date with an exponent was stored as another number (2457845.5e3 as 2457845500) that the next
// load then skipped: rows went missing on every round trip, each reported as a success.
TEST(StarFileImport, EveryLineThatIsNeitherHeaderNorDataIsCountedAndKept) {
    ImportFixture f;
    std::vector<std::string> odd;
    for (const char* jd : {"0", "-2454123.5", "1e15", "245.5", "\t2454124.5",
                           "\xC2\xA0"
                           "2454124.5",
                           "2457845.5e3", "2454200.25x"})
        odd.push_back(Line(jd, "9") + kExtra6);
    odd.push_back(kHeader18);  // a second header: two downloads joined
    std::vector<std::string> lines = {kHeader18, Line("2454123.5", "9")};
    lines.insert(lines.end(), odd.begin(), odd.end());
    lines.push_back(Line("2454125.5", "10"));
    const ImportResult r = f.Import(Join(lines));
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(std::tie(r.stored, r.rejected), std::make_tuple(2, 9));
    EXPECT_EQ(f.ErrorBytes(), Join(odd));
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::make_pair(rows[0].JD, rows[1].JD), std::make_pair(2454123.5, 2454125.5));
}

// A file that "Save to Star File" wrote could not be loaded again: its dated header and fixed
// columns went to the error file and nothing loaded.
TEST(StarFileImport, ReadsTheFixedColumnLayoutThatTheSaveWrites) {
    ImportFixture f;
    ObsRow a;
    a.Desig = "0214-03";
    a.Star = "SS CYG";
    a.JD = 2454123.5;
    a.Mag = 12.345;
    a.Faint = "<";
    a.Comments = "ABC";
    a.Init = "XYZ";
    ObsRow b = a;
    b.JD = 2454124.25;
    b.Mag = 123.4;
    b.Faint.clear();
    b.Uncertain = ":";
    f.Add({a, b});
    const QDateTime now(QDate(2024, 3, 7), QTime(9, 5, 3));
    std::string saved = StarFileText(f.table, "ss Cygni", now, {});
    // A record line whose date breaks the download rule and a line of no record are rejected
    // as a download's would be; so is an empty line after the one below the header.
    std::string badDate = StarFileRecordLine(a);
    badDate.replace(26, 13, "245412.5     ");
    const std::string odd = badDate + "\r\n" + "2454125.5,9.1,,,V,XYZ" + "\r\n" + "\r\n";
    saved += odd;

    const ImportResult r = f.Import(saved);
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(std::tie(r.stored, r.rejected, r.starName), std::make_tuple(2, 3, "ss Cygni"));
    EXPECT_EQ(f.ErrorBytes(), odd);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    for (const ObsRow& row : rows)
        EXPECT_EQ(std::tie(row.Desig, row.Star, row.Comments, row.Init),
                  std::tie(a.Desig, a.Star, a.Comments, a.Init));
    EXPECT_EQ(std::tie(rows[0].JD, rows[0].Mag, rows[0].Faint, rows[0].Uncertain),
              std::make_tuple(2454123.5, 12.345, "<", ""));
    EXPECT_EQ(std::tie(rows[1].JD, rows[1].Mag, rows[1].Faint, rows[1].Uncertain),
              std::make_tuple(2454124.25, 123.4, "", ":"));

    // The header makes the layout: the same record lines under a download's header are not
    // download lines.
    const ImportResult plain =
        f.Import(std::string(kHeader18) + "\r\n\r\n" + StarFileRecordLine(a) + "\r\n");
    EXPECT_EQ(std::tie(plain.outcome, plain.rejected), std::make_tuple(Outcome::NoDataLines, 2));
}

// After a UTF-8 byte-order mark the first line was no data line and no header: it was skipped.
TEST(StarFileImport, ByteOrderMarkIsNotPartOfTheFirstLine) {
    const std::string bom = "\xEF\xBB\xBF";
    for (const bool header : {false, true}) {
        SCOPED_TRACE(header);
        ImportFixture f;
        std::vector<std::string> lines = {Line("2454123.5", "9"), Line("2454124.5", "10")};
        if (header) lines.insert(lines.begin(), kHeader18);
        const ImportResult r = f.Import(bom + Join(lines));
        EXPECT_EQ(std::tie(r.stored, r.rejected), std::make_tuple(2, 0));
        ASSERT_EQ(f.Rows().size(), 2u);
        EXPECT_EQ(f.Rows()[0].JD, 2454123.5);
    }
}

TEST(StarFileImport, MapsEveryFieldOfADataLine) {
    ImportFixture f;
    const std::string line =
        " 2454123.51234 , 9.25 , u1 , u2 , V , abc , K , C1 , C2 , X12 , a comment , 1 , "
        "1.3 , Z , 12.1 , 12.2 , 2454123.6 ,  ss cyg  ";
    const ImportResult r = f.Import(Join({kHeader18, line}));
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 1u);
    const ObsRow& o = rows[0];
    EXPECT_EQ(o.JD, 2454123.51234);
    EXPECT_EQ(o.Mag, 9.25);
    const std::vector<std::string> texts{o.Faint,  o.Uncertain, o.HQUncertain, o.Band,   o.Init,
                                         o.ComCod, o.Comp1,     o.Comp2,       o.Charts, o.Comments,
                                         o.XForm,  o.AirMass,   o.Valid,       o.CMag,   o.KMag,
                                         o.HQJD,   o.Star,      o.Marked,      o.Edited, o.Desig};
    EXPECT_EQ(texts,
              (std::vector<std::string>{"",     "u1",        "u2",        "V", "abc", "K", "C1",
                                        "C2",   "X12",       "a comment", "1", "1.3", "Z", "12.1",
                                        "12.2", "2454123.6", "SS CYG",    "",  "",    ""}));
    EXPECT_EQ(o.PunktFarb, 6);  // " V " with blanks is still the exact band V
    EXPECT_EQ(r.starName, "ss cyg");
}

TEST(StarFileImport, FainterThanMarksStarNamesAndSevenDigitDates) {
    ImportFixture f;
    std::vector<std::string> captions;
    ImportCallbacks cb;
    cb.firstRow = [&](const std::string& c) { captions.push_back(c); };
    const ImportResult r = f.Import(
        Join({Line("2454123.5", "<11.5", "Vis.", "  r leo  "), Line("2454124.5", "< 11.5 ", "V"),
              Line("2455411", " 11.6 ", "Vis."), Line("245412.5", "9"),  // six digits: rejected
              Line(" 2455412 ", "9.6", "V", " z \xe9t ")}),
        cb);
    EXPECT_EQ(r.rejected, 1);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 4u);
    using Want = std::tuple<double, std::string, double, int32_t, std::string>;
    const Want want[] = {{2454123.5, "<", 11.5, 2, "R LEO"},
                         {2454124.5, "<", 11.5, 2, "SS CYG"},
                         {2455411, "", 11.6, 1, "SS CYG"},
                         {2455412, "", 9.6, 6, "Z \xe9T"}};  // a Latin-1 letter stays as it is
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(Want(rows[i].JD, rows[i].Faint, rows[i].Mag, rows[i].PunktFarb, rows[i].Star),
                  want[i]);
    EXPECT_EQ(r.starName, "z \xe9t");
    EXPECT_EQ(captions, std::vector<std::string>{"Loading 5 Records for R LEO"});
    EXPECT_EQ(f.ErrorBytes(), Line("245412.5", "9") + "\r\n");
}

TEST(StarFileImport, LoadsAHundredRowsAfterTheHeaderWithProgressAndYields) {
    ImportFixture f;
    std::vector<std::string> lines = Lines(100);
    lines.insert(lines.begin(), kHeader18);
    int32_t started = -1;
    std::vector<int64_t> progress;
    int yields = 0;
    ImportCallbacks cb;
    cb.started = [&](int32_t count) { started = count; };
    cb.progress = [&](int64_t n) { progress.push_back(n); };
    cb.yield = [&] { ++yields; };
    const ImportResult r = f.Import(Join(lines), cb);
    EXPECT_EQ(std::tie(r.stored, r.recordCount, started), std::make_tuple(100, 121, 121));
    ASSERT_EQ(progress.size(), 100u);
    EXPECT_EQ(progress.back(), 99);
    // Once before every line, the header included: the caller paces its turns of the event loop.
    EXPECT_EQ(yields, 101);
    EXPECT_EQ(f.table.Count(), 100);
    EXPECT_FALSE(ImportMessageFor(r));
}

TEST(StarFileImport, WritesLinesOfOtherFieldCountsToTheErrorFileAndCountsThem) {
    ImportFixture f;
    const std::string short17 = "2454123.5,9,,,V,ABC,,,,,,,,,,,";
    const std::string long19 = Line("2454124.5", "9") + ",extra";
    std::vector<std::string> lines = Lines(99);
    lines.insert(lines.begin(), kHeader18);
    lines.insert(lines.begin() + 10, short17);
    lines.insert(lines.begin() + 50, "");
    lines.push_back(long19);
    const ImportResult r = f.Import(Join(lines));
    EXPECT_EQ(std::tie(r.stored, r.rejected, r.recordCount), std::make_tuple(99, 3, 123));
    EXPECT_EQ(f.ErrorBytes(), short17 + "\r\n\r\n" + long19 + "\r\n");
    ExpectMessage(r,
                  "3 out of 123 records did not comply with the Norvane data format.\r\n"
                  "These records have been ignored.\r\n"
                  "Check Errors.txt for non-compliant records.",
                  "Database Record Error", Icon::None);
}

TEST(StarFileImport, ErrorFileIsRewrittenByEveryImportWithLatin1BytesIntact) {
    ImportFixture f;
    test::WriteFileBytes(f.errors, "left from before\r\n");
    const std::string comment = "Ger\xe4t \xb0 faint";
    f.Import(Join({Line("2454123.5", "9", "V", "SS Cyg", comment), "bad \xe9"}));
    EXPECT_EQ(f.Rows().at(0).Comments, comment);
    EXPECT_EQ(f.ErrorBytes(), "bad \xe9\r\n");
    f.Import(Join({Line("2454123.5", "9")}));
    EXPECT_EQ(f.ErrorBytes(), "");
}

TEST(StarFileImport, ReadsCrLfCrAndLfLineEndsAlike) {
    for (const std::string end : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(end == "\n" ? "LF" : end == "\r" ? "CR" : "CR LF");
        ImportFixture f;
        std::string bytes =
            Join({kHeader18, Line("2454123.5", "9"), "bad", Line("2454124.5", "10")}, end);
        bytes.resize(bytes.size() - end.size());  // no terminator after the last line
        const ImportResult r = f.Import(bytes);
        EXPECT_EQ(std::tie(r.stored, r.recordCount), std::make_tuple(2, 24));
        EXPECT_EQ(f.ErrorBytes(), "bad\r\n");
    }
}

TEST(StarFileImport, TakesQuotedFieldsWithCommasAndTheTwentyFourFieldLayout) {
    ImportFixture f;
    const ImportResult r = f.Import(
        Join({Line("2454123.5", "9", "V", "SS Cyg", "\"\"\"text, with commas\"\"\"") + kExtra6,
              Line("2454124.5", "9", "V", "\"SS Cyg, b\"")}));
    EXPECT_EQ(r.stored, 2);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Comments, "\"text, with commas\"");
    EXPECT_EQ(rows[0].Star, "SS CYG");
    EXPECT_EQ(std::tie(rows[0].ObserverAffiliation, rows[0].MeasurementMethod, rows[0].Credit),
              std::make_tuple("ACME", "STD", ""));
    EXPECT_EQ(rows[1].Star, "SS CYG, B");
    // The 18-field line after a 24-field one gets no field of it.
    EXPECT_EQ(std::tie(rows[1].ObserverAffiliation, rows[1].MeasurementMethod),
              std::make_tuple("", ""));
}

TEST(StarFileImport, NumberThatIsNoNumberAbandonsTheWholeImport) {
    const std::tuple<std::string, std::string, std::string> bad[] = {
        {" 2454200.25 ", "8.3:", "2454200.25"},
        {"2454200.25", "<", "2454200.25"},
        {"2454200.25", "abc", "2454200.25"},
        {"2454200.25", "", "2454200.25"},
        // A number whose saved text would not load again.
        {"2454200.25", "1.7976931348623157e308", "2454200.25"}};
    for (const auto& [jd, mag, lastJD] : bad) {
        SCOPED_TRACE(jd + " / " + mag);
        ImportFixture f;
        std::vector<std::string> lines = Lines(60);
        lines.push_back(Line(jd, mag));
        lines.push_back(Line("2454201.5", "9"));
        const ImportResult r = f.Import(Join(lines));
        EXPECT_EQ(r.outcome, Outcome::ConversionFailed);
        EXPECT_EQ(f.table.Count(), 0);
        ExpectMessage(r,
                      QString::fromStdString("Error in loading database. Check source file. Last "
                                             "JD loaded was: " +
                                             lastJD + ".\r\nData type conversion error."),
                      "Error", Icon::Critical);
    }
}

TEST(StarFileImport, UnwritableErrorFileIsReportedAndStoresNothing) {
    ImportFixture f;
    f.errors = f.dir.file("no-such-folder/Errors.txt");
    EXPECT_THROW(f.Import(Join({Line("2454123.5", "9"), "bad"})), SabrixError);
    EXPECT_EQ(f.table.Count(), 0);
}

TEST(StarFileImport, FilesWithoutDataLoadNothingAndSayWhy) {
    ImportFixture f;
    ImportResult r = f.Import(Join({kHeader18, "some other format", "1,2,3"}));
    EXPECT_EQ(r.outcome, Outcome::NoDataLines);
    EXPECT_EQ(r.rejected, 2);
    ExpectMessage(r,
                  "Error in loading database. Check source file.\r\nNo line of the file is an "
                  "observation.",
                  "Sabrix", Icon::None);
    // Each says why it gave no observation.
    const std::string record = Line("2454123.5", "9") + "\r\n";
    std::string utf16 = "\xFF\xFE";
    std::string utf32 = "\xFF\xFE\0\0";
    for (const char c : record) {
        utf16 += std::string{c, '\0'};
        utf32 += std::string{c, '\0', '\0', '\0'};
    }
    const std::string notText =
        "The file is not text in UTF-8: it holds NUL bytes, as UTF-16 and UTF-32 text and binary "
        "files do.";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(kHeader18) + "\r\n", "No line of the file is an observation."},
        {"\r\n  \r\n\t\n", "The file holds only blank lines."},
        {utf16, notText},
        {utf32, notText},
        {std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0\n\x03\0",
                     13),
         notText},
        {std::string(kLongestLine + 10, '2'), "Line 1 is longer than 65536 bytes."},
    };
    for (const auto& [bytes, why] : cases) {
        r = f.Import(bytes);
        EXPECT_EQ(r.outcome, Outcome::NoDataLines) << why;
        EXPECT_EQ(r.description, why);
    }

    r = f.Import("");
    EXPECT_EQ(r.outcome, Outcome::InputPastEnd);
    EXPECT_EQ(r.recordCount, 20);
    ExpectMessage(r, "Error in loading database. Check source file.\r\nInput past end of file",
                  "Error", Icon::Critical);
}

TEST(StarFileImport, FileThatCannotBeOpenedSaysWhy) {
    ImportFixture f;
    bool started = false;
    ImportCallbacks cb;
    cb.started = [&](int32_t) { started = true; };
    ImportResult r = f.Load(f.dir.file("missing.txt"), cb);
    EXPECT_EQ(r.outcome, Outcome::CannotOpen);
    EXPECT_EQ(r.recordCount, 0);
    EXPECT_FALSE(started);
    ExpectMessage(
        r, QString("Error in loading database. Check source file.\r\n") + std::strerror(ENOENT),
        "Error", Icon::Critical);
    r = f.Load(f.dir.path(), cb);
    EXPECT_EQ(r.outcome, Outcome::CannotOpen);
    EXPECT_EQ(r.description, std::strerror(EISDIR));
}

// The rows are read again after Errors.txt has been replaced: from the file as it was scanned.
TEST(StarFileImport, LoadingErrorsTxtItselfReadsItWholeBeforeReplacingIt) {
    ImportFixture f;
    const std::string bytes =
        Join({kHeader18, Line("2454123.5", "9"), "kept aside", Line("2454124.5", "10"), "1,2,3"});
    test::WriteFileBytes(f.errors, bytes);
    const ImportResult r = f.Load(f.errors);
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(std::tie(r.stored, r.rejected), std::make_tuple(2, 2));
    EXPECT_EQ(f.table.Count(), 2);
    EXPECT_EQ(f.ErrorBytes(), "kept aside\r\n1,2,3\r\n");
}

TEST(StarFileImport, DeviceOrPipeIsRefusedWithTheLoadFailureMessage) {
    ImportFixture f;
    test::WriteFileBytes(f.errors, "left from before\r\n");
    const std::string fifo = f.dir.file("star.pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo}) {
        const ImportResult r = f.Load(path);
        EXPECT_EQ(r.outcome, Outcome::CannotOpen) << path;
        ExpectMessage(r, "Error in loading database. Check source file.\r\nNot a regular file",
                      "Error", Icon::Critical);
    }
    EXPECT_EQ(f.ErrorBytes(), "left from before\r\n");
}

TEST(StarFileImport, LineLongerThan64KiBIsRejectedAndOnlyItsStartKept) {
    // Without terminator the long line ends the file, and as a middle line it carries commas
    // enough for a data line: rejected either way.
    const std::string huge = Line("2454125.5", "9") + std::string(6 << 20, ',');
    for (const bool last : {false, true}) {
        SCOPED_TRACE(last);
        ImportFixture f;
        std::string bytes = Join({Line("2454123.5", "9"), Line("2454124.5", "10")});
        bytes += last ? huge : huge + "\r\n" + Line("2454126.5", "11") + "\r\n";
        const ImportResult r = f.Import(bytes);
        EXPECT_EQ(r.outcome, Outcome::Loaded);
        EXPECT_EQ(std::tie(r.stored, r.rejected), std::make_tuple(last ? 2 : 3, 1));
        EXPECT_EQ(f.ErrorBytes(), huge.substr(0, 64 * 1024) + "\r\n");
    }
}

TEST(StarFileImport, FullDiskKeepsTheOldErrorFileAndStoresNothing) {
    ImportFixture f;
    test::WriteFileBytes(f.errors, "left from before\r\n");
    std::vector<std::string> lines = Lines(3);
    for (int i = 0; i < 100; ++i) lines.push_back("a rejected line, one of many");
    const std::string bytes = Join(lines);
    test::WriteFileBytes(f.dir.file("star.txt"), bytes);
    {
        test::FileSizeLimit fullAfter(1000);
        EXPECT_THROW(f.Load(f.dir.file("star.txt")), SabrixError);
    }
    EXPECT_EQ(f.ErrorBytes(), "left from before\r\n");
    EXPECT_EQ(f.table.Count(), 0);
}

}  // namespace sabrix

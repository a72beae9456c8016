#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/SabrixError.h"
#include "data/CsvLine.h"
#include "data/StarFileImport.h"
#include "support/TestEnvironment.h"

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
                 const std::string& star = "SS Cyg", const std::string& comments = "",
                 const std::string& valid = "Z") {
    return jd + "," + mag + ",0.01,," + band + ",ABC,,C1,C2,X123," + comments + ",0,1.2," + valid +
           ",12.1,12.2,," + star;
}

// The JD text of a day after 2454000, as a download writes it.
std::string Jd(int day) {
    return std::to_string(2454000 + day) + ".5";
}

std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
    std::string bytes;
    for (const auto& l : lines) bytes += l + end;
    return bytes;
}

// A program directory with an empty table and a place for the error file.
struct ImportFixture {
    test::TempProgramDir dir;
    ObsTable table{dir.file("Template97.db")};
    std::string errors = dir.file("Errors.txt");

    ImportResult Import(const std::string& bytes, const ImportCallbacks& callbacks = {}) {
        const std::string path = dir.file("star.txt");
        test::WriteFileBytes(path, bytes);
        return ImportStarFileRows(path, errors, table, Colors(), callbacks);
    }
    std::vector<ObsRow> Rows() const {
        std::vector<ObsRow> rows;
        table.ForEachRowById([&](const ObsRow& r) { rows.push_back(r); });
        return rows;
    }
    std::string ErrorBytes() const { return test::ReadFileBytes(errors); }
};

}  // namespace

TEST(CountLines, CountsLinesPlusTwentyAndZeroForAMissingFile) {
    test::TempProgramDir dir(false);
    test::WriteFileBytes(dir.file("three.txt"), "a\nb\r\nc");
    test::WriteFileBytes(dir.file("empty.txt"), "");
    EXPECT_EQ(CountLines(dir.file("three.txt")), 23);
    EXPECT_EQ(CountLines(dir.file("empty.txt")), 20);
    EXPECT_EQ(CountLines(dir.file("missing.txt")), 0);
    EXPECT_EQ(CountLines(dir.path()), 0);
}

TEST(ClassifyStarLine, TellsDataFromSkippedAndRejectedLines) {
    CsvLine splitter;
    auto classOf = [&](const std::string& line) { return ClassifyStarLine(splitter.split(line)); };
    EXPECT_EQ(classOf(Line("2454123.5", "9")), StarLineClass::Data);
    EXPECT_EQ(classOf(Line("2454123.51234", "9")), StarLineClass::Data);
    EXPECT_EQ(classOf(Line("  2454123.5  ", "9")), StarLineClass::Data);
    EXPECT_EQ(classOf(Line("2454123.5", "9") + kExtra6), StarLineClass::Data);
    EXPECT_EQ(classOf(Line("2455411", "9")), StarLineClass::Data);
    EXPECT_EQ(classOf(Line("2454123.5abc", "9")), StarLineClass::Data);
    EXPECT_EQ(classOf(kHeader18), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("JD", "9")), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("245412.5", "9")), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("24541234.5", "9")), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("2454123.", "9")), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("24551234", "9")), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("\t2454123.5", "9")), StarLineClass::Skipped);
    EXPECT_EQ(classOf(Line("2454123.5", "9") + ",x"), StarLineClass::Rejected);
    EXPECT_EQ(classOf(Line("2454123.5", "9") + kExtra6 + ",x"), StarLineClass::Rejected);
    EXPECT_EQ(classOf("2454123.5,9"), StarLineClass::Rejected);
    EXPECT_EQ(classOf(""), StarLineClass::Rejected);
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

TEST(StarFileImport, LoadsAHundredRowsAfterTheHeaderWithProgressAndYields) {
    ImportFixture f;
    std::vector<std::string> lines{kHeader18};
    for (int i = 0; i < 100; ++i) lines.push_back(Line(Jd(i), "9.1"));
    int32_t started = -1;
    std::vector<std::string> captions;
    std::vector<int64_t> progress;
    int yields = 0;
    ImportCallbacks cb;
    cb.started = [&](int32_t count) { started = count; };
    cb.firstRow = [&](const std::string& caption) { captions.push_back(caption); };
    cb.progress = [&](int64_t n) { progress.push_back(n); };
    cb.yield = [&] { ++yields; };

    const ImportResult r = f.Import(Join(lines), cb);

    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(r.stored, 100);
    EXPECT_EQ(r.rejected, 0);
    EXPECT_EQ(r.recordCount, 121);
    EXPECT_EQ(started, 121);
    EXPECT_EQ(captions, std::vector<std::string>{"Loading 121 Records for SS CYG"});
    ASSERT_EQ(progress.size(), 100u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 99);
    // Before the header and the first row (0 stored), and before row 51 (50 stored).
    EXPECT_EQ(yields, 3);
    EXPECT_EQ(f.table.Count(), 100);
    EXPECT_EQ(f.ErrorBytes(), "");
    EXPECT_TRUE(std::filesystem::exists(f.errors));
    EXPECT_FALSE(ImportMessageFor(r));
}

TEST(StarFileImport, WritesLinesOfOtherFieldCountsToTheErrorFileAndCountsThem) {
    ImportFixture f;
    const std::string short17 = "2454123.5,9,,,V,ABC,,,,,,,,,,,";
    const std::string long19 = Line("2454124.5", "9") + ",extra";
    const std::string long25 = Line("2454125.5", "9") + kExtra6 + ",more";
    std::vector<std::string> lines{kHeader18};
    for (int i = 0; i < 99; ++i) lines.push_back(Line(Jd(i), "9"));
    lines.insert(lines.begin() + 10, short17);
    lines.insert(lines.begin() + 50, "");
    lines.push_back(long19);
    lines.push_back(long25);

    ImportResult r = f.Import(Join(lines));
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(r.stored, 99);
    EXPECT_EQ(r.rejected, 4);
    EXPECT_EQ(f.ErrorBytes(), short17 + "\r\n\r\n" + long19 + "\r\n" + long25 + "\r\n");

    lines.pop_back();
    ASSERT_EQ(lines.size(), 103u);  // three of them bad
    ImportFixture g;
    r = g.Import(Join(lines));
    EXPECT_EQ(r.rejected, 3);
    EXPECT_EQ(r.recordCount, 123);
    const auto message = ImportMessageFor(r);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "3 out of 123 records did not comply with the Norvane data format.\r\n"
              "These records have been ignored.\r\n"
              "Check Errors.txt for non-compliant records.");
    EXPECT_EQ(message->title, "Database Record Error");
    EXPECT_EQ(message->icon, Icon::None);
}

TEST(StarFileImport, ErrorFileIsRewrittenByEveryImport) {
    ImportFixture f;
    test::WriteFileBytes(f.errors, "left from before\r\n");
    f.Import(Join({Line("2454123.5", "9"), "bad line"}));
    EXPECT_EQ(f.ErrorBytes(), "bad line\r\n");
    f.Import(Join({Line("2454123.5", "9")}));
    EXPECT_EQ(f.ErrorBytes(), "");
}

TEST(StarFileImport, FainterThanRowsKeepTheLimitAsMagnitude) {
    ImportFixture f;
    const ImportResult r = f.Import(Join({
        Line("2454123.5", "<11.5", "Vis."),
        Line("2454124.5", "< 11.5 ", "V"),
        Line("2454125.5", " 11.6 ", "Vis."),
    }));
    ASSERT_EQ(r.outcome, Outcome::Loaded);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Faint, "<");
    EXPECT_EQ(rows[0].Mag, 11.5);
    EXPECT_EQ(rows[0].PunktFarb, 2);
    EXPECT_EQ(rows[1].Faint, "<");
    EXPECT_EQ(rows[1].Mag, 11.5);
    EXPECT_EQ(rows[1].PunktFarb, 2);
    EXPECT_EQ(rows[2].Faint, "");
    EXPECT_EQ(rows[2].Mag, 11.6);
    EXPECT_EQ(rows[2].PunktFarb, 1);
}

TEST(StarFileImport, StarNameIsUpperCasedInStarAndKeptAsReadInStarName) {
    ImportFixture f;
    std::vector<std::string> captions;
    ImportCallbacks cb;
    cb.firstRow = [&](const std::string& c) { captions.push_back(c); };
    // A Latin-1 letter is not an ASCII letter: its byte must come through unchanged.
    const ImportResult r = f.Import(
        Join({Line("2454123.5", "9", "V", "  r leo  "), Line("2454124.5", "9", "V", " z \xe9t ")}),
        cb);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Star, "R LEO");
    EXPECT_EQ(rows[1].Star, "Z \xe9T");
    EXPECT_EQ(r.starName, "z \xe9t");
    EXPECT_EQ(captions, std::vector<std::string>{"Loading 22 Records for R LEO"});
}

TEST(StarFileImport, StoresSevenDigitDatesAndSkipsSixDigitOnes) {
    ImportFixture f;
    const ImportResult r = f.Import(Join({
        Line("245412.5", "9"),
        Line("2455411", "9.5"),
        Line(" 2455412 ", "9.6"),
        Line("JD", "9"),
    }));
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(r.rejected, 0);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].JD, 2455411.0);
    EXPECT_EQ(rows[1].JD, 2455412.0);
    EXPECT_EQ(f.ErrorBytes(), "");
}

TEST(StarFileImport, ReadsCrLfCrAndLfLineEndsAlike) {
    const std::vector<std::string> lines{kHeader18, Line("2454123.5", "9"), "bad",
                                         Line("2454124.5", "10")};
    for (const std::string end : {"\r\n", "\r", "\n"}) {
        SCOPED_TRACE(end == "\n" ? "LF" : end == "\r" ? "CR" : "CR LF");
        ImportFixture f;
        std::string bytes = Join(lines, end);
        bytes.resize(bytes.size() - end.size());  // no terminator after the last line
        const ImportResult r = f.Import(bytes);
        EXPECT_EQ(r.stored, 2);
        EXPECT_EQ(r.rejected, 1);
        EXPECT_EQ(r.recordCount, 24);
        EXPECT_EQ(f.ErrorBytes(), "bad\r\n");
    }
}

TEST(StarFileImport, TakesQuotedFieldsWithCommasAndTheTwentyFourFieldLayout) {
    ImportFixture f;
    const std::string line24 =
        Line("2454123.5", "9", "V", "SS Cyg", "\"\"\"text, with commas\"\"\"") + kExtra6;
    const std::string quotedStar = Line("2454124.5", "9", "V", "\"SS Cyg, b\"");
    const ImportResult r = f.Import(Join({line24, quotedStar}));
    EXPECT_EQ(r.stored, 2);
    EXPECT_EQ(r.rejected, 0);
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Comments, "\"text, with commas\"");
    EXPECT_EQ(rows[0].Star, "SS CYG");
    EXPECT_EQ(rows[1].Star, "SS CYG, B");
}

TEST(StarFileImport, BytesOfLatin1CommentsSurvive) {
    ImportFixture f;
    const std::string comment = "Ger\xe4t \xb0 faint";
    f.Import(Join({Line("2454123.5", "9", "V", "SS Cyg", comment), "bad \xe9"}));
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Comments, comment);
    EXPECT_EQ(f.ErrorBytes(), "bad \xe9\r\n");
}

TEST(StarFileImport, NumberThatIsNoNumberAbandonsTheWholeImport) {
    for (const std::string bad : {"8.3:", "<", "abc", ""}) {
        SCOPED_TRACE("Mag '" + bad + "'");
        ImportFixture f;
        std::vector<std::string> lines;
        for (int i = 0; i < 60; ++i) lines.push_back(Line(Jd(i), "9"));
        lines.push_back(Line(" 2454200.25 ", bad));
        lines.push_back(Line("2454201.5", "9"));
        const ImportResult r = f.Import(Join(lines));
        EXPECT_EQ(r.outcome, Outcome::ConversionFailed);
        EXPECT_EQ(r.lastJD, "2454200.25");
        EXPECT_EQ(r.stored, 0);
        EXPECT_EQ(f.table.Count(), 0);
        const auto message = ImportMessageFor(r);
        ASSERT_TRUE(message);
        EXPECT_EQ(message->text,
                  "Error in loading database. Check source file. Last JD loaded was: "
                  "2454200.25.\r\nData type conversion error.");
        EXPECT_EQ(message->title, "Error");
        EXPECT_EQ(message->icon, Icon::Critical);
    }
    ImportFixture f;
    const ImportResult r = f.Import(Join({Line("2454123.5", "9"), Line("2454124.5x", "9")}));
    EXPECT_EQ(r.outcome, Outcome::ConversionFailed);
    EXPECT_EQ(r.lastJD, "2454124.5x");
    EXPECT_EQ(f.table.Count(), 0);
}

TEST(StarFileImport, FailedImportLeavesEarlierRowsExactlyAsTheyWere) {
    ImportFixture f;
    f.Import(Join({Line("2454123.5", "9")}));
    ASSERT_EQ(f.table.Count(), 1);
    // A callback that throws (as a window closing under the import might) rolls back too.
    ImportCallbacks cb;
    cb.progress = [](int64_t n) {
        if (n == 3) throw std::runtime_error("interrupted");
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) lines.push_back(Line(Jd(i), "9"));
    EXPECT_THROW(f.Import(Join(lines), cb), std::runtime_error);
    EXPECT_EQ(f.table.Count(), 1);
    f.Import(Join({Line("2454300.5", "9"), Line("2454301.5", "x")}));
    const auto rows = f.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].JD, 2454123.5);
}

TEST(StarFileImport, UnwritableErrorFileIsReportedAndStoresNothing) {
    ImportFixture f;
    f.errors = f.dir.file("no-such-folder/Errors.txt");
    EXPECT_THROW(f.Import(Join({Line("2454123.5", "9"), "bad"})), SabrixError);
    EXPECT_EQ(f.table.Count(), 0);
}

TEST(StarFileImport, FileWithoutDataLinesLoadsNothing) {
    ImportFixture f;
    const ImportResult r = f.Import(Join({kHeader18, "some other format", "1,2,3"}));
    EXPECT_EQ(r.outcome, Outcome::NoDataLines);
    EXPECT_EQ(r.rejected, 2);
    EXPECT_EQ(f.table.Count(), 0);
    const auto message = ImportMessageFor(r);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "Error in loading database. Check source file.");
    EXPECT_EQ(message->title, "Sabrix");
    EXPECT_EQ(message->icon, Icon::None);
}

TEST(StarFileImport, EmptyFileReadsPastTheEnd) {
    ImportFixture f;
    const ImportResult r = f.Import("");
    EXPECT_EQ(r.outcome, Outcome::InputPastEnd);
    EXPECT_EQ(r.recordCount, 20);
    const auto message = ImportMessageFor(r);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              "Error in loading database. Check source file.\r\nInput past end of file");
    EXPECT_EQ(message->title, "Error");
    EXPECT_EQ(message->icon, Icon::Critical);
}

TEST(StarFileImport, FileThatCannotBeOpenedSaysWhy) {
    ImportFixture f;
    bool started = false;
    ImportCallbacks cb;
    cb.started = [&](int32_t) { started = true; };
    ImportResult r = ImportStarFileRows(f.dir.file("missing.txt"), f.errors, f.table, Colors(), cb);
    EXPECT_EQ(r.outcome, Outcome::CannotOpen);
    EXPECT_EQ(r.description, std::strerror(ENOENT));
    EXPECT_EQ(r.recordCount, 0);
    EXPECT_FALSE(started);
    auto message = ImportMessageFor(r);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->text,
              QString("Error in loading database. Check source file.\r\n") + std::strerror(ENOENT));
    EXPECT_EQ(message->title, "Error");
    EXPECT_EQ(message->icon, Icon::Critical);

    r = ImportStarFileRows(f.dir.path(), f.errors, f.table, Colors(), cb);
    EXPECT_EQ(r.outcome, Outcome::CannotOpen);
    EXPECT_EQ(r.description, std::strerror(EISDIR));
}

TEST(StarFileImport, RealDownloadsLoadCompletely) {
    struct Sample {
        const char* name;
        int64_t rows;
    };
    for (const Sample s : {Sample{"download-ccd.txt", 340}, Sample{"download-mixed.txt", 4065}}) {
        SCOPED_TRACE(s.name);
        ImportFixture f;
        const ImportResult r =
            ImportStarFileRows(test::SampleFile(s.name), f.errors, f.table, Colors(), {});
        EXPECT_EQ(r.outcome, Outcome::Loaded);
        EXPECT_EQ(r.stored, s.rows);
        EXPECT_EQ(r.rejected, 0);
        EXPECT_EQ(r.recordCount, s.rows + 21);
        EXPECT_EQ(f.table.Count(), s.rows);
        EXPECT_EQ(f.ErrorBytes(), "");
    }
}

}  // namespace sabrix

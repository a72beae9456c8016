// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "core/SabrixError.h"
#include "data/DownloadFileExport.h"
#include "data/StarFileImport.h"
#include "support/TempTable.h"

namespace sabrix {

namespace {

// Every field of the download layout and the colour it gives; not the ID, which a new table
// numbers afresh.
auto Fields(const ObsRow& r) {
    return std::tie(r.JD, r.Faint, r.Mag, r.Uncertain, r.HQUncertain, r.Band, r.Init, r.ComCod,
                    r.Comp1, r.Comp2, r.Charts, r.Comments, r.XForm, r.AirMass, r.Valid, r.CMag,
                    r.KMag, r.HQJD, r.Star, r.ObserverAffiliation, r.MeasurementMethod,
                    r.GroupingMethod, r.ADSReference, r.Digitizer, r.Credit, r.PunktFarb, r.Desig,
                    r.Marked, r.Edited);
}

void ExpectSameRows(const std::vector<ObsRow>& want, const std::vector<ObsRow>& got) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_TRUE(Fields(got[i]) == Fields(want[i]))
            << "JD " << want[i].JD << " comments [" << want[i].Comments << "] came back as JD "
            << got[i].JD << " [" << got[i].Comments << "]";
    }
}

// A table loaded from a file, through the import that "Load a File" runs.
struct LoadedTable : test::TempTable {
    ImportResult Load(const std::string& file) { return LoadStarFile(file, Settings{}); }
};

}  // namespace

TEST(DownloadFileExport, EveryRealDownloadLoadsAgainWithEveryFieldAfterEditsAndDeletions) {
    const std::vector<std::string> files = test::RealDownloads();
    ASSERT_GE(files.size(), 2u);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        LoadedTable loaded;
        ASSERT_EQ(loaded.Load(file).outcome, ImportResult::Outcome::Loaded);
        std::vector<ObsRow> rows = loaded.Rows();
        ASSERT_GT(rows.size(), 10u);
        // The six later fields are kept, not only carried through empty.
        EXPECT_EQ(std::tie(rows[0].ObserverAffiliation, rows[0].MeasurementMethod),
                  std::make_tuple("VVS", "STD"));

        // Edits as the record list makes them, texts that need quoting among them, and a
        // deletion: the edited rows go into a table of their own, then one row is deleted.
        rows[1].Comments = "said \"dim, faint\"";
        rows[2].Comp1 = "\"";
        rows[3].Credit = "A, B and \"C\"";
        rows[4].Star = "V1, TEST";
        rows[5].Mag = 9.123456789012345;  // more digits than 15: every one comes back
        rows[5].Faint = "<";
        rows[7].JD = 2457845.4750512345;
        LoadedTable edited;
        edited.Add(rows);
        ASSERT_EQ(edited.table.DeleteByIds({edited.Rows()[6].ID}), 1);
        const std::vector<ObsRow> want = edited.Rows();

        test::WriteFileBytes(edited.dir.file("saved.txt"),
                             DownloadFileText(edited.table, nullptr, {}).bytes());
        LoadedTable again;
        const ImportResult result = again.Load(edited.dir.file("saved.txt"));
        EXPECT_EQ(std::tie(result.outcome, result.rejected),
                  std::make_tuple(ImportResult::Outcome::Loaded, 0));
        ExpectSameRows(want, again.Rows());
    }
}

TEST(DownloadFileExport, WritesTheHeaderAndOneQuotedCrLfLinePerRowInIdOrder) {
    test::TempTable t;
    ObsRow a;
    a.JD = 2454123.5;
    a.Mag = 11;
    a.Faint = "<";
    a.Band = "Vis.";
    a.Init = "ABC";
    a.Comments = "x,y";
    a.Star = "SS CYG";
    ObsRow b = a;
    b.JD = 2454100.25;
    b.Faint.clear();
    b.Mag = 10.428;
    b.Comments.clear();
    b.Digitizer = "D";
    t.Add({a, b});
    int yields = 0;
    EXPECT_EQ(DownloadFileText(t.table, nullptr, [&yields] { ++yields; }).bytes(),
              DownloadFileHeaderLine() + "\r\n" +
                  "2454123.5,<11,,,Vis.,ABC,,,,,\"x,y\",,,,,,,SS CYG,,,,,,\r\n" +
                  "2454100.25,10.428,,,Vis.,ABC,,,,,,,,,,,,SS CYG,,,,,D,\r\n");
    EXPECT_EQ(yields, 2);
    EXPECT_EQ(std::count(DownloadFileHeaderLine().begin(), DownloadFileHeaderLine().end(), ','),
              23);
}

TEST(DownloadFileExport, EmptyTableIsRefused) {
    test::TempTable t;
    EXPECT_THROW(DownloadFileText(t.table, nullptr, {}), SabrixError);
}

}  // namespace sabrix

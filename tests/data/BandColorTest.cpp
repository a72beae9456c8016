#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/BandColor.h"
#include "support/TestEnvironment.h"

namespace sabrix {

namespace {

// Each colour setting gets its own value, so a wrong rule shows up as a wrong number.
Settings DistinctColors() {
    Settings s;
    s.ColorVIS = 1;
    s.ColorFAINT = 2;
    s.ColorDISC = 3;
    s.ColorNA = 4;
    s.ColorU = 5;
    s.ColorV = 6;
    s.ColorB = 7;
    s.ColorR = 8;
    s.ColorI = 9;
    s.ColorCR = 10;
    s.ColorCV = 11;
    s.ColorJ = 12;
    s.ColorH = 13;
    return s;
}

struct Case {
    std::string faint, band, valid;
    double Settings::*want;
};

}  // namespace

TEST(BandColor, FollowsTheRulesInOrder) {
    const Settings c = DistinctColors();
    const std::vector<Case> cases = {
        {"", "Vis.", "", &Settings::ColorVIS},
        {"<", "VIS", "", &Settings::ColorFAINT},
        {" < ", "V", "D", &Settings::ColorFAINT},
        {"", "V", "D", &Settings::ColorDISC},
        {"", "Vis", "D", &Settings::ColorVIS},
        {"", "V", " D ", &Settings::ColorDISC},
        {"", " V ", "", &Settings::ColorV},
        {"", "v", "", &Settings::ColorVIS},
        {"", "", "", &Settings::ColorNA},
        {"", "   ", "", &Settings::ColorNA},
        {"", "", "D", &Settings::ColorDISC},
        {"", "U", "", &Settings::ColorU},
        {"", "R", "", &Settings::ColorR},
        {"", "CV", "", &Settings::ColorCV},
        {"", "J", "", &Settings::ColorJ},
        {"", "CR", "", &Settings::ColorCR},
        {"", "HA", "", &Settings::ColorH},
        {"", "SB", "", &Settings::ColorB},
        {"", "IR", "", &Settings::ColorI},
        {"", "TB", "", &Settings::ColorB},
        {"", "TV", "", &Settings::ColorVIS},
        {"", "TG", "", &Settings::ColorVIS},
        {"", "I", "", &Settings::ColorI},
        {"", "B", "", &Settings::ColorB},
        {"", "H", "", &Settings::ColorH},
        // "CR" is looked for before "H", "B" and "I"; "BH" holds both H and B, H wins.
        {"", "CRBI", "", &Settings::ColorCR},
        {"", "BH", "", &Settings::ColorH},
        // The exact-match step ignores blanks; a lower-case validation flag is not "D".
        {"", " CV", "", &Settings::ColorCV},
        {"", "V", "d", &Settings::ColorV},
        // A faint mark of blanks only is no faint mark.
        {"  ", "V", "", &Settings::ColorV},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE("faint '" + k.faint + "' band '" + k.band + "' valid '" + k.valid + "'");
        EXPECT_EQ(BandColor(k.faint, k.band, k.valid, c), static_cast<int32_t>(c.*k.want));
    }
}

TEST(BandColor, RoundsTheSettingToTheNearestInteger) {
    Settings c = DistinctColors();
    c.ColorV = 16777214.6;
    EXPECT_EQ(BandColor("", "V", "", c), 16777215);
    c.ColorV = 255.4;
    EXPECT_EQ(BandColor("", "V", "", c), 255);
    c.ColorV = 1e12;  // a damaged settings file must not make the conversion undefined
    EXPECT_EQ(BandColor("", "V", "", c), 2147483647);
}

namespace {

ObsRow MarkableRow(double jd, const std::string& band, const std::string& init,
                   const std::string& faint = "") {
    ObsRow r;
    r.JD = jd;
    r.Mag = 10;
    r.Band = band;
    r.Init = init;
    r.Faint = faint;
    r.PunktFarb = BandColor(faint, band, "", DistinctColors());
    return r;
}

std::vector<ObsRow> AllRows(const ObsTable& table) {
    std::vector<ObsRow> rows;
    table.ForEachRowById([&](const ObsRow& r) { rows.push_back(r); });
    return rows;
}

}  // namespace

TEST(UnMarkObs, GivesMarkedRowsTheirBandColourBackAndClearsTheMarkList) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    {
        ObsTable::BulkInserter in(table);
        in.add(MarkableRow(1, "V", "ABC"));
        in.add(MarkableRow(2, "B", "ABC", "<"));
        in.add(MarkableRow(3, "Vis.", "XYZ"));
        in.commit();
    }
    AppState state;
    state.settings = DistinctColors();
    table.MarkObserver("ABC", 0xff00ff, "1");
    state.overlay.ObserverMarked = true;
    state.overlay.MarkList.push_back({"1", "1", "10", "16711935"});
    state.overlay.MarkCount = 1;

    UnMarkObs(state, table);

    const auto rows = AllRows(table);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].PunktFarb, 6);  // ColorV again
    EXPECT_EQ(rows[1].PunktFarb, 2);  // a fainter-than row gets ColorFAINT, whatever its band
    EXPECT_EQ(rows[2].PunktFarb, 1);
    for (const ObsRow& r : rows) EXPECT_EQ(r.Marked, "");
    EXPECT_FALSE(state.overlay.ObserverMarked);
    EXPECT_TRUE(state.overlay.MarkList.empty());
    EXPECT_EQ(state.overlay.MarkCount, 0);
}

TEST(UnMarkObs, LeavesUnmarkedRowsAsTheyAre) {
    test::TempProgramDir dir;
    ObsTable table(dir.file("Template97.db"));
    {
        ObsTable::BulkInserter in(table);
        ObsRow r = MarkableRow(1, "V", "ABC");
        r.PunktFarb = 424242;  // given under older colour settings: must survive
        in.add(r);
        in.commit();
    }
    AppState state;
    state.settings = DistinctColors();
    UnMarkObs(state, table);
    const auto rows = AllRows(table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].PunktFarb, 424242);
    EXPECT_FALSE(state.overlay.ObserverMarked);
}

}  // namespace sabrix

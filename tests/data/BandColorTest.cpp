#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/BandColor.h"
#include "support/TempTable.h"

namespace sabrix {

namespace {

// Each colour setting gets its own value (1 to 13), so a wrong rule shows up as a wrong number.
Settings DistinctColors() {
    Settings s;
    double n = 0;
    for (double* c :
         {&s.ColorVIS, &s.ColorFAINT, &s.ColorDISC, &s.ColorNA, &s.ColorU, &s.ColorV, &s.ColorB,
          &s.ColorR, &s.ColorI, &s.ColorCR, &s.ColorCV, &s.ColorJ, &s.ColorH})
        *c = ++n;
    return s;
}

ObsRow Row(double jd, const std::string& band, const std::string& faint = "") {
    ObsRow r;
    r.JD = jd;
    r.Band = band;
    r.Init = "ABC";
    r.Faint = faint;
    r.PunktFarb = BandColor(faint, band, "", DistinctColors());
    return r;
}

}  // namespace

TEST(BandColor, FollowsTheRulesInOrder) {
    struct Case {
        std::string faint, band, valid;
        double Settings::*want;
    };
    using S = Settings;
    // "CR" is looked for before "H", "B" and "I"; "BH" holds both H and B, H wins. The exact
    // match ignores blanks; a lower-case validation flag is not "D"; a faint mark of blanks
    // only is no faint mark.
    const std::vector<Case> cases = {
        {"", "Vis.", "", &S::ColorVIS},    {"<", "VIS", "", &S::ColorFAINT},
        {" < ", "V", "D", &S::ColorFAINT}, {"", "V", "D", &S::ColorDISC},
        {"", "Vis", "D", &S::ColorVIS},    {"", "V", " D ", &S::ColorDISC},
        {"", " V ", "", &S::ColorV},       {"", "v", "", &S::ColorVIS},
        {"", "", "", &S::ColorNA},         {"", "   ", "", &S::ColorNA},
        {"", "", "D", &S::ColorDISC},      {"", "U", "", &S::ColorU},
        {"", "R", "", &S::ColorR},         {"", "CV", "", &S::ColorCV},
        {"", "J", "", &S::ColorJ},         {"", "CR", "", &S::ColorCR},
        {"", "HA", "", &S::ColorH},        {"", "SB", "", &S::ColorB},
        {"", "IR", "", &S::ColorI},        {"", "TB", "", &S::ColorB},
        {"", "TV", "", &S::ColorVIS},      {"", "TG", "", &S::ColorVIS},
        {"", "I", "", &S::ColorI},         {"", "B", "", &S::ColorB},
        {"", "H", "", &S::ColorH},         {"", "CRBI", "", &S::ColorCR},
        {"", "BH", "", &S::ColorH},        {"", " CV", "", &S::ColorCV},
        {"", "V", "d", &S::ColorV},        {"  ", "V", "", &S::ColorV}};
    const Settings c = DistinctColors();
    for (const Case& k : cases) {
        SCOPED_TRACE("faint '" + k.faint + "' band '" + k.band + "' valid '" + k.valid + "'");
        EXPECT_EQ(BandColor(k.faint, k.band, k.valid, c), static_cast<int32_t>(c.*k.want));
    }
}

TEST(BandColor, RoundsTheSettingToTheNearestInteger) {
    Settings c = DistinctColors();
    for (const auto& [setting, want] : {std::pair<double, int32_t>{16777214.6, 16777215},
                                        {255.4, 255},
                                        // A damaged settings file must not make the
                                        // conversion undefined.
                                        {1e12, 2147483647}}) {
        c.ColorV = setting;
        EXPECT_EQ(BandColor("", "V", "", c), want);
    }
}

TEST(UnMarkObs, GivesMarkedRowsTheirBandColourBackAndLeavesOthersAlone) {
    test::TempTable t;
    ObsRow older = Row(4, "V");
    older.Init = "XYZ";
    older.PunktFarb = 424242;  // given under older colour settings: must survive
    t.Add({Row(1, "V"), Row(2, "B", "<"), Row(3, "Vis."), older});
    AppState state;
    state.settings = DistinctColors();
    t.table.MarkObserverInIdOrder("ABC", 0xff00ff, "1", [](double, double) {});
    state.overlay.ObserverMarked = true;
    state.overlay.MarkList.push_back({"1", "1", "10", "16711935"});
    state.overlay.MarkCount = 1;
    UnMarkObs(state, t.table);
    std::vector<int32_t> colors;
    for (const ObsRow& r : t.Rows()) {
        colors.push_back(r.PunktFarb);
        EXPECT_EQ(r.Marked, "");
    }
    // ColorV, then ColorFAINT for the fainter-than row whatever its band, then ColorVIS.
    EXPECT_EQ(colors, (std::vector<int32_t>{6, 2, 1, 424242}));
    EXPECT_FALSE(state.overlay.ObserverMarked);
    EXPECT_TRUE(state.overlay.MarkList.empty());
    EXPECT_EQ(state.overlay.MarkCount, 0);
}

}  // namespace sabrix

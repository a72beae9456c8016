// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/SettingsFile.h"
#include "data/BandColor.h"

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

// A download of many bands: each band that no rule names gets a colour of its own, apart
// from every other band shown and from the fainter-than and discrepant colours, while the
// rules (a colour set in Configure among them) keep theirs.
TEST(BandColorsFor, GivesEveryBandWithoutARuleAColourNoOtherShownBandHas) {
    Settings c = DefaultSettings("/tmp/");
    c.ColorB = 1193046;  // set in Configure
    const std::vector<ColumnText> bands = {
        {"Vis.", 900}, {"V", 700},   {"B", 500},  {"TB", 400}, {"TG", 390}, {"TR", 380},
        {"MA", 370},   {"N/A", 360}, {"I", 350},  {"MI", 340}, {"SI", 330}, {"SR", 320},
        {"SG", 310},   {"CBB", 300}, {"HA", 290}, {"Z", 280},  {"Y", 270},  {"gone", 0}};
    const BandColorMap given = BandColorsFor(bands, c);
    EXPECT_EQ(given.size(), 13u);  // all but Vis., V, B, I and the band with no observation
    EXPECT_FALSE(given.contains("gone"));
    std::set<int32_t> seen = {BandColor("<", "TB", "", c, given),
                              BandColor("", "TB", "D", c, given)};
    EXPECT_EQ(seen, (std::set<int32_t>{static_cast<int32_t>(c.ColorFAINT),
                                       static_cast<int32_t>(c.ColorDISC)}));
    for (const ColumnText& band : bands) {
        if (band.count == 0) continue;
        SCOPED_TRACE(band.text);
        EXPECT_TRUE(seen.insert(BandColor("", band.text, "", c, given)).second);
    }
    EXPECT_EQ(BandColor("", "B", "", c, given), 1193046);
    EXPECT_EQ(BandColor("", "Vis.", "", c, given), BandColor("", "Vis.", "", c));
    // The same bands give the same colours at every load; a band an edit brings in gets one
    // more, and a band that has one keeps it.
    EXPECT_EQ(BandColorsFor(bands, c), given);
    BandColorMap edited = given;
    AddBandColor(edited, " QQ ", c);
    AddBandColor(edited, "TB", c);
    AddBandColor(edited, "V", c);
    ASSERT_EQ(edited.size(), 14u);
    EXPECT_EQ(edited.at("TB"), given.at("TB"));
    EXPECT_FALSE(seen.contains(edited.at("QQ")));
}

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace sabrix

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "data/FileKindGuess.h"
#include "support/TestEnvironment.h"

namespace sabrix {

using Kind = ObservationFileKind;

TEST(HoldsTwoOrThreeNumbers, CountsNumberFieldsBetweenBlanksTabsAndCommas) {
    const std::pair<const char*, bool> table[] = {
        {"2455001.5 9.1", true},
        {"2455001.5\t<11.2\t0.05", true},
        {"2455001.5, 9.1, 0.012", true},
        {"  2165.84172 14.253 0.005  ", true},
        {"2455001.5 < 11.2", true},
        {"2455001.5", false},
        {"2455001.5 9.1 0.01 7", false},
        {"2455001.5,9.1,0.01,V,ABC", false},
        {"JD,Magnitude,Uncertainty", false},
        {"2455001.5 9.1:", false},
        {"", false},
    };
    for (const auto& [line, want] : table) EXPECT_EQ(HoldsTwoOrThreeNumbers(line), want) << line;
}

TEST(GuessObservationFileKind, ByTheNameEndingInDatOrByTheFirstLines) {
    test::TempProgramDir dir;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        test::WriteFileBytes(dir.file(name), bytes);
        return dir.file(name);
    };
    const std::pair<std::string, Kind> table[] = {
        {std::string(SABRIX_SAMPLE_DATA_DIR) + "/download-ccd.txt", Kind::StarFile},
        {std::string(SABRIX_SAMPLE_DATA_DIR) + "/download-mixed.txt", Kind::StarFile},
        {std::string(SABRIX_SAMPLE_DATA_DIR) + "/three-column.dat", Kind::ThreeColumnFile},
        {write("columns.txt", "\r\n2455001.5 9.1\r\n2455002.5,<9.3,0.1\r\n\r\n"),
         Kind::ThreeColumnFile},
        // The name decides before the content: the load then says what is wrong with it.
        {write("star.DAT", "2455001.5,9.1,V,ABC\n"), Kind::ThreeColumnFile},
        {write("headed.txt", "JD Mag Err\n2455001.5 9.1 0.1\n"), Kind::StarFile},
        {write("data", "2455001.5,9.1,V,ABC\n"), Kind::StarFile},
        {write("empty.txt", ""), Kind::StarFile},
        {write("blank.txt", " \n\t\n"), Kind::StarFile},
        {dir.file("missing.txt"), Kind::StarFile},
        {dir.path(), Kind::StarFile},
    };
    for (const auto& [path, want] : table) EXPECT_EQ(GuessObservationFileKind(path), want) << path;
}

}  // namespace sabrix

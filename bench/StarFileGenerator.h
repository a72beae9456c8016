// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic star files in the download layout (24 fields, header line, CR LF), for the
// benchmarks: JDs increasing over about 40,000 days, about 5% fainter-than magnitudes, bands
// mostly "Vis." with V, B, R, I, CV and TG, a pool of about 2,000 observer codes and the code
// "BENCH" on every hundredth line, most optional fields empty.
#pragma once

#include <cstdint>
#include <string>

#include "data/ObsRow.h"

namespace sabrix::bench {

class StarFileGenerator {
  public:
    explicit StarFileGenerator(int64_t lines, uint64_t seed = 20261206);
    // The header line of 24 column names (no line end).
    static std::string HeaderLine();
    // Data line i (0-based), without its line end. Lines come out the same for the same seed.
    std::string DataLine(int64_t i);
    // Writes the header and every data line, each ended by CR LF. Returns false on failure.
    bool WriteFile(const std::string& path);
    int64_t lines() const { return lines_; }

  private:
    uint64_t next();
    int64_t lines_;
    uint64_t state_;
};

}  // namespace sabrix::bench

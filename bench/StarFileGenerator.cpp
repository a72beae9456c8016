// SPDX-License-Identifier: GPL-3.0-or-later
#include "StarFileGenerator.h"

#include <cstdio>

namespace sabrix::bench {

namespace {
constexpr double kFirstJD = 2415020.5;
constexpr double kSpanDays = 40000.0;
const char* const kBands[] = {"Vis.", "Vis.", "Vis.", "Vis.", "Vis.", "Vis.", "Vis.",
                              "Vis.", "Vis.", "Vis.", "Vis.", "Vis.", "V",    "V",
                              "B",    "R",    "I",    "CV",   "TG",   "Vis."};
}  // namespace

StarFileGenerator::StarFileGenerator(int64_t lines, uint64_t seed) : lines_(lines), state_(seed) {}

uint64_t StarFileGenerator::next() {
    // SplitMix64: fast and the same on every machine.
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string StarFileGenerator::HeaderLine() {
    return "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),"
           "Comp Star 1,Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,"
           "Kmag,HJD,Star Name,Observer Affiliation,Measurement Method,Grouping Method,"
           "ADS Reference,Digitizer,Credit";
}

std::string StarFileGenerator::DataLine(int64_t i) {
    const uint64_t r = next();
    const double jd =
        kFirstJD +
        kSpanDays * (static_cast<double>(i) + 0.5) / static_cast<double>(lines_ > 0 ? lines_ : 1) +
        static_cast<double>(r % 1000) / 100000.0;
    // A slow variable between about 6.5 and 13.5, with scatter: about twelve cycles over the
    // span, so the full view shows a light curve a person recognises.
    const double phase = (jd - kFirstJD) / 3300.0;
    const double mag = 10.0 + 3.5 * __builtin_sin(phase * 6.283185307179586) +
                       static_cast<double>((r >> 10) % 60) / 100.0 - 0.3;
    const bool faint = (r >> 20) % 20 == 0;
    const char* band = kBands[(r >> 26) % 20];
    // Every hundredth line is the marking benchmark's observer.
    char observer[16];
    if (i % 100 == 99)
        std::snprintf(observer, sizeof observer, "BENCH");
    else
        std::snprintf(observer, sizeof observer, "O%04u", static_cast<unsigned>((r >> 32) % 2000));
    const bool ccd = band[0] != 'V' || band[1] != 'i';
    char buf[512];
    int n;
    if (ccd) {
        n = std::snprintf(buf, sizeof buf,
                          "%.5f,%s%.3f,0.0%02u,,%s,%s,,000-BBC-123,000-BBC-456,,,0,%.3f,Z,"
                          ",,,CHI CYG,VVS,STD,,,,",
                          jd, faint ? "<" : "", mag, static_cast<unsigned>((r >> 44) % 90 + 10),
                          band, observer, 1.0 + static_cast<double>((r >> 50) % 100) / 100.0);
    } else {
        n = std::snprintf(buf, sizeof buf, "%.4f,%s%.1f,,,%s,%s,%s,,,,,0,,%s,,,,CHI CYG,,,,,,", jd,
                          faint ? "<" : "", mag, band, observer, (r >> 44) % 7 == 0 ? "B" : "",
                          (r >> 52) % 200 == 0 ? "D" : "Z");
    }
    return std::string(buf, static_cast<size_t>(n));
}

bool StarFileGenerator::WriteFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    std::string chunk = HeaderLine() + "\r\n";
    for (int64_t i = 0; i < lines_; ++i) {
        chunk += DataLine(i);
        chunk += "\r\n";
        if (chunk.size() > (1u << 20)) {
            if (std::fwrite(chunk.data(), 1, chunk.size(), f) != chunk.size()) {
                std::fclose(f);
                return false;
            }
            chunk.clear();
        }
    }
    const bool ok = std::fwrite(chunk.data(), 1, chunk.size(), f) == chunk.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace sabrix::bench

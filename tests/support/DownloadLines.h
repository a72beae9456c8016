// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of a download file as the tests write them: eighteen comma-separated fields of which
// only the ones a test needs are filled.
#pragma once

#include <string>
#include <vector>

namespace sabrix::test {

inline const std::string kDownloadHeader =
    "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code(s),Comp Star 1,"
    "Comp Star 2,Charts,Comments,Transfomed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name";

// One observation line; returns the line without its line end.
inline std::string DataLine(const std::string& jd, const std::string& mag, const std::string& band,
                            const std::string& star, const std::string& comments = "",
                            const std::string& init = "ABC") {
    const std::vector<std::string> fields = {jd, mag,      "", "", band, init, "", "", "",
                                             "", comments, "", "", "",   "",   "", "", star};
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

// The lines joined, each ended by LF.
inline std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace sabrix::test

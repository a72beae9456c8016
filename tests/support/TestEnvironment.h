// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the tests: a temporary program directory with the template database,
// and small file utilities.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <charconv>
#include <ostream>
#include <string>
#include <vector>

// Lets failed comparisons of texts show the text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace sabrix::test {

// A fresh temporary folder. With withTemplate, Template97.db is copied into it, so it can
// serve as the program directory (SABRIX_HOME).
class TempProgramDir {
  public:
    explicit TempProgramDir(bool withTemplate = true);
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    QTemporaryDir dir_;
    std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// Path of a sample download in the shared data folder.
std::string SampleFile(const std::string& name);
// The real downloads (files named download*) of the samples folder and of the shared data
// folder beside the sources, where there is one.
std::vector<std::string> RealDownloads();

// The number at the start of a printed line, read with "." as the decimal point whatever the
// locale of the test (std::stod would stop at the point under a comma locale).
inline double LeadingNumber(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace sabrix::test

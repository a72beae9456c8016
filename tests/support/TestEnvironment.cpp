// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestEnvironment.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sabrix::test {

TempProgramDir::TempProgramDir(bool withTemplate) {
    if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
    path_ = dir_.path().toStdString();
    if (withTemplate) std::filesystem::copy_file(SABRIX_TEMPLATE_DB, path_ + "/Template97.db");
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SampleFile(const std::string& name) {
    return std::string(SABRIX_SAMPLE_DATA_DIR) + "/" + name;
}

std::vector<std::string> RealDownloads() {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const fs::path& folder :
         {fs::path(SampleFile("")), fs::path(SABRIX_SOURCE_DIR) / ".." / "shared" / "data"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            if (entry.path().filename().string().rfind("download", 0) == 0)
                files.push_back(entry.path().string());
    }
    return files;
}

}  // namespace sabrix::test

// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder for the fuzz targets, on a memory file system when the machine has one, so
// that writing the input as a file and syncing the program's output costs little per run.
// It lives until the fuzzing process ends.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "data/ObsTable.h"

namespace sabrix::fuzz {

// Stops the run as a finding: libFuzzer saves the input that got here.
[[noreturn]] inline void Finding(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

class FuzzWorkspace {
  public:
    FuzzWorkspace() {
        std::string name = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        name += "/sabrix-fuzz-XXXXXX";
        if (mkdtemp(name.data()) == nullptr) Finding("cannot create the scratch folder");
        dir_ = name;
        ObsTable::CreateTemplate(file("Template97.db"));
    }
    ~FuzzWorkspace() {
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
    }
    FuzzWorkspace(const FuzzWorkspace&) = delete;
    FuzzWorkspace& operator=(const FuzzWorkspace&) = delete;

    std::string file(const std::string& name) const { return dir_ + "/" + name; }

    // Writes the bytes as the file name in the folder and returns its path.
    std::string writeInput(const std::string& name, const uint8_t* data, size_t size) const {
        const std::string path = file(name);
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) Finding("cannot write the input file");
        if (size > 0 && std::fwrite(data, 1, size, f) != size) Finding("short input write");
        std::fclose(f);
        return path;
    }

    // A fresh, empty Obs table in the file name (replacing what it held).
    std::unique_ptr<ObsTable> emptyTable(const std::string& name) const {
        const std::string path = file(name);
        std::remove(path.c_str());
        std::FILE* in = std::fopen(file("Template97.db").c_str(), "rb");
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (in == nullptr || out == nullptr) Finding("cannot copy the template");
        char buffer[1 << 14];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            std::fwrite(buffer, 1, got, out);
        std::fclose(in);
        std::fclose(out);
        return std::make_unique<ObsTable>(path);
    }

    const std::string& dir() const { return dir_; }

  private:
    std::string dir_;
};

inline FuzzWorkspace& Workspace() {
    static FuzzWorkspace workspace;
    return workspace;
}

}  // namespace sabrix::fuzz

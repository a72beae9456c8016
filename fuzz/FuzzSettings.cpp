// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the settings reader: any Sabrix.ini reads without failing, gives every colour a
// value of the 24-bit range, and the text written from it reads back to the same text.
#include <sys/stat.h>

#include "FuzzWorkspace.h"
#include "core/SettingsFile.h"

using namespace sabrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& w = fuzz::Workspace();
    static const std::string dir = [&w] {
        const std::string d = w.file("program");
        mkdir(d.c_str(), 0700);
        return d;
    }();
    w.writeInput("program/Sabrix.ini", data, size);
    Settings read;
    if (!ReadSettings(dir, read)) fuzz::Finding("an existing Sabrix.ini was not read");
    for (const auto& color : ColorSettings()) {
        const double value = read.*color.member;
        if (!(value >= 0 && value <= 16777215)) fuzz::Finding("colour outside the 24-bit range");
    }
    const std::string text = SettingsFileText(read);
    w.writeInput("program/Sabrix.ini", reinterpret_cast<const uint8_t*>(text.data()), text.size());
    Settings again;
    if (!ReadSettings(dir, again)) fuzz::Finding("a written Sabrix.ini was not read");
    if (SettingsFileText(again) != text) fuzz::Finding("settings do not read back");
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ScratchFolder.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "core/ProcessTag.h"

namespace fs = std::filesystem;

namespace sabrix {

int RemoveStaleScratchFolders(const std::string& tempRoot) {
    return RemoveLeftoversOfEndedProcesses(tempRoot, LeftoverKind::Folder,
                                           [](std::string_view name) { return name; });
}

ScratchFolder::ScratchFolder(const std::string& tempRoot) {
    RemoveStaleScratchFolders(tempRoot);
    std::string name = tempRoot + "/" + ProcessTagStart() + "XXXXXX";
    if (::mkdtemp(name.data()) != nullptr) path_ = name;
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    std::error_code error;
    fs::remove_all(path_, error);
}

}  // namespace sabrix

#include "core/ProgramDir.h"

#include <cstdlib>
#include <filesystem>

namespace sabrix {

std::string ProgramDirectory() {
    if (const char* home = std::getenv("SABRIX_HOME"); home != nullptr && *home != '\0') {
        std::string dir = home;
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return dir;
    }
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

}  // namespace sabrix

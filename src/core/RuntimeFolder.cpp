// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RuntimeFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace sabrix {

std::string FallbackRuntimeFolder(const std::string& tempDir, const std::string& userName) {
    std::string dir = tempDir;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir + "/runtime-" + userName;
}

std::string EnsureRuntimeFolder() {
    if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set != nullptr && *set != '\0')
        return set;
    const char* tmp = std::getenv("TMPDIR");
    const uid_t uid = getuid();
    const passwd* user = getpwuid(uid);
    // Qt names the folder after the user as its own fallback does, so the two agree.
    const std::string name =
        user != nullptr && user->pw_name != nullptr ? user->pw_name : std::to_string(uid);
    const std::string dir =
        FallbackRuntimeFolder(tmp != nullptr && *tmp == '/' ? tmp : "/tmp", name);
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
    // In a shared temporary folder another user may have made the name first: only a real
    // folder of this user's is taken, and nobody else may look into it.
    struct stat info {};
    if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid) return {};
    if ((info.st_mode & 07777) != 0700 && chmod(dir.c_str(), 0700) != 0) return {};
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    return dir;
}

}  // namespace sabrix

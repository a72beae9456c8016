#include "core/ScratchFolder.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace fs = std::filesystem;

namespace sabrix {

namespace {

constexpr std::string_view kPrefix = "sabrix-";
constexpr size_t kSuffixLength = 6;

bool IsSuffixChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The process id in a scratch folder's name, or 0 when the name is no scratch folder's.
pid_t ScratchFolderProcess(std::string_view name) {
    if (name.substr(0, kPrefix.size()) != kPrefix) return 0;
    name.remove_prefix(kPrefix.size());
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || name.size() - dash - 1 != kSuffixLength) return 0;
    for (const char c : name.substr(dash + 1))
        if (!IsSuffixChar(c)) return 0;
    pid_t pid = 0;
    const auto digits = name.substr(0, dash);
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (r.ec != std::errc() || r.ptr != digits.data() + digits.size() || pid <= 0) return 0;
    return pid;
}

// A process another user runs answers EPERM: it is alive all the same.
bool ProcessRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

int RemoveStaleScratchFolders(const std::string& tempRoot) {
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(tempRoot, error), end; !error && it != end;
         it.increment(error)) {
        const pid_t pid = ScratchFolderProcess(it->path().filename().string());
        if (pid == 0 || pid == ::getpid() || ProcessRuns(pid)) continue;
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
        if (!removeError) ++removed;
    }
    return removed;
}

ScratchFolder::ScratchFolder(const std::string& tempRoot) {
    RemoveStaleScratchFolders(tempRoot);
    std::string name =
        tempRoot + "/" + std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    if (::mkdtemp(name.data()) != nullptr) path_ = name;
}

ScratchFolder::~ScratchFolder() {
    if (path_.empty()) return;
    std::error_code error;
    fs::remove_all(path_, error);
}

}  // namespace sabrix

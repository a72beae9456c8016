// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ProcessTag.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

namespace fs = std::filesystem;

namespace sabrix {

namespace {

constexpr std::string_view kPrefix = "sabrix-";
constexpr size_t kSuffixLength = 6;

bool IsSuffixChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A process another user runs answers EPERM: it is alive all the same.
bool ProcessRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

std::string ProcessTagStart() {
    return std::string(kPrefix) + std::to_string(::getpid()) + "-";
}

pid_t TaggedProcess(std::string_view name) {
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

int RemoveLeftoversOfEndedProcesses(
    const std::string& folder, LeftoverKind kind,
    const std::function<std::string_view(std::string_view)>& tagOf) {
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const pid_t pid = TaggedProcess(tagOf(name));
        if (pid == 0 || pid == ::getpid() || ProcessRuns(pid)) continue;
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0 || info.st_uid != ::geteuid()) continue;
        if (!(kind == LeftoverKind::Folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode)))
            continue;
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
        if (!removeError) ++removed;
    }
    return removed;
}

}  // namespace sabrix

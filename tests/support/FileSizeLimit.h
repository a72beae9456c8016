// SPDX-License-Identifier: GPL-3.0-or-later
// Simulates a full disk without mounting anything: while it lives, the process may not write
// any file beyond the given size, and a write that would cross it fails with EFBIG instead of
// raising SIGXFSZ. Keep it alive only around the write under test.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace sabrix::test {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace sabrix::test

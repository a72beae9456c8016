// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/BackupCopy.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/AtomicFile.h"
#include "core/SabrixError.h"

namespace sabrix {

BackupCopy::BackupCopy(const std::string& from, const std::string& to) {
    try {
        file_ = std::make_unique<AtomicFile>(to);
        thread_ = std::thread([this, from] { copy(from); });
    } catch (...) {
        failure_ = std::current_exception();
    }
}

BackupCopy::~BackupCopy() {
    if (thread_.joinable()) thread_.join();
}

void BackupCopy::copy(const std::string& from) {
    try {
        const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
        if (source < 0) throw SabrixError(std::strerror(errno));
        struct Closer {
            int fd;
            ~Closer() { ::close(fd); }
        } closer{source};
        // In pieces through one buffer: a file of many megabytes needs no copy in memory.
        std::string piece(1 << 20, '\0');
        for (;;) {
            const ssize_t got = ::read(source, piece.data(), piece.size());
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw SabrixError(std::strerror(errno));
            if (got == 0) break;
            WriteAllBytes(file_->device(),
                          std::string_view(piece.data(), static_cast<size_t>(got)));
        }
        // The copy goes to the disk here, behind the save's text; the commit then finds little
        // left to push.
        if (auto* temp = dynamic_cast<TempFile*>(&file_->device())) temp->sync();
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void BackupCopy::Commit() {
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(failure_);
    file_->commit();
}

}  // namespace sabrix

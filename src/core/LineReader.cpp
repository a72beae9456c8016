// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace sabrix {

namespace {
constexpr size_t kBlockSize = 1 << 20;
constexpr size_t kSmallestBlock = 4096;
}  // namespace

LineReader::~LineReader() {
    close();
}

bool LineReader::open(const std::string& path) {
    close();
    error_.clear();
    // Opened without waiting, so that a pipe with no writer cannot stall the program before
    // it is found out and refused.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error_ = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return openRegular(fd, info);
}

bool LineReader::openDescriptor(int descriptor) {
    close();
    error_.clear();
    struct stat info {};
    // A duplicate shares its position with the descriptor it came from: it starts over.
    if (descriptor < 0 || ::fstat(descriptor, &info) != 0 ||
        ::lseek(descriptor, 0, SEEK_SET) != 0) {
        error_ = std::strerror(descriptor < 0 ? EBADF : errno);
        if (descriptor >= 0) ::close(descriptor);
        return false;
    }
    return openRegular(descriptor, info);
}

int LineReader::duplicateDescriptor() const {
    if (file_ == nullptr) return -1;
    return ::fcntl(::fileno(file_), F_DUPFD_CLOEXEC, 0);
}

bool LineReader::openRegular(int fd, const struct stat& info) {
    file_ = ::fdopen(fd, "rb");
    if (file_ == nullptr) {
        error_ = std::strerror(errno);
        ::close(fd);
        return false;
    }
    // A small file gets a buffer of its own size: the readers open many of them (the settings
    // file, the line count before each import), and a megabyte each would only cost time.
    const auto fileSize = static_cast<size_t>(std::max<off_t>(info.st_size, 0));
    buffer_.resize(std::clamp(fileSize + 1, kSmallestBlock, kBlockSize));
    begin_ = end_ = 0;
    eof_ = false;
    skipLeadingLF_ = false;
    lineCut_ = false;
    carry_.clear();
    consumed_ = 0;
    return true;
}

void LineReader::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

bool LineReader::fill() {
    if (eof_ || file_ == nullptr) return false;
    const size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    begin_ = 0;
    end_ = got;
    // The ends found in the block before are no ends in this one.
    nextCR_ = nextLF_ = kUnknown;
    if (got == 0) eof_ = true;
    return got > 0;
}

void LineReader::keep(const char* start, size_t length, size_t lineSoFar) {
    if (lineSoFar >= kLongestLine) return;
    carry_.append(start, std::min(length, kLongestLine - lineSoFar));
}

bool LineReader::next(std::string_view& line) {
    if (file_ == nullptr) return false;
    carry_.clear();
    lineCut_ = false;
    bool haveCarry = false;
    size_t lineLength = 0;  // bytes of the line so far, kept or skipped
    for (;;) {
        if (begin_ == end_ && !fill()) {
            if (haveCarry) {
                line = carry_;
                lineCut_ = lineLength > kLongestLine;
                return true;
            }
            return false;
        }
        if (skipLeadingLF_) {
            skipLeadingLF_ = false;
            if (buffer_[begin_] == '\n') {
                ++begin_;
                ++consumed_;
                continue;
            }
        }
        const char* start = buffer_.data() + begin_;
        const char* stop = buffer_.data() + end_;
        const char* p = buffer_.data() + lineEnd();
        const auto length = static_cast<size_t>(p - start);
        if (p == stop) {
            keep(start, length, lineLength);
            lineLength += length;
            consumed_ += static_cast<long long>(length);
            haveCarry = true;
            begin_ = end_;
            continue;
        }
        const bool cr = *p == '\r';
        begin_ += length + 1;
        consumed_ += static_cast<long long>(length) + 1;
        if (cr) {
            if (begin_ < end_) {
                if (buffer_[begin_] == '\n') {
                    ++begin_;
                    ++consumed_;
                }
            } else {
                skipLeadingLF_ = true;
            }
        }
        if (haveCarry) {
            keep(start, length, lineLength);
            line = carry_;
        } else {
            line = std::string_view(start, std::min(length, kLongestLine));
        }
        lineLength += length;
        lineCut_ = lineLength > kLongestLine;
        return true;
    }
}

size_t LineReader::lineEnd() {
    // The next CR and the next LF are each looked for with memchr once per stretch of the
    // block: a line costs no look at each of its bytes, and a file with only one kind of line
    // end is not searched again to its end for the other kind at every line.
    const auto next = [this](size_t& at, char c) {
        if (at >= begin_ && at <= end_) return;
        const void* found = std::memchr(buffer_.data() + begin_, c, end_ - begin_);
        at = found ? static_cast<size_t>(static_cast<const char*>(found) - buffer_.data()) : end_;
    };
    next(nextCR_, '\r');
    next(nextLF_, '\n');
    return std::min(nextCR_, nextLF_);
}

long long LineReader::countLines() {
    if (file_ == nullptr) return 0;
    // Lines = LF + CR - CR LF pairs, plus a last line without an end of its own.
    long long ends = 0;
    char previous = skipLeadingLF_ ? '\r' : '\n';
    while (begin_ < end_ || fill()) {
        const char* block = buffer_.data() + begin_;
        const size_t size = end_ - begin_;
        const char* const stop = block + size;
        size_t lf = 0;
        size_t cr = 0;
        size_t pairs = 0;
        // memchr finds the ends far faster than a look at every byte would.
        for (const char* p = block;
             (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(stop - p))));
             ++p)
            ++lf;
        for (const char* p = block;
             (p = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(stop - p))));
             ++p) {
            ++cr;
            if (p + 1 < stop && p[1] == '\n') ++pairs;
        }
        if (previous == '\r' && block[0] == '\n') ++pairs;
        ends += static_cast<long long>(lf + cr - pairs);
        consumed_ += static_cast<long long>(size);
        previous = block[size - 1];
        begin_ = end_;
    }
    skipLeadingLF_ = false;
    return ends + (previous != '\n' && previous != '\r' ? 1 : 0);
}

long long CountFileLines(const std::string& path) {
    LineReader reader;
    if (!reader.open(path)) return -1;
    return reader.countLines();
}

}  // namespace sabrix

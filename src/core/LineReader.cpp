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
        const char* p = start;
        while (p != stop && *p != '\n' && *p != '\r') ++p;
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

long long CountFileLines(const std::string& path) {
    LineReader reader;
    if (!reader.open(path)) return -1;
    long long count = 0;
    std::string_view line;
    while (reader.next(line)) ++count;
    return count;
}

}  // namespace sabrix

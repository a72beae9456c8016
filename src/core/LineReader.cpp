#include "core/LineReader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace sabrix {

namespace {
constexpr size_t kBlockSize = 1 << 20;
}

LineReader::~LineReader() {
    close();
}

bool LineReader::open(const std::string& path) {
    close();
    error_.clear();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error_ = std::strerror(EISDIR);
        return false;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        error_ = std::strerror(errno);
        return false;
    }
    buffer_.resize(kBlockSize);
    begin_ = end_ = 0;
    eof_ = false;
    skipLeadingLF_ = false;
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

bool LineReader::next(std::string_view& line) {
    if (file_ == nullptr) return false;
    carry_.clear();
    bool haveCarry = false;
    for (;;) {
        if (begin_ == end_ && !fill()) {
            if (haveCarry) {
                line = carry_;
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
        if (p == stop) {
            carry_.append(start, stop);
            consumed_ += stop - start;
            haveCarry = true;
            begin_ = end_;
            continue;
        }
        const size_t length = static_cast<size_t>(p - start);
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
            carry_.append(start, length);
            line = carry_;
        } else {
            line = std::string_view(start, length);
        }
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

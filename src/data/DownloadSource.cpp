// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/DownloadSource.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace sabrix {

std::vector<size_t> LineEnds(std::string_view text) {
    std::vector<size_t> ends;
    size_t i = 0;
    while (i < text.size()) {
        const size_t stop = text.find_first_of("\r\n", i);
        if (stop == std::string_view::npos) {
            ends.push_back(text.size());
            break;
        }
        i = stop + 1;
        if (text[stop] == '\r' && i < text.size() && text[i] == '\n') ++i;
        ends.push_back(i);
    }
    return ends;
}

std::string_view LineContent(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

DownloadSource::DownloadSource(int descriptor, std::vector<int64_t> dataLines, int64_t lineCount)
    : pending_(Pending{descriptor, std::move(dataLines), lineCount}) {}

DownloadSource::~DownloadSource() {
    Close();
}

DownloadSource::DownloadSource(DownloadSource&& other) noexcept {
    *this = std::move(other);
}

DownloadSource& DownloadSource::operator=(DownloadSource&& other) noexcept {
    if (this == &other) return *this;
    Close();
    pending_ = std::exchange(other.pending_, std::nullopt);
    failed_ = other.failed_;
    bytes_ = std::move(other.bytes_);
    headerEnd_ = other.headerEnd_;
    lines_ = std::move(other.lines_);
    return *this;
}

void DownloadSource::Close() const noexcept {
    if (pending_ && pending_->descriptor >= 0) ::close(pending_->descriptor);
    pending_.reset();
}

bool DownloadSource::ready() const {
    if (pending_) {
        failed_ = !ReadPending();
        if (failed_) {
            bytes_.clear();
            lines_.clear();
            headerEnd_ = 0;
        }
        Close();
    }
    return !failed_;
}

bool DownloadSource::ReadPending() const {
    const Pending& file = *pending_;
    if (file.descriptor < 0 || file.dataLines.empty()) return false;
    char block[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(file.descriptor, block, sizeof block, at);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        bytes_.append(block, static_cast<size_t>(got));
        at += got;
    }
    const std::vector<size_t> ends = LineEnds(bytes_);
    if (static_cast<int64_t>(ends.size()) != file.lineCount) return false;
    if (file.dataLines.front() != 1) headerEnd_ = ends[0];
    lines_.reserve(file.dataLines.size());
    int64_t id = 0;
    for (const int64_t number : file.dataLines) {
        if (number < 1 || number > file.lineCount) return false;
        const size_t begin = number == 1 ? 0 : ends[static_cast<size_t>(number) - 2];
        lines_.push_back({++id, begin, ends[static_cast<size_t>(number) - 1]});
    }
    return true;
}

std::optional<std::string_view> DownloadSource::line(int64_t id) const {
    const auto found = std::lower_bound(lines_.begin(), lines_.end(), id,
                                        [](const Line& l, int64_t want) { return l.id < want; });
    if (found == lines_.end() || found->id != id) return std::nullopt;
    return std::string_view(bytes_).substr(found->begin, found->end - found->begin);
}

void DownloadSource::Builder::header(std::string_view text) {
    source_.bytes_.append(text);
    source_.headerEnd_ = source_.bytes_.size();
}

void DownloadSource::Builder::add(int64_t id, std::string_view text) {
    const size_t begin = source_.bytes_.size();
    source_.bytes_.append(text);
    source_.lines_.push_back({id, begin, source_.bytes_.size()});
}

}  // namespace sabrix

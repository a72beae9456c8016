// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes of a download file as it was read (or as it was last written), and where in them
// each row's line stands, so that a save gives back every line whose row was not edited byte
// for byte, its line end included, and writes an edited row in the style of its old line.
//
// A line is numbered from 1 and ends at CR, LF or CR LF, as LineReader reads it; its bytes
// here include that end (the last line of a file may have none). "Rows" are keyed by their ID,
// which for a load is the number of the data line among the data lines (1, 2, ...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sabrix {

class DownloadSource {
  public:
    DownloadSource() = default;
    // The file of a load, read through descriptor (taken over; kept open until the lines are
    // read): dataLines the numbers of its data lines in file order (the first for ID 1, ...)
    // and lineCount the lines the load read. The header is line 1 when it is no data line.
    // The file is read again only when the lines are first asked for (ready()), so a load
    // that is never saved as a download file costs no second read.
    DownloadSource(int descriptor, std::vector<int64_t> dataLines, int64_t lineCount);
    ~DownloadSource();
    DownloadSource(DownloadSource&& other) noexcept;
    DownloadSource& operator=(DownloadSource&& other) noexcept;
    DownloadSource(const DownloadSource&) = delete;
    DownloadSource& operator=(const DownloadSource&) = delete;

    // True when the lines are at hand, after reading the file of a load the first time.
    // False when that file cannot be read or no longer has the lines the load read (it
    // changed since): the rows are then written as new lines.
    bool ready() const;
    // These three read what ready() made ready (nothing before it, nor when it failed).
    // The bytes before the first row's line (the header line with its end); may be empty.
    std::string_view header() const { return std::string_view(bytes_).substr(0, headerEnd_); }
    // The line of the row with its line end; nothing when the row has no line here.
    std::optional<std::string_view> line(int64_t id) const;
    // Every byte: what a save writes.
    const std::string& bytes() const { return bytes_; }

    class Builder;

  private:
    struct Line {
        int64_t id;
        size_t begin;
        size_t end;
    };
    // A file of a load not read yet.
    struct Pending {
        int descriptor = -1;
        std::vector<int64_t> dataLines;
        int64_t lineCount = 0;
    };
    void Close() const noexcept;
    // Reads the pending file into bytes_ and lines_; false when it is not as the load read it.
    bool ReadPending() const;

    mutable std::optional<Pending> pending_;
    mutable bool failed_ = false;
    mutable std::string bytes_;
    mutable size_t headerEnd_ = 0;
    mutable std::vector<Line> lines_;  // ascending ID
};

// Builds the text of a save: the header, then the line of each row in ascending ID order.
class DownloadSource::Builder {
  public:
    void header(std::string_view text);
    // text ends with its line end (or with none when it is the last line).
    void add(int64_t id, std::string_view text);
    bool empty() const { return source_.lines_.empty(); }
    DownloadSource Build() && { return std::move(source_); }

  private:
    DownloadSource source_;
};

// The offsets where the lines of text end, each after its line end (CR, LF or CR LF); the last
// is text.size(). None for an empty text.
std::vector<size_t> LineEnds(std::string_view text);

// The line without its line end.
std::string_view LineContent(std::string_view line);

}  // namespace sabrix

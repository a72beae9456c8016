// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a text file line by line as bytes. A line ends at CR, LF or CR LF; the end of the
// file ends the last line when it has no terminator of its own. An empty file has no lines.
// The file is read in large blocks, so a line costs no allocation unless it crosses a block.
//
// Only regular files are read: a device, a pipe or a folder could feed the reader without
// end. A line longer than kLongestLine bytes is handed out cut to its first kLongestLine
// bytes, with lineCut() set; the rest of it is skipped without being kept, so memory stays
// bounded whatever the file holds.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace sabrix {

// The longest line the readers keep whole: 64 KiB, far more than any line of an
// observation file or the settings file.
constexpr size_t kLongestLine = 64 * 1024;

class LineReader {
  public:
    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens the file. Returns false and leaves a description in error() when it cannot be
    // opened for reading (missing, unreadable) or is not a regular file (a folder, a device,
    // a pipe); a pipe is not waited for.
    bool open(const std::string& path);
    // Opens the file of a descriptor that duplicateDescriptor gave, from its start, and takes
    // the descriptor over. Returns false, with error() set and the descriptor closed, when it
    // cannot be read.
    bool openDescriptor(int descriptor);
    // A new descriptor of the open file, for a later reader (openDescriptor): the same file
    // even when its path has been replaced since. -1 when no file is open or the system
    // refuses. The caller closes it (or hands it to open).
    int duplicateDescriptor() const;
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // Gives the next line without its terminator. Returns false at the end of the file.
    // The view stays valid until the next call.
    bool next(std::string_view& line);
    // Counts the lines that next() would still give, by the same rule, and reads past them all.
    // Far quicker than calling next() for each: it only counts line ends.
    long long countLines();
    // True when the line last given by next() was longer than kLongestLine and was cut.
    bool lineCut() const { return lineCut_; }
    // Bytes consumed so far (for progress).
    long long position() const { return consumed_; }
    const std::string& error() const { return error_; }

  private:
    // Reads the open regular file of fd (of the size that info gives) from here on.
    bool openRegular(int fd, const struct stat& info);
    bool fill();
    // The offset in the block of the end of the line that starts at begin_ (end_ when the
    // block holds none).
    size_t lineEnd();
    // Appends to carry_ what of the length bytes at start still fits in kLongestLine, given
    // lineSoFar bytes of the line before them.
    void keep(const char* start, size_t length, size_t lineSoFar);

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    // Offsets of the next CR and LF at or after begin_ when known (end_: none in the block).
    static constexpr size_t kUnknown = static_cast<size_t>(-1);
    size_t nextCR_ = kUnknown;
    size_t nextLF_ = kUnknown;
    bool eof_ = false;
    bool skipLeadingLF_ = false;
    bool lineCut_ = false;
    std::string carry_;
    long long consumed_ = 0;
    std::string error_;
};

// Counts the lines of a file by the same rule. Returns -1 when LineReader cannot open it.
long long CountFileLines(const std::string& path);

}  // namespace sabrix

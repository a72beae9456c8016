// Reads a text file line by line as bytes. A line ends at CR, LF or CR LF; the end of the
// file ends the last line when it has no terminator of its own. An empty file has no lines.
// The file is read in large blocks, so a line costs no allocation unless it crosses a block.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace sabrix {

class LineReader {
  public:
    LineReader() = default;
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens the file. Returns false and leaves a description in error() when it cannot be
    // opened for reading (missing, unreadable, a folder).
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    // Gives the next line without its terminator. Returns false at the end of the file.
    // The view stays valid until the next call.
    bool next(std::string_view& line);
    // Bytes consumed so far (for progress).
    long long position() const { return consumed_; }
    const std::string& error() const { return error_; }

  private:
    bool fill();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool skipLeadingLF_ = false;
    std::string carry_;
    long long consumed_ = 0;
    std::string error_;
};

// Counts the lines of a file by the same rule. Returns -1 when it cannot be opened.
long long CountFileLines(const std::string& path);

}  // namespace sabrix

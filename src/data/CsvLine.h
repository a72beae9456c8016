// SPDX-License-Identifier: GPL-3.0-or-later
// Splits one line of a comma-separated file into its fields. A field that starts with a
// double quote may hold commas up to its closing quote; two double quotes inside it stand for
// one; the enclosing quotes are removed. A line without double quotes splits at every comma.
// One splitter is meant to be reused for every line of a file: it keeps its field list and
// its scratch space, so splitting a line costs no allocation once they have grown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/TrimBlanks.h"

namespace sabrix {

class CsvLine {
  public:
    // Splits the line and returns its fields, numbered from 0. An empty line has one empty
    // field; "a,,b," has four fields "a", "", "b", "". A quoted field left open at the end of
    // the line runs to the end of the line; text after a closing quote, up to the next comma,
    // belongs to the same field. Never fails.
    // The fields point into the line and into this splitter: they stay valid while the line's
    // bytes live and until the next call of split().
    const std::vector<std::string_view>& split(std::string_view line);

    const std::vector<std::string_view>& fields() const { return fields_; }

  private:
    void splitQuoted(std::string_view line);

    std::vector<std::string_view> fields_;
    // Unescaped quoted fields; reserved to the line's length before use, so it never moves
    // while fields point into it.
    std::string scratch_;
};

// Appends one field as a comma-separated file writes it: unchanged, or, when it holds a comma,
// a double quote, a carriage return or a line feed, between double quotes with each double
// quote inside doubled (a,b gives "a,b"; 5" gives "5"""). CsvLine::split gives the field
// back unchanged, unless it holds a line break: line readers end the line there.
void AppendCsvField(std::string& line, std::string_view field);

// The fields of the line as they stand in it, quotes and blanks included: as many as
// CsvLine::split gives, each the bytes that give that field ("a,\"b,c\"" gives a and "b,c"
// with its quotes).
void SplitCsvFieldsAsWritten(std::string_view line, std::vector<std::string_view>& fields);

}  // namespace sabrix

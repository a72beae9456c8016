// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed-width text fields for the writers of the star file, the three-column file and the
// bin file. Everything works on bytes: a width counts bytes, not displayed characters.
#pragma once

#include <string>
#include <string_view>

#include "core/SabrixError.h"
#include "core/TrimBlanks.h"

namespace sabrix {

// Thrown by FormatNum when a number does not fit its field. The description is the text the
// user sees ("Cannot format Number").
class FormatNumError : public SabrixError {
  public:
    FormatNumError() : SabrixError("Cannot format Number") {}

  protected:
    // For a writer that says more about the number it could not place.
    explicit FormatNumError(const std::string& description) : SabrixError(description) {}
};

// Returns exactly width bytes: text followed by blanks, or the first width bytes of a longer
// text. A cut never splits a character of a UTF-8 text: the bytes of that character give way
// to blanks. A width below 1 gives the empty text.
std::string LeftJustify(const std::string& text, int width);
// Appends what LeftJustify returns to out.
void AppendLeftJustified(std::string& out, const std::string& text, int width);

// Returns exactly width bytes: blanks followed by text, or the first width bytes of a longer
// text (the end is cut, not the start; a character of a UTF-8 text is not split, blanks
// go in front instead). A width below 1 gives the empty text.
std::string RightJustify(const std::string& text, int width);
// Appends what RightJustify returns to out.
void AppendRightJustified(std::string& out, const std::string& text, int width);

// Returns the number of bytes after the first "." ("12.3  " -> 3); 0 when there is no ".".
int CountDecimals(const std::string& text);

// Formats a number text that holds a ".": integer part and fraction are trimmed of blanks and
// joined by "."; a one-character integer part gets one blank in front (" 9.1"); the result is
// left-justified to width ("9.1", 6 -> " 9.1  "). Throws FormatNumError when the result is
// longer than width or the text holds no ".".
std::string FormatNum(const std::string& text, int width);
// Appends what FormatNum returns to out; throws as it does, leaving out unchanged.
void AppendFormatNum(std::string& out, std::string_view text, int width);

}  // namespace sabrix

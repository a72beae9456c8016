// SPDX-License-Identifier: GPL-3.0-or-later
// The texts a user typed for the JD and magnitude of edited rows, so that a save writes the
// digits typed ("10.290", "2428870.0") rather than the shortest text of the value ("10.29",
// "2428870"). A typed text counts only while the row holds the value it reads as: after an
// undo or a later edit to another value, the row's number is written in its shortest form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sabrix {

class TypedNumbers {
  public:
    enum class Field { JD, Mag };

    // Keeps text (blanks around it dropped) as the way row id's field was typed. Only a plain
    // decimal ("-1", "10.290", ".5") is kept: any other form that reads as a number (an
    // exponent, a "+") is no text a file of observations holds, and is written in the
    // shortest form instead.
    void Remember(int64_t id, Field field, std::string_view text);
    // The text last typed for the row's field that reads back to exactly value; nothing when
    // none does.
    std::optional<std::string_view> TextOf(int64_t id, Field field, double value) const;
    void clear() { texts_.clear(); }

  private:
    // Every text typed for a field, latest last: an undo and a redo go back to an earlier
    // value, whose text is then written again.
    struct Texts {
        std::vector<std::string> jd;
        std::vector<std::string> mag;
    };
    std::unordered_map<int64_t, Texts> texts_;
};

}  // namespace sabrix

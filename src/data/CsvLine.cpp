// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/CsvLine.h"

#include <algorithm>
#include <cstring>

namespace sabrix {

const std::vector<std::string_view>& CsvLine::split(std::string_view line) {
    fields_.clear();
    if (line.empty()) {
        // memchr must not see the null pointer an empty view may hold.
        fields_.emplace_back();
        return fields_;
    }
    if (std::memchr(line.data(), '"', line.size()) != nullptr) {
        splitQuoted(line);
        return fields_;
    }
    // Nearly every line of a download holds no quote: memchr finds the commas far faster
    // than a loop over the bytes would.
    const char* p = line.data();
    const char* const end = p + line.size();
    for (;;) {
        const auto* comma =
            static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
        if (comma == nullptr) {
            fields_.emplace_back(p, static_cast<size_t>(end - p));
            return fields_;
        }
        fields_.emplace_back(p, static_cast<size_t>(comma - p));
        p = comma + 1;
    }
}

void CsvLine::splitQuoted(std::string_view line) {
    scratch_.clear();
    // An unescaped field is never longer than its source, so the whole line is enough room.
    if (scratch_.capacity() < line.size()) scratch_.reserve(line.size());
    size_t i = 0;
    const size_t n = line.size();
    for (;;) {
        if (i < n && line[i] == '"') {
            const size_t start = scratch_.size();
            ++i;
            bool open = true;
            while (i < n) {
                const char c = line[i];
                if (open) {
                    if (c != '"') {
                        scratch_.push_back(c);
                    } else if (i + 1 < n && line[i + 1] == '"') {
                        scratch_.push_back('"');
                        ++i;
                    } else {
                        open = false;
                    }
                } else if (c == ',') {
                    break;
                } else {
                    scratch_.push_back(c);
                }
                ++i;
            }
            fields_.emplace_back(scratch_.data() + start, scratch_.size() - start);
        } else {
            size_t comma = line.find(',', i);
            if (comma == std::string_view::npos) comma = n;
            fields_.push_back(line.substr(i, comma - i));
            i = comma;
        }
        if (i >= n) return;
        ++i;  // the comma
        if (i == n) {
            fields_.emplace_back();
            return;
        }
    }
}

void AppendCsvField(std::string& line, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        line.append(field);
        return;
    }
    line.push_back('"');
    for (const char c : field) {
        if (c == '"') line.push_back('"');
        line.push_back(c);
    }
    line.push_back('"');
}

void SplitCsvFieldsAsWritten(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    size_t i = 0;
    const size_t n = line.size();
    for (;;) {
        const size_t start = i;
        if (i < n && line[i] == '"') {
            bool open = true;
            for (++i; i < n; ++i) {
                if (open && line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"')
                        ++i;
                    else
                        open = false;
                } else if (!open && line[i] == ',') {
                    break;
                }
            }
        } else {
            i = std::min(line.find(',', i), n);
        }
        fields.push_back(line.substr(start, i - start));
        if (i >= n) return;
        ++i;  // the comma
    }
}

}  // namespace sabrix

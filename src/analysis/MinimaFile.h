// SPDX-License-Identifier: GPL-3.0-or-later
// The times of minimum (and maximum) of a star, kept beside its file: for the star file
// "/data/rleo.txt" the list is "/data/rleo.minima.csv" (the file name less its last extension,
// plus ".minima.csv"; a name without extension just gets it added). Loading a star reads its
// list; every change to the list writes it again (atomically), so it survives a restart.
//
// The file is comma-separated text, lines ended by CR LF, numbers with "." whatever the
// locale, in their shortest form that reads back:
//
//     time,error,method,n,extremum,omitted
//     2459012.43182,0.00041,KvW,38,min,0
//     2459015.1209,0.0012,parabola,9,max,1
//
// time: JD of the extremum, as the star's times are; error: one sigma in days; method: KvW
// or parabola; n: the observations used; extremum: min or max; omitted: 1 when the O-C
// diagram leaves the time out of its fits. Blank lines are ignored; any other line that does
// not hold these six fields makes the whole file unreadable (nothing is half read).
#pragma once

#include <QIODevice>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "analysis/TimeOfMinimum.h"

namespace sabrix {

struct ListedExtremum {
    TimeOfExtremum value;
    bool omitted = false;
};

// The list's path for a star file's path.
std::string MinimaListPath(const std::string& starFile);

// Writes the header and one line per entry, in the order given. Throws SabrixError when out
// refuses a write.
void WriteMinimaList(const std::vector<ListedExtremum>& list, QIODevice& out);

struct MinimaListOutcome {
    std::vector<ListedExtremum> list;
    // Empty when read; else "Line 3: ..." for the first line that could not be read.
    QString refusal;
};

// Reads what WriteMinimaList writes. An empty text is an empty list.
MinimaListOutcome ReadMinimaList(std::string_view text);

// The list beside the star file: an empty list when there is no such file; the refusal when it
// cannot be read. Never throws.
MinimaListOutcome LoadMinimaList(const std::string& starFile);

// Replaces the list beside the star file (removes it when the list is empty). Throws
// SabrixError when it cannot be written; the old file is then unchanged.
void SaveMinimaList(const std::string& starFile, const std::vector<ListedExtremum>& list);

}  // namespace sabrix

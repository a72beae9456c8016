// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RecordList.h"

#include <algorithm>
#include <utility>

#include "core/ErrorText.h"
#include "core/TrimBlanks.h"
#include "interaction/RecordSelection.h"

namespace sabrix {

std::vector<LineRange> MergedRanges(std::vector<LineRange> ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const LineRange& a, const LineRange& b) { return a.first < b.first; });
    std::vector<LineRange> merged;
    for (const LineRange& r : ranges) {
        if (r.last < r.first) continue;
        if (!merged.empty() && r.first <= merged.back().last + 1)
            merged.back().last = std::max(merged.back().last, r.last);
        else
            merged.push_back(r);
    }
    return merged;
}

QString RecordListView::Line(size_t i) const {
    if (!ids || i >= ids->size() || !rowOf) return {};
    const std::optional<ObsRow> row = rowOf((*ids)[i]);
    if (!row) return {};
    return DisplayText(threeColumn ? ThreeColumnListLine(*row, timeOffset).line
                                   : ListLine(*row).line);
}

std::vector<QString> RecordListView::Lines() const {
    std::vector<QString> lines;
    for (size_t i = 0; i < Count(); ++i) lines.push_back(Line(i));
    return lines;
}

QString RecordListHeader(bool threeColumn) {
    if (threeColumn) return QStringLiteral("JD,Mag,Error");
    return QStringLiteral(
        "JD,Mag,Uncertain,HQUncertain,Band,Init,ComCod,Comp1,Comp2,Charts,Comments,XForm,"
        "AirMass,Valid,CMag,KMag,HQJD,Star");
}

RecordList::RecordList(std::vector<int64_t> ids, bool threeColumn, RowReader rowOf,
                       double timeOffset)
    : ids_(std::make_shared<const std::vector<int64_t>>(std::move(ids))),
      threeColumn_(threeColumn),
      rowOf_(std::move(rowOf)),
      timeOffset_(timeOffset),
      chosen_(ids_->size(), 0) {}

void RecordList::Replace(std::vector<int64_t> ids) {
    std::vector<int64_t> wasChosen = ChosenIds();
    std::sort(wasChosen.begin(), wasChosen.end());
    ids_ = std::make_shared<const std::vector<int64_t>>(std::move(ids));
    ++revision_;
    chosen_.assign(ids_->size(), 0);
    chosenCount_ = 0;
    bool currentListed = false;
    for (size_t i = 0; i < ids_->size(); ++i) {
        const int64_t id = (*ids_)[i];
        if (std::binary_search(wasChosen.begin(), wasChosen.end(), id)) {
            chosen_[i] = 1;
            ++chosenCount_;
        }
        if (current_ && id == *current_) currentListed = true;
    }
    if (current_ && !currentListed) {
        current_.reset();
        paletteShown_ = false;
    }
}

void RecordList::Choose(const std::vector<LineRange>& ranges, int current) {
    chosen_.assign(ids_->size(), 0);
    chosenCount_ = 0;
    current_.reset();
    const int last = static_cast<int>(ids_->size()) - 1;
    for (const LineRange& r : ranges) {
        const int from = std::max(r.first, 0);
        const int to = std::min(r.last, last);
        for (int line = from; line <= to; ++line) {
            if (chosen_[static_cast<size_t>(line)]) continue;
            chosen_[static_cast<size_t>(line)] = 1;
            ++chosenCount_;
        }
    }
    if (current >= 0 && current <= last && chosen_[static_cast<size_t>(current)])
        current_ = (*ids_)[static_cast<size_t>(current)];
    else if (chosenCount_ > 0)
        current_ = (*ids_)[static_cast<size_t>(std::find(chosen_.begin(), chosen_.end(), 1) -
                                               chosen_.begin())];
}

void RecordList::Choose(const std::vector<int>& lines, int current) {
    std::vector<LineRange> ranges;
    ranges.reserve(lines.size());
    for (const int line : lines) ranges.push_back({line, line});
    Choose(ranges, current);
}

std::vector<int64_t> RecordList::ChosenIds() const {
    std::vector<int64_t> ids;
    ids.reserve(chosenCount_);
    for (size_t i = 0; i < chosen_.size(); ++i)
        if (chosen_[i]) ids.push_back((*ids_)[i]);
    return ids;
}

void RecordList::ShowPalette() {
    paletteShown_ = current_.has_value();
}

void RecordList::HidePalette() {
    paletteShown_ = false;
}

RecordListView RecordList::View() const {
    RecordListView view;
    view.heading = QString::number(ids_->size()) + QStringLiteral(" Records Shown");
    view.ids = ids_;
    view.rowOf = rowOf_;
    view.revision = revision_;
    for (size_t i = 0; i < chosen_.size(); ++i) {
        if (!chosen_[i]) continue;
        const int line = static_cast<int>(i);
        if (!view.chosen.empty() && view.chosen.back().last == line - 1)
            view.chosen.back().last = line;
        else
            view.chosen.push_back({line, line});
    }
    view.editEnabled = view.markEnabled = !threeColumn_;
    view.threeColumn = threeColumn_;
    view.timeOffset = timeOffset_;
    view.paletteShown = paletteShown_;
    if (current_ && paletteShown_ && rowOf_) {
        const std::optional<ObsRow> row = rowOf_(*current_);
        if (row)
            view.colorPrompt = QStringLiteral("Pick a color for observer ") +
                               DisplayText(TrimBlanks(row->Init)) + QStringLiteral(". ");
    }
    return view;
}

}  // namespace sabrix

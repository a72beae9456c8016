#include "interaction/RecordList.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "core/ErrorText.h"
#include "core/TrimBlanks.h"

namespace sabrix {

RecordList::RecordList(std::vector<ListedRecord> records, bool threeColumn)
    : records_(std::move(records)), threeColumn_(threeColumn) {}

void RecordList::Replace(std::vector<ListedRecord> records) {
    records_ = std::move(records);
    // Chosen IDs still listed, in the order of the new list.
    const std::unordered_set<int64_t> wasChosen(chosen_.begin(), chosen_.end());
    chosen_.clear();
    bool currentListed = false;
    for (const ListedRecord& r : records_) {
        if (wasChosen.contains(r.ID)) chosen_.push_back(r.ID);
        if (current_ && r.ID == *current_) currentListed = true;
    }
    if (current_ && !currentListed) {
        current_.reset();
        paletteShown_ = false;
    }
}

void RecordList::Choose(const std::vector<int>& lines, int current) {
    chosen_.clear();
    current_.reset();
    std::vector<int> sorted = lines;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const auto inList = [this](int line) {
        return line >= 0 && static_cast<size_t>(line) < records_.size();
    };
    for (const int line : sorted)
        if (inList(line)) chosen_.push_back(records_[static_cast<size_t>(line)].ID);
    if (inList(current) && std::binary_search(sorted.begin(), sorted.end(), current))
        current_ = records_[static_cast<size_t>(current)].ID;
    else if (!chosen_.empty())
        current_ = chosen_.front();
}

std::vector<ListedRecord> RecordList::Chosen() const {
    const std::unordered_set<int64_t> ids(chosen_.begin(), chosen_.end());
    std::vector<ListedRecord> chosen;
    for (const ListedRecord& r : records_)
        if (ids.contains(r.ID)) chosen.push_back(r);
    return chosen;
}

std::optional<ListedRecord> RecordList::Current() const {
    if (!current_) return std::nullopt;
    for (const ListedRecord& r : records_)
        if (r.ID == *current_) return r;
    return std::nullopt;
}

std::vector<int64_t> RecordList::Ids() const {
    std::vector<int64_t> ids;
    ids.reserve(records_.size());
    for (const ListedRecord& r : records_) ids.push_back(r.ID);
    return ids;
}

void RecordList::ShowPalette() {
    paletteShown_ = Current().has_value();
}

void RecordList::HidePalette() {
    paletteShown_ = false;
}

RecordListView RecordList::View() const {
    RecordListView view;
    view.heading = QString::number(records_.size()) + QStringLiteral(" Records Shown");
    view.lines.reserve(records_.size());
    const std::unordered_set<int64_t> ids(chosen_.begin(), chosen_.end());
    for (size_t i = 0; i < records_.size(); ++i) {
        view.lines.push_back(DisplayText(records_[i].line));
        if (ids.contains(records_[i].ID)) view.chosen.push_back(static_cast<int>(i));
    }
    view.editEnabled = view.markEnabled = !threeColumn_;
    view.paletteShown = paletteShown_;
    if (const std::optional<ListedRecord> current = Current(); current && paletteShown_)
        view.colorPrompt = QStringLiteral("Pick a color for observer ") +
                           DisplayText(TrimBlanks(current->Init)) + QStringLiteral(". ");
    return view;
}

}  // namespace sabrix

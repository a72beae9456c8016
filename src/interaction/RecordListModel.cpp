// SPDX-License-Identifier: GPL-3.0-or-later
#include "interaction/RecordListModel.h"

#include <exception>

namespace sabrix {

namespace {

// More lines than any screen shows at once.
constexpr size_t kCachedLines = 4096;

}  // namespace

bool RecordListModel::Show(const RecordListView& view) {
    if (view.ids == view_.ids && view.revision == view_.revision) return false;
    beginResetModel();
    view_ = view;
    view_.chosen.clear();
    cache_.clear();
    endResetModel();
    return true;
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(view_.Count());
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.column() != 0 ||
        index.row() >= rowCount())
        return {};
    if (const auto it = cache_.find(index.row()); it != cache_.end()) return it->second;
    QString line;
    try {
        line = view_.Line(static_cast<size_t>(index.row()));
    } catch (const std::exception&) {
        // A row the table cannot read now shows blank; the commands say the failure.
    }
    if (cache_.size() >= kCachedLines) cache_.clear();
    cache_.emplace(index.row(), line);
    return line;
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section != 0) return {};
    return RecordListHeader(view_.threeColumn);
}

}  // namespace sabrix

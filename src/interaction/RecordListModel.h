// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of the record list as a Qt item model: one column, one row per listed record, its
// text read and formatted only when a view asks for it (the lines on the screen), so a list of
// a million rows costs the IDs and not a million strings. The column's header names the
// fields of a line.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <unordered_map>

#include "interaction/RecordList.h"

namespace sabrix {

class RecordListModel : public QAbstractTableModel {
  public:
    explicit RecordListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows the lines of the view: a view of another list (or of the same rows read again)
    // resets the model; the same list again changes nothing. Returns whether it reset.
    bool Show(const RecordListView& view);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // The line's text (DisplayRole); an empty QVariant for any other role or index.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    RecordListView view_;
    // The lines read lately: a repaint asks for each shown line several times. Bounded.
    mutable std::unordered_map<int, QString> cache_;
};

}  // namespace sabrix

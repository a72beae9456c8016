// SPDX-License-Identifier: GPL-3.0-or-later
// The record list without its window: lines read only when shown, the choice held as IDs.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "interaction/RecordList.h"
#include "interaction/RecordListModel.h"

namespace sabrix {
namespace {

// A list of n rows whose reader counts the rows it read.
struct CountingList {
    explicit CountingList(int64_t n) {
        std::vector<int64_t> ids(static_cast<size_t>(n));
        std::iota(ids.begin(), ids.end(), 1);
        list.emplace(std::move(ids), false, [this](int64_t id) -> std::optional<ObsRow> {
            ++reads;
            if (id == gone) return std::nullopt;
            ObsRow row;
            row.ID = id;
            row.JD = 2455000 + static_cast<double>(id);
            row.Mag = 10;
            row.Init = "OBS" + std::to_string(id);
            return row;
        });
    }
    int reads = 0;
    int64_t gone = 0;
    std::optional<RecordList> list;
};

TEST(RecordListModel, AMillionRowsAreListedWithoutReadingALineUntilOneIsShown) {
    CountingList rows(1000000);
    RecordListModel model;
    EXPECT_TRUE(model.Show(rows.list->View()));
    EXPECT_EQ(model.rowCount(), 1000000);
    EXPECT_EQ(rows.reads, 0);
    EXPECT_EQ(model.data(model.index(999999, 0)).toString(),
              QString("3455000,10.0,,,,OBS1000000,,,,,,,,,,,,"));
    model.data(model.index(999999, 0));  // shown again: from the cache
    EXPECT_EQ(rows.reads, 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), RecordListHeader());
    // The same list again is no reset; the rows read again are.
    EXPECT_FALSE(model.Show(rows.list->View()));
    rows.list->Replace(rows.list->Ids());
    EXPECT_TRUE(model.Show(rows.list->View()));
    // A row deleted meanwhile shows blank.
    rows.gone = 5;
    EXPECT_EQ(model.data(model.index(4, 0)).toString(), QString());
}

TEST(RecordList, TheChoiceIsHeldAsIdsAndFollowsTheRowsStillListed) {
    CountingList rows(10);
    RecordList& list = *rows.list;
    list.Choose(std::vector<LineRange>{{7, 8}, {1, 3}, {2, 4}, {9, 20}}, 3);
    EXPECT_EQ(list.ChosenCount(), 7u);
    EXPECT_EQ(list.ChosenIds(), (std::vector<int64_t>{2, 3, 4, 5, 8, 9, 10}));
    EXPECT_EQ(list.Current(), 4);
    EXPECT_EQ(list.View().chosen, (std::vector<LineRange>{{1, 4}, {7, 9}}));
    // Listed again without some rows and in another order: the choice keeps its rows.
    list.Replace({10, 4, 6, 2});
    EXPECT_EQ(list.ChosenIds(), (std::vector<int64_t>{10, 4, 2}));
    EXPECT_EQ(list.Current(), 4);
    list.Replace({1, 2});
    EXPECT_EQ(list.Current(), std::nullopt);
    // A current line that is not chosen: the first chosen line stands for it.
    list.Choose(std::vector<int>{1}, 0);
    EXPECT_EQ(list.Current(), 2);
    EXPECT_EQ(rows.reads, 0);
}

}  // namespace
}  // namespace sabrix

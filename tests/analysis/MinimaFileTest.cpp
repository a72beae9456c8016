// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "analysis/MinimaFile.h"

namespace sabrix {
namespace {

TEST(MinimaFile, ListSurvivesAWriteAndReadBesideTheStarFile) {
    EXPECT_EQ(MinimaListPath("/data/rleo.txt"), "/data/rleo.minima.csv");
    EXPECT_EQ(MinimaListPath("/data/v.dir/rleo"), "/data/v.dir/rleo.minima.csv");
    std::vector<ListedExtremum> list(2);
    list[0].value = {2459012.4318212345, 0.00041, 38, ExtremumMethod::KweeVanWoerden,
                     Extremum::Minimum};
    list[1].value = {2459015.1, 0.0012, 9, ExtremumMethod::Parabola, Extremum::Maximum};
    list[1].omitted = true;
    QTemporaryDir dir;
    const std::string star = dir.filePath("rleo.txt").toStdString();
    SaveMinimaList(star, list);
    const MinimaListOutcome read = LoadMinimaList(star);
    ASSERT_TRUE(read.refusal.isEmpty()) << read.refusal.toStdString();
    ASSERT_EQ(read.list.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read.list[i].value.time, list[i].value.time);
        EXPECT_EQ(read.list[i].value.error, list[i].value.error);
        EXPECT_EQ(read.list[i].value.count, list[i].value.count);
        EXPECT_EQ(read.list[i].value.method, list[i].value.method);
        EXPECT_EQ(read.list[i].value.kind, list[i].value.kind);
        EXPECT_EQ(read.list[i].omitted, list[i].omitted);
    }
    SaveMinimaList(star, {});
    EXPECT_TRUE(LoadMinimaList(star).list.empty());

    const MinimaListOutcome bad = ReadMinimaList(
        "time,error,method,n,extremum,omitted\r\n2459012.4,0.1,KvW,3,min,0\r\n"
        "2459012,4,0,1,KvW,3,min,0\r\n");
    EXPECT_TRUE(bad.list.empty());
    EXPECT_TRUE(bad.refusal.startsWith("Line 3:")) << bad.refusal.toStdString();
}

}  // namespace
}  // namespace sabrix

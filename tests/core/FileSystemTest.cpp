#include <gtest/gtest.h>

#include "core/FileSystem.h"

namespace sabrix {

TEST(BackupPathFor, ReplacesTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(BackupPathFor("/data/star.txt"), "/data/star.bak");
    EXPECT_EQ(BackupPathFor("/data/rcar.v.txt"), "/data/rcar.v.bak");
    EXPECT_EQ(BackupPathFor("/data/obs.dir/star"), "/data/obs.dir/star.bak");
    EXPECT_EQ(BackupPathFor("star"), "star.bak");
    EXPECT_EQ(BackupPathFor("/data/.hidden"), "/data/.bak");
}

}  // namespace sabrix

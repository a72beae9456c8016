#include <gtest/gtest.h>

#include "dialogs/ConfigFields.h"
#include "dialogs/Volumes.h"

namespace sabrix {
namespace {

TEST(ParseWholeNumber16, TakesWholeNumbersOfTheSixteenBitRange) {
    EXPECT_EQ(ParseWholeNumber16("40"), std::optional<int16_t>(40));
    EXPECT_EQ(ParseWholeNumber16(" 7 "), std::optional<int16_t>(7));
    EXPECT_EQ(ParseWholeNumber16("+12"), std::optional<int16_t>(12));
    EXPECT_EQ(ParseWholeNumber16("-32768"), std::optional<int16_t>(-32768));
    EXPECT_EQ(ParseWholeNumber16("32767"), std::optional<int16_t>(32767));
    EXPECT_EQ(ParseWholeNumber16("007"), std::optional<int16_t>(7));
}

TEST(ParseWholeNumber16, RefusesEverythingElse) {
    for (const char* text : {"", "   ", "-", "+", "32768", "-32769", "99999999999999999999", "4.0",
                             "4,5", "1e2", "abc", "12a", "- 3", "0x10"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseWholeNumber16(text), std::nullopt);
    }
}

TEST(ParseDefaultDegree, AcceptsZeroToForty) {
    EXPECT_EQ(ParseDefaultDegree("0"), std::optional<int16_t>(0));
    EXPECT_EQ(ParseDefaultDegree("40"), std::optional<int16_t>(40));
    EXPECT_EQ(ParseDefaultDegree("41"), std::nullopt);
    EXPECT_EQ(ParseDefaultDegree("-1"), std::nullopt);
    EXPECT_EQ(ParseDefaultDegree(""), std::nullopt);
}

TEST(ParseDefaultSigma, AcceptsTheWholeSixteenBitRange) {
    EXPECT_EQ(ParseDefaultSigma("-5"), std::optional<int16_t>(-5));
    EXPECT_EQ(ParseDefaultSigma("32767"), std::optional<int16_t>(32767));
    EXPECT_EQ(ParseDefaultSigma("40000"), std::nullopt);
    EXPECT_EQ(ParseDefaultSigma("2.5"), std::nullopt);
}

TEST(Volumes, PseudoFileSystemsAndSystemMountsAreLeftOut) {
    EXPECT_TRUE(IsPseudoVolume("proc", "/proc"));
    EXPECT_TRUE(IsPseudoVolume("cgroup2", "/sys/fs/cgroup"));
    EXPECT_TRUE(IsPseudoVolume("ext4", "/run/user/1000/doc"));
    EXPECT_TRUE(IsPseudoVolume("tmpfs", "/dev/shm"));
    EXPECT_FALSE(IsPseudoVolume("ext4", "/home"));
    EXPECT_FALSE(IsPseudoVolume("vfat", "/media/usb"));
    EXPECT_FALSE(IsPseudoVolume("ext4", "/devices"));
    EXPECT_FALSE(IsPseudoVolume("overlay", "/"));
}

TEST(Volumes, ListStartsWithTheRootOnce) {
    const QStringList roots = FolderVolumes();
    ASSERT_FALSE(roots.isEmpty());
    EXPECT_EQ(roots.front(), "/");
    EXPECT_EQ(roots.count("/"), 1);
}

TEST(Volumes, FolderBelongsToTheLongestHoldingRoot) {
    const QStringList roots{"/", "/home", "/home/sam/disk", "/media/usb"};
    EXPECT_EQ(VolumeOf("/home/sam/disk/stars", roots), "/home/sam/disk");
    EXPECT_EQ(VolumeOf("/home/sam/diskette", roots), "/home");
    EXPECT_EQ(VolumeOf("/media/usb", roots), "/media/usb");
    EXPECT_EQ(VolumeOf("/var/data", roots), "/");
    EXPECT_EQ(VolumeOf("relative/path", roots), "");
}

}  // namespace
}  // namespace sabrix

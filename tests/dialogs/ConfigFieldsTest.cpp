// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "dialogs/ConfigFields.h"
#include "dialogs/Volumes.h"

namespace sabrix {
namespace {

TEST(ConfigFields, NumbersAreWholeAndWithinTheirRanges) {
    using N = std::optional<int16_t>;
    const std::pair<const char*, N> whole[] = {
        {"40", 40},       {" 7 ", 7},    {"+12", 12},    {"-32768", -32768},
        {"32767", 32767}, {"007", 7},    {"", {}},       {"   ", {}},
        {"-", {}},        {"32768", {}}, {"-32769", {}}, {"99999999999999999999", {}},
        {"4.0", {}},      {"4,5", {}},   {"1e2", {}},    {"12a", {}},
        {"- 3", {}},      {"0x10", {}}};
    for (const auto& [text, want] : whole) EXPECT_EQ(ParseWholeNumber16(text), want) << text;
    EXPECT_EQ(ParseDefaultDegree("0"), N(0));
    EXPECT_EQ(ParseDefaultDegree("40"), N(40));
    EXPECT_EQ(ParseDefaultDegree("41"), std::nullopt);
    EXPECT_EQ(ParseDefaultDegree("-1"), std::nullopt);
    EXPECT_EQ(ParseDefaultSigma("-32768"), N(-32768));
    EXPECT_EQ(ParseDefaultSigma("40000"), std::nullopt);
}

TEST(ConfigFields, AFolderOfBlanksNamesNoFolder) {
    for (const char* none : {"", " ", " \t \r\n"}) EXPECT_FALSE(NamesAFolder(none)) << none;
    for (const char* some : {"/data", " stars ", "."}) EXPECT_TRUE(NamesAFolder(some)) << some;
}

TEST(Volumes, PseudoFileSystemsAndSystemMountsAreLeftOut) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"proc", "/proc", true},
        {"cgroup2", "/sys/fs/cgroup", true},
        {"ext4", "/run/user/1000/doc", true},
        {"tmpfs", "/dev/shm", true},
        {"ext4", "/home", false},
        {"vfat", "/media/usb", false},
        {"ext4", "/devices", false},
        {"overlay", "/", false}};
    for (const auto& [type, mount, pseudo] : cases)
        EXPECT_EQ(IsPseudoVolume(type, mount), pseudo) << mount;
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

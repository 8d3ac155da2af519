#include "RootDevice.h"

#include "LvmFixture.h"

#include <fstream>

TEST(RootDevice, TakesTheDeviceOfTheLastMountOfSlash)
{
    EXPECT_EQ(rootDeviceNumber("22 1 254:1 / /boot rw - ext4 /dev/vda1 rw\n"
                               "1 0 254:0 / / rw - ext4 /dev/vda rw\n"
                               "39 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n"
                               "40 39 0:30 / /usr rw - overlay overlay rw"),
              "253:0");
    EXPECT_EQ(rootDeviceNumber("22 1 254:1 / /boot rw - ext4 /dev/vda1 rw\n"), std::nullopt);
    EXPECT_EQ(rootDeviceNumber(""), std::nullopt);
}

TEST(RootDevice, UndoublesDashesOfDeviceMapperNames)
{
    const auto plain = splitDeviceMapperName("vg-root");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->vgName, "vg");
    EXPECT_EQ(plain->lvName, "root");
    const auto dashed = splitDeviceMapperName("my--vg-root--fs");
    ASSERT_TRUE(dashed);
    EXPECT_EQ(dashed->vgName, "my-vg");
    EXPECT_EQ(dashed->lvName, "root-fs");
}

TEST(RootDevice, RefusesLayersAndDevicesThatAreNotLogicalVolumes)
{
    EXPECT_EQ(splitDeviceMapperName("vg-root-real"), std::nullopt);
    EXPECT_EQ(splitDeviceMapperName("vgroot"), std::nullopt);
    const std::string uuid = std::string("LVM-") + kVgUuid + kRootUuid;
    EXPECT_TRUE(identityFromDeviceMapper("vg-root", uuid));
    EXPECT_EQ(identityFromDeviceMapper("vg-root", uuid + "-real"), std::nullopt);
    EXPECT_EQ(identityFromDeviceMapper("luks-1", "CRYPT-LUKS2-0123"), std::nullopt);
}

TEST(RootDevice, KeepsTheUuidThatIdentifiesVolumeGroupAndVolume)
{
    const auto identity =
        identityFromDeviceMapper("vg-root", std::string("LVM-") + kVgUuid + kRootUuid);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->uuid, std::string(kVgUuid) + kRootUuid);
    EXPECT_EQ(withoutDashes("RHRvMS-fB9K-CNFB-WIyj-ngS1-z43G-uu3uuX"),
              "RHRvMSfB9KCNFBWIyjngS1z43Guu3uuX");
}

class DiscoverRoot : public LvmFixture {};

TEST_F(DiscoverRoot, FindsTheVolumeThroughMountinfoAndSysfs)
{
    std::string why;
    const auto identity = discoverRoot(session_->paths(), why);
    ASSERT_TRUE(identity) << why;
    EXPECT_EQ(identity->vgName, "vg");
    EXPECT_EQ(identity->lvName, "root");
}

TEST_F(DiscoverRoot, SaysWhyARootOnAPlainDiskIsNoVolume)
{
    makeRootAPlainDisk();
    std::string why;
    EXPECT_EQ(discoverRoot(session_->paths(), why), std::nullopt);
    EXPECT_EQ(why, "/ (device 254:0) is not an LVM logical volume");
}

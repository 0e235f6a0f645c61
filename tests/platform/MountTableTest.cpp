#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include "platform/Platform.h"
#include "platform/posix/DriveTable.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/posix/VolumeLabel.h"
#include "support/PrivateMountNamespace.h"
#include "support/ScopedMount.h"
#include "support/TempDir.h"

namespace tarvik {
namespace {

// A sysfs tree as the kernel lays it out: /dev/block/MAJ:MIN leads to the device, and a
// partition's "removable" is its parent disk's.
void MakeSysfs(TempDir& dir) {
  dir.MakeFile("sys/devices/pci0/block/sda/removable", "0\n");
  dir.MakeDir("sys/devices/pci0/block/sda/sda1");
  dir.MakeSymlink("sys/dev/block/8:1", "../../devices/pci0/block/sda/sda1");
  dir.MakeFile("sys/devices/usb1/block/sdb/removable", "1\n");
  dir.MakeDir("sys/devices/usb1/block/sdb/sdb1");
  dir.MakeSymlink("sys/dev/block/8:17", "../../devices/usb1/block/sdb/sdb1");
  dir.MakeFile("sys/devices/usb2/block/sdc/removable", "1\n");
  dir.MakeSymlink("sys/dev/block/8:32", "../../devices/usb2/block/sdc");
}

std::string MountInfo(const std::string& bound_file) {
  return "21 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
         "22 21 0:21 / /proc rw,nosuid - proc proc rw\n"
         "23 21 0:22 / /sys rw,nosuid - sysfs sysfs rw\n"
         "24 23 0:30 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
         "25 24 0:31 / /sys/fs/cgroup/cpu rw - cgroup cgroup rw,cpu\n"
         "26 21 0:6 / /dev rw - devtmpfs udev rw,size=100k\n"
         "27 26 0:24 / /dev/shm rw - tmpfs tmpfs rw\n"
         "28 21 0:25 / /run rw - tmpfs tmpfs rw,mode=755\n"
         "29 28 0:26 / /run/user/1000 rw - tmpfs tmpfs rw\n"
         "30 21 11:0 / /media/cd ro,relatime - iso9660 /dev/sr0 ro\n"
         "31 21 8:17 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n"
         "32 21 0:40 / /tmp rw - tmpfs tmpfs rw\n"
         "33 21 0:41 / /mnt/share rw - cifs //server/share rw\n"
         "34 21 8:1 /var/lib/docker/hostname " +
         bound_file +
         " rw - ext4 /dev/sda1 rw\n"
         "35 21 8:2 / /home rw - ext4 /dev/sda2 rw\n"
         "36 22 0:52 / /proc/sys/fs/binfmt_misc rw - binfmt_misc binfmt_misc rw\n"
         "37 28 0:53 / /run/media/me/ram rw - tmpfs tmpfs rw\n"
         "38 21 8:32 / /media/floppy rw - vfat /dev/sdc rw\n"
         "39 21 0:54 / /net/nfs rw - nfs4 server:/export rw\n"
         "40 21 0:55 / /mnt/ssh rw - fuse.sshfs me@host:/ rw\n"
         "41 21 8:3 / /home rw - ext4 /dev/sda3 rw\n"
         "42 21 0:56 / /mnt/ramfs rw - ramfs none rw\n"
         "43 21 11:1 / /media/dvd ro - udf /dev/sr1 ro\n";
}

TEST(MountTableTest, KeepsVolumesThatHoldFilesInTableOrder) {
  TempDir dir;
  MakeSysfs(dir);
  const std::string bound = dir.MakeFile("hostname", "box\n");
  const std::vector<MountedVolume> volumes = ParseMountInfo(MountInfo(bound), dir.Path("sys"));
  struct Expected {
    const char* mount_point;
    unsigned type;
    const char* source;
  };
  const std::vector<Expected> expected = {
      {"/", kDriveFixed, "/dev/sda1"},
      {"/media/cd", kDriveCdrom, "/dev/sr0"},
      {"/media/usb stick", kDriveRemovable, "/dev/sdb1"},
      {"/tmp", kDriveRamDisk, "tmpfs"},
      {"/mnt/share", kDriveRemote, "//server/share"},
      // Mounted over later: keeps its place, takes the top mount's source.
      {"/home", kDriveFixed, "/dev/sda3"},
      {"/run/media/me/ram", kDriveRamDisk, "tmpfs"},
      {"/media/floppy", kDriveRemovable, "/dev/sdc"},
      {"/net/nfs", kDriveRemote, "server:/export"},
      {"/mnt/ssh", kDriveRemote, "me@host:/"},
      {"/mnt/ramfs", kDriveRamDisk, "none"},
      {"/media/dvd", kDriveCdrom, "/dev/sr1"},
  };
  ASSERT_EQ(volumes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(volumes[i].mount_point, expected[i].mount_point) << i;
    EXPECT_EQ(volumes[i].type, expected[i].type) << expected[i].mount_point;
    EXPECT_EQ(volumes[i].source, expected[i].source) << expected[i].mount_point;
  }
}

TEST(MountTableTest, AtOrBelowComparesWholeNames) {
  const struct {
    const char* path;
    const char* dir;
    bool below;
  } cases[] = {
      {"/media/cd", "/media/cd", true},
      {"/media/cd/a", "/media/cd", true},
      {"/media/cdrom", "/media/cd", false},
      {"/media", "/media/cd", false},
      {"/anything", "/", true},
      {"/", "/", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsAtOrBelow(c.path, c.dir), c.below) << c.path;
}

TEST(MountTableTest, EmptyOrBrokenTextGivesNoVolumes) {
  EXPECT_TRUE(ParseMountInfo("", "/nonexistent").empty());
  EXPECT_TRUE(ParseMountInfo("22 21 0:21 / /proc rw - proc proc rw\n", "/nonexistent").empty());
}

TEST(MountTableTest, WithoutSysfsEveryDiskIsFixed) {
  const auto volumes =
      ParseMountInfo("31 21 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n", "/nonexistent");
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volumes[0].type, kDriveFixed);
}

TEST(MountTableTest, ReadsTheMachinesTable) {
  const auto volumes = ReadMountTable("/");
  ASSERT_FALSE(volumes.empty());
  EXPECT_EQ(volumes[0].mount_point, "/");
}

MountedVolume Volume(const char* mount_point, const char* source = "/dev/sda1") {
  return MountedVolume{mount_point, source, "ext4", kDriveFixed};
}

std::string Letters(DriveTable& table) {
  std::string text;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (const Drive* drive = table.Find(letter)) {
      text += std::string(1, letter) + '=' + drive->entry.mount_point + ' ';
    }
  }
  return text;
}

TEST(DriveTableTest, MountPointKeepsItsLetterWhileMounted) {
  DriveTable table({});
  table.Update({Volume("/"), Volume("/a"), Volume("/b")});
  EXPECT_EQ(Letters(table), "C=/ D=/a E=/b ");
  EXPECT_EQ(table.Mask(), 0b11100u);
  // Unmounting frees a letter; a new volume takes the first letter no volume has had.
  table.Update({Volume("/"), Volume("/b")});
  EXPECT_EQ(Letters(table), "C=/ E=/b ");
  table.Update({Volume("/"), Volume("/c"), Volume("/b"), Volume("/d")});
  EXPECT_EQ(Letters(table), "C=/ E=/b F=/c G=/d ");
  // The root is C: even when listed late, and no other volume ever takes C:.
  DriveTable late({});
  late.Update({Volume("/x"), Volume("/")});
  EXPECT_EQ(Letters(late), "C=/ D=/x ");
}

TEST(DriveTableTest, LettersHeldByConnectionsAreNeverGivenToMounts) {
  struct Step {
    std::uint32_t held;
    std::vector<MountedVolume> volumes;
    const char* letters;
  };
  const std::uint32_t d_and_f = (1u << 3) | (1u << 5);
  const Step steps[] = {
      {d_and_f, {Volume("/"), Volume("/a"), Volume("/b")}, "C=/ E=/a G=/b "},
      // A volume keeps its letter; only new ones skip the held letters.
      {1u << 4, {Volume("/"), Volume("/a"), Volume("/b"), Volume("/c")}, "C=/ D=/c E=/a G=/b "},
      {0,
       {Volume("/"), Volume("/a"), Volume("/b"), Volume("/c"), Volume("/d")},
       "C=/ D=/c E=/a F=/d G=/b "},
      // Stick 1, another stick in its place, stick 1 elsewhere beside a copy of it.
      {0, {Volume("/"), Volume("/s", "/dev/sdb1")}, "C=/ H=/s "},
      {0, {Volume("/"), Volume("/s", "/dev/sdc1")}, "C=/ I=/s "},
      {0,
       {Volume("/"), Volume("/s", "/dev/sdc1"), Volume("/t", "/dev/sdb1"),
        Volume("/u", "/dev/sdd1")},
       "C=/ H=/t I=/s J=/u "},
      // Without a UUID, the same place, source and type make the same volume.
      {0, {Volume("/"), Volume("/a"), Volume("/t", "/dev/sdb1")}, "C=/ E=/a H=/t "},
  };
  // Sticks have a UUID: /dev/sdb1 and /dev/sdd1 (a copy of it) one, /dev/sdc1 another.
  DriveTable table({}, [](const std::string& source) {
    const VolumeIdentity stick{source == "/dev/sdc1" ? "2" : "1", "STICK"};
    return source == "/dev/sda1" ? VolumeIdentity{} : stick;
  });
  for (const Step& step : steps) {
    table.Hold(step.held);
    table.Update(step.volumes);
    EXPECT_EQ(Letters(table), step.letters);
  }
  EXPECT_EQ(table.Find('E')->entry.label, "/a");
  EXPECT_EQ(table.Find('H')->entry.label, "STICK");
}

TEST(DriveTableTest, OnlyTheFirstTwentyFourVolumesGetLetters) {
  std::vector<MountedVolume> volumes{Volume("/")};
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) names.push_back("/m" + std::to_string(i));
  for (const std::string& name : names) volumes.push_back(Volume(name.c_str()));
  DriveTable table({});
  table.Update(volumes);
  EXPECT_EQ(table.Mask(), 0x3FFFFFCu);
  EXPECT_EQ(table.Find('Z')->entry.mount_point, "/m22");
  volumes.erase(volumes.begin() + 5);
  table.Update(volumes);
  EXPECT_EQ(table.Find('H')->entry.mount_point, "/m23");  // every letter given once: reused
}

TEST(DriveTableTest, HoldingIsTheLongestMountPointPrefix) {
  DriveTable table({});
  table.Update({Volume("/"), Volume("/media/cd"), Volume("/media/cd/inner")});
  EXPECT_EQ(table.Holding("/media/cd/a/b")->entry.letter, 'D');
  EXPECT_EQ(table.Holding("/media/cd")->entry.letter, 'D');
  EXPECT_EQ(table.Holding("/media/cdrom")->entry.letter, 'C');
  EXPECT_EQ(table.Holding("/media/cd/inner/x")->entry.letter, 'E');
  DriveTable fixed({{'c', "/srv/c/", kDriveFixed, "", 3}});
  EXPECT_EQ(fixed.Holding("/usr/bin"), nullptr);
  ASSERT_NE(fixed.Holding("/srv/c/x"), nullptr);
  EXPECT_EQ(fixed.Holding("/srv/c/x")->entry.letter, 'C');
}

TEST(VolumeLabelTest, LinkNamesAreDecoded) {
  EXPECT_EQ(DecodeLabelLinkName("My\\x20Disk"), "My Disk");
  EXPECT_EQ(DecodeLabelLinkName("A\\x2fB\\x5c"), "A/B\\");
  EXPECT_EQ(DecodeLabelLinkName("odd\\x2"), "odd\\x2");
  EXPECT_EQ(DecodeLabelLinkName("PLAIN"), "PLAIN");
  EXPECT_EQ(IdentifyVolume("tmpfs").uuid, "");
}

// A volume without a UUID is known by its type, label, capacity and source: the same RAM disk
// seen at a second place is one volume, whatever happens to its root; another of another size
// is another, and one of the same size mounted beside it makes both unknown.
TEST(VolumeKeyTest, OneVolumeWhereverItIsMountedAndNoneThatLooksTheSameAsAnother) {
  ASSERT_EQ(EnterPrivateMountNamespace(), 0);
  struct Case {
    const char* second_size;
    bool ambiguous;
  };
  for (const Case& c : {Case{"2m", false}, Case{"1m", true}}) {
    SCOPED_TRACE(c.second_size);
    TempDir tmp;
    ScopedMount first(tmp.MakeDir("m/a"));
    if (!first.mounted()) GTEST_SKIP() << "needs mount privileges";
    ScopedMount second(tmp.MakeDir("m/b"), c.second_size);
    ASSERT_EQ(
        mount(tmp.Path("m/a").c_str(), tmp.MakeDir("m/c").c_str(), nullptr, MS_BIND, nullptr), 0);
    {
      PosixPlatform platform({{'C', tmp.MakeDir("c"), kDriveFixed, "C", kPosixVolumeFlags}},
                             "C:\\");
      platform.FollowMountsBelow(tmp.Path("m"));
      ASSERT_EQ(platform.LogicalDrives(), 0b111100u);
      bool ambiguous = false;
      const std::string a = platform.VolumeKey("D:\\", ambiguous);
      EXPECT_EQ(ambiguous, c.ambiguous);
      if (!c.ambiguous) {
        EXPECT_EQ(a, "TYPE=tmpfs\nLABEL=\nSIZE=1048576\nSOURCE=tmpfs");
        tmp.MakeFile("m/a/new");
        EXPECT_EQ(platform.VolumeKey("F:\\", ambiguous), a);
        EXPECT_NE(platform.VolumeKey("E:\\", ambiguous), a);
      } else {
        EXPECT_EQ(a, "");
      }
    }
    umount(tmp.Path("m/c").c_str());
  }
}

}  // namespace
}  // namespace tarvik

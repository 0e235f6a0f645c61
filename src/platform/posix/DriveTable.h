#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/VolumeLabel.h"

namespace tarvik {

// The volume flags of every POSIX drive: case-sensitive search and case-preserved names.
inline constexpr std::uint32_t kPosixVolumeFlags =
    kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames;

// One drive as the program sees it. `flags` are the volume flags (kVolume*): a drive
// without kVolumeCaseSensitiveSearch finds names regardless of case.
struct DriveSpec {
  char letter;
  std::string mount_point;
  unsigned type;
  std::string label;
  std::uint32_t flags;
};

// A drive with the mount it stands for.
struct Drive {
  DriveSpec entry;
  std::string source;
  std::optional<int> mount_id;  // none for a drive the table was made with
  std::string fs_type;          // empty for a drive the table was made with
  std::string fs_root = "/";    // the folder of its file system the mount shows
};

// The identity of the volume mounted from a source (IdentifyVolume).
using VolumeIdentifier = std::function<VolumeIdentity(const std::string& source)>;

// Drive letters over mounted volumes: "/" is C:, every other volume takes a letter from D:
// on, in mount-table order, and keeps it while it stays mounted. A volume mounted again takes
// the letter it had before; a new one takes the first letter that no volume has had, and only
// when none is left one that is free again.
class DriveTable {
 public:
  // A table of fixed drives whose labels are known; they stay whatever the mounts do. Mounted
  // volumes are told apart by `identify`, or without it by their mounts alone.
  explicit DriveTable(std::vector<DriveSpec> drives, VolumeIdentifier identify = {});

  // Gives letters to newly mounted volumes and frees those of unmounted ones.
  void Update(const std::vector<MountedVolume>& volumes);

  // The drive of a letter (upper case), nullptr when there is none.
  Drive* Find(char letter);
  // The drive whose mount point is the longest prefix of an absolute POSIX path.
  const Drive* Holding(const std::string& posix_path) const;
  // Bit i set for each letter 'A' + i in use.
  std::uint32_t Mask() const;
  // Letters (bit i for 'A' + i) that Update never gives to a newly mounted volume.
  void Hold(std::uint32_t letters) { held_ = letters; }

 private:
  // The letter for a newly mounted volume known by `identity`, 0 when none is free.
  char LetterFor(const std::string& identity);
  bool IsFree(char letter);

  std::vector<Drive> drives_;
  VolumeIdentifier identify_;
  std::uint32_t held_ = 0;
  // Every letter given during the run, and the volumes given each (by IdentityKey).
  std::uint32_t ever_given_ = 0;
  std::vector<std::pair<std::string, char>> given_;
};

}  // namespace tarvik

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/posix/MountTable.h"

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

// A drive with what is needed to learn its label when it is first asked for.
struct Drive {
  DriveSpec entry;
  std::string source;
  bool label_known = false;
};

// Drive letters over mounted volumes: "/" is C:, every other volume takes the first free
// letter from D: on, in mount-table order, and keeps it while it stays mounted.
class DriveTable {
 public:
  // A table of fixed drives whose labels are known.
  explicit DriveTable(std::vector<DriveSpec> drives);

  // Gives letters to newly mounted volumes and frees those of unmounted ones. A volume
  // remounted from another source keeps its letter but forgets its label.
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
  std::vector<Drive> drives_;
  std::uint32_t held_ = 0;
};

}  // namespace tarvik

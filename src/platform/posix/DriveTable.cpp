#include "platform/posix/DriveTable.h"

#include <algorithm>

#include "util/Path.h"

namespace tarvik {

DriveTable::DriveTable(std::vector<DriveSpec> drives) {
  for (DriveSpec& entry : drives) {
    entry.letter = UpCaseDrive(entry.letter);
    // Mount points are compared as path prefixes, which a trailing slash would defeat.
    while (entry.mount_point.size() > 1 && entry.mount_point.ends_with('/')) {
      entry.mount_point.pop_back();
    }
    drives_.push_back(Drive{std::move(entry), "", true});
  }
}

void DriveTable::Update(const std::vector<MountedVolume>& volumes) {
  std::erase_if(drives_, [&](const Drive& drive) {
    return std::none_of(volumes.begin(), volumes.end(), [&](const MountedVolume& volume) {
      return volume.mount_point == drive.entry.mount_point;
    });
  });
  for (const MountedVolume& volume : volumes) {
    const auto held = std::find_if(drives_.begin(), drives_.end(), [&](const Drive& drive) {
      return drive.entry.mount_point == volume.mount_point;
    });
    if (held != drives_.end()) {
      if (held->source != volume.source || held->entry.type != volume.type) {
        held->entry.type = volume.type;
        held->source = volume.source;
        held->label_known = false;
      }
      continue;
    }
    char letter = 0;
    if (volume.mount_point == "/") {
      letter = 'C';
    } else {
      for (char candidate = 'D'; candidate <= 'Z' && letter == 0; ++candidate) {
        const bool held = (held_ >> (candidate - 'A') & 1u) != 0;
        if (!held && Find(candidate) == nullptr) letter = candidate;
      }
    }
    if (letter == 0 || Find(letter) != nullptr) continue;
    drives_.push_back(
        Drive{DriveSpec{letter, volume.mount_point, volume.type, "", kPosixVolumeFlags},
              volume.source, false});
  }
  std::sort(drives_.begin(), drives_.end(),
            [](const Drive& a, const Drive& b) { return a.entry.letter < b.entry.letter; });
}

Drive* DriveTable::Find(char letter) {
  const auto found = std::find_if(drives_.begin(), drives_.end(), [letter](const Drive& drive) {
    return drive.entry.letter == letter;
  });
  return found != drives_.end() ? &*found : nullptr;
}

const Drive* DriveTable::Holding(const std::string& posix_path) const {
  const Drive* best = nullptr;
  for (const Drive& drive : drives_) {
    if (IsAtOrBelow(posix_path, drive.entry.mount_point) &&
        (best == nullptr || drive.entry.mount_point.size() > best->entry.mount_point.size())) {
      best = &drive;
    }
  }
  return best;
}

std::uint32_t DriveTable::Mask() const {
  std::uint32_t mask = 0;
  for (const Drive& drive : drives_) mask |= 1u << (drive.entry.letter - 'A');
  return mask;
}

}  // namespace tarvik

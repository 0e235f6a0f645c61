#include "platform/posix/DriveTable.h"

#include <algorithm>

#include "util/Path.h"

namespace tarvik {

namespace {

constexpr std::uint32_t LetterBit(char letter) { return 1u << (letter - 'A'); }

// A volume is known by its file system's UUID; one without (a RAM disk, a share, some disc
// images) by its type, label, source and mount point together.
std::string IdentityKey(const MountedVolume& volume, const VolumeIdentity& identity) {
  if (!identity.uuid.empty()) return "UUID=" + identity.uuid;
  return "TYPE=" + volume.fs_type + "\nLABEL=" + identity.label + "\nSOURCE=" + volume.source +
         "\nAT=" + volume.mount_point;
}

bool IsMountOf(const Drive& drive, const MountedVolume& volume) {
  return drive.mount_id == volume.mount_id && drive.entry.mount_point == volume.mount_point &&
         drive.source == volume.source;
}

}  // namespace

DriveTable::DriveTable(std::vector<DriveSpec> drives, VolumeIdentifier identify)
    : identify_(std::move(identify)) {
  for (DriveSpec& entry : drives) {
    entry.letter = UpCaseDrive(entry.letter);
    // Mount points are compared as path prefixes, which a trailing slash would defeat.
    while (entry.mount_point.size() > 1 && entry.mount_point.ends_with('/')) {
      entry.mount_point.pop_back();
    }
    ever_given_ |= LetterBit(entry.letter);
    drives_.push_back(Drive{std::move(entry), "", std::nullopt, ""});
  }
}

void DriveTable::Update(const std::vector<MountedVolume>& volumes) {
  std::erase_if(drives_, [&](const Drive& drive) {
    return drive.mount_id.has_value() &&
           std::none_of(volumes.begin(), volumes.end(),
                        [&](const MountedVolume& volume) { return IsMountOf(drive, volume); });
  });
  for (const MountedVolume& volume : volumes) {
    if (std::any_of(drives_.begin(), drives_.end(),
                    [&](const Drive& drive) { return IsMountOf(drive, volume); })) {
      continue;
    }
    const VolumeIdentity identity = identify_ ? identify_(volume.source) : VolumeIdentity{};
    const std::string key = IdentityKey(volume, identity);
    const char letter = volume.mount_point == "/" ? (IsFree('C') ? 'C' : 0) : LetterFor(key);
    if (letter == 0) continue;
    if (std::find(given_.begin(), given_.end(), std::pair(key, letter)) == given_.end()) {
      given_.emplace_back(key, letter);
    }
    ever_given_ |= LetterBit(letter);
    // Unlabelled volumes are told apart by where they are mounted.
    const std::string& label = identity.label.empty() ? volume.mount_point : identity.label;
    drives_.push_back(
        Drive{DriveSpec{letter, volume.mount_point, volume.type, label, kPosixVolumeFlags},
              volume.source, volume.mount_id, volume.fs_type, volume.root});
  }
  std::sort(drives_.begin(), drives_.end(),
            [](const Drive& a, const Drive& b) { return a.entry.letter < b.entry.letter; });
}

bool DriveTable::IsFree(char letter) {
  return (held_ & LetterBit(letter)) == 0 && Find(letter) == nullptr;
}

char DriveTable::LetterFor(const std::string& identity) {
  for (const auto& [key, letter] : given_) {
    if (key == identity && letter != 'C' && IsFree(letter)) return letter;
  }
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    if ((ever_given_ & LetterBit(letter)) == 0 && IsFree(letter)) return letter;
  }
  for (char letter = 'D'; letter <= 'Z'; ++letter) {
    if (IsFree(letter)) return letter;
  }
  return 0;
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
  for (const Drive& drive : drives_) mask |= LetterBit(drive.entry.letter);
  return mask;
}

}  // namespace tarvik

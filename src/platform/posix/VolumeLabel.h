#pragma once

#include <string>

namespace tarvik {

// What tells one file system from another across its mounts: libblkid's UUID and LABEL tags
// of its device, each empty where it has none.
struct VolumeIdentity {
  std::string uuid;
  std::string label;
};

// The identity of the file system on a block device: probed by libblkid when the device can
// be read, else taken from the /dev/disk/by-uuid and /dev/disk/by-label links that lead to
// it; empty for a source that is no device.
VolumeIdentity IdentifyVolume(const std::string& device);

// What a volume is mounted from, as it stays across mounts: for a loop device the file it
// reads ("loop:/srv/disc.iso"), which a new attach may give another device number; else the
// source itself.
std::string StableSource(const std::string& source);

// A /dev/disk/by-label name back in plain text: udev writes unsafe bytes as "\xNN".
std::string DecodeLabelLinkName(const std::string& link_name);

}  // namespace tarvik

#pragma once

#include <string>

namespace tarvik {

// The file system label of a block device: libblkid's LABEL tag when the device can be
// probed, else the /dev/disk/by-label link that leads to it; empty when it has none.
std::string VolumeLabelOf(const std::string& device);

// A /dev/disk/by-label name back in plain text: udev writes unsafe bytes as "\xNN".
std::string DecodeLabelLinkName(const std::string& link_name);

}  // namespace tarvik

#include "platform/posix/VolumeLabel.h"

#include <blkid.h>

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace tarvik {

namespace {

std::string ProbedValue(blkid_probe probe, const char* name) {
  const char* value = nullptr;
  if (blkid_probe_lookup_value(probe, name, &value, nullptr) != 0 || value == nullptr) return "";
  return value;
}

// False when the device cannot be read, as a user outside the disk group cannot read it.
bool Probe(const std::string& device, VolumeIdentity& identity) {
  blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
  if (probe == nullptr) return false;
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_UUID | BLKID_SUBLKS_LABEL);
  if (blkid_do_safeprobe(probe) == 0) {
    identity.uuid = ProbedValue(probe, "UUID");
    identity.label = ProbedValue(probe, "LABEL");
  }
  blkid_free_probe(probe);
  return true;
}

// The name of the link in `directory` that leads to the device, decoded; empty for none.
std::string LinkNameOf(const std::string& device, const char* directory) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path wanted = fs::canonical(device, error);
  if (error) return "";
  for (const auto& link : fs::directory_iterator(directory, error)) {
    std::error_code link_error;
    if (fs::canonical(link.path(), link_error) == wanted && !link_error) {
      return DecodeLabelLinkName(link.path().filename().string());
    }
  }
  return "";
}

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

}  // namespace

std::string DecodeLabelLinkName(const std::string& link_name) {
  std::string text;
  for (std::size_t i = 0; i < link_name.size(); ++i) {
    if (link_name[i] == '\\' && i + 3 < link_name.size() && link_name[i + 1] == 'x' &&
        HexValue(link_name[i + 2]) >= 0 && HexValue(link_name[i + 3]) >= 0) {
      text += static_cast<char>(HexValue(link_name[i + 2]) * 16 + HexValue(link_name[i + 3]));
      i += 3;
    } else {
      text += link_name[i];
    }
  }
  return text;
}

VolumeIdentity IdentifyVolume(const std::string& device) {
  VolumeIdentity identity;
  if (!device.starts_with("/dev/")) return identity;
  if (!Probe(device, identity)) {
    identity.uuid = LinkNameOf(device, "/dev/disk/by-uuid");
    identity.label = LinkNameOf(device, "/dev/disk/by-label");
  }
  return identity;
}

std::string StableSource(const std::string& source) {
  constexpr std::string_view kLoop = "/dev/loop";
  if (!source.starts_with(kLoop)) return source;
  std::ifstream backing("/sys/block/" + source.substr(5) + "/loop/backing_file");
  std::string file;
  if (!std::getline(backing, file) || file.empty()) return source;
  return "loop:" + file;
}

}  // namespace tarvik

#include "platform/posix/VolumeLabel.h"

#include <blkid.h>

#include <filesystem>
#include <system_error>

namespace tarvik {

namespace {

std::string ProbeLabel(const std::string& device) {
  blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
  if (probe == nullptr) return "";
  std::string label;
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL);
  const char* value = nullptr;
  if (blkid_do_safeprobe(probe) == 0 &&
      blkid_probe_lookup_value(probe, "LABEL", &value, nullptr) == 0 && value != nullptr) {
    label = value;
  }
  blkid_free_probe(probe);
  return label;
}

std::string LabelFromLinks(const std::string& device) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path wanted = fs::canonical(device, error);
  if (error) return "";
  for (const auto& link : fs::directory_iterator("/dev/disk/by-label", error)) {
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

std::string VolumeLabelOf(const std::string& device) {
  if (!device.starts_with("/dev/")) return "";
  std::string label = ProbeLabel(device);
  if (label.empty()) label = LabelFromLinks(device);
  return label;
}

}  // namespace tarvik

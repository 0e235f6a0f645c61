#include "platform/win32/Volumes.h"

#include <windows.h>
#include <winnetwk.h>

#include <cstdio>

#include "platform/win32/NoCriticalErrorBox.h"
#include "platform/win32/SystemPath.h"
#include "platform/win32/Wide.h"
#include "util/Text.h"

namespace tarvik {

namespace {

struct VolumeFacts {
  std::wstring label;
  std::wstring file_system;
  DWORD serial = 0;
  DWORD flags = 0;
};

int AskVolume(char drive, VolumeFacts& facts) {
  wchar_t label[MAX_PATH + 1];
  wchar_t file_system[MAX_PATH + 1];
  DWORD max_name = 0;
  const NoCriticalErrorBox no_box;
  if (!GetVolumeInformationW(RootOf(drive).c_str(), label, MAX_PATH + 1, &facts.serial, &max_name,
                             &facts.flags, file_system, MAX_PATH + 1)) {
    return static_cast<int>(GetLastError());
  }
  facts.label = label;
  facts.file_system = file_system;
  return kNoError;
}

}  // namespace

int VolumeInformationOf(char drive, VolumeInfo& info) {
  VolumeFacts facts;
  const int code = AskVolume(drive, facts);
  if (code != kNoError) return code;
  info.label = Narrow(facts.label);
  info.flags = facts.flags & (kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames);
  return kNoError;
}

std::int64_t CapacityOf(char drive) {
  ULARGE_INTEGER total{};
  const NoCriticalErrorBox no_box;
  if (!GetDiskFreeSpaceExW(RootOf(drive).c_str(), nullptr, &total, nullptr)) return -1;
  return static_cast<std::int64_t>(total.QuadPart);
}

std::string ConnectedShareOf(char drive) {
  const wchar_t local[] = {static_cast<wchar_t>(drive), L':', 0};
  wchar_t remote[MAX_PATH + 1];
  DWORD length = MAX_PATH + 1;
  if (WNetGetConnectionW(local, remote, &length) != NO_ERROR) return "";
  std::string share = Narrow(remote);
  UpperCase1251(share);
  return share;
}

std::string VolumeKeyOf(char drive) {
  if (std::string share = ConnectedShareOf(drive); !share.empty()) return share;
  VolumeFacts facts;
  if (AskVolume(drive, facts) != kNoError) return "";
  char serial[16];
  std::snprintf(serial, sizeof serial, "%08lX", static_cast<unsigned long>(facts.serial));
  std::string key = std::string("SERIAL=") + serial + "\nTYPE=" + Narrow(facts.file_system);
  // A disc or a stick has the GUID of the drive it is in, the same for every medium, so it is
  // known by what its file system says of it.
  const UINT type = GetDriveTypeW(RootOf(drive).c_str());
  wchar_t guid_path[MAX_PATH + 1];
  const NoCriticalErrorBox no_box;
  if (type != DRIVE_CDROM && type != DRIVE_REMOVABLE &&
      GetVolumeNameForVolumeMountPointW(RootOf(drive).c_str(), guid_path, MAX_PATH + 1)) {
    return key + "\nGUID=" + Narrow(guid_path);
  }
  return key + "\nLABEL=" + Narrow(facts.label) + "\nSIZE=" + std::to_string(CapacityOf(drive));
}

}  // namespace tarvik

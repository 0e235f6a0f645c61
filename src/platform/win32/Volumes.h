#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

// What the volume calls tell of a drive. No call shows the system's box that asks for a disc.
namespace tarvik {

int VolumeInformationOf(char drive, VolumeInfo& info);
// Total bytes of the drive's volume, -1 when unknown.
std::int64_t CapacityOf(char drive);
// "\\COMPUTER\SHARE" of a drive connected to a share (upper case), empty for another drive.
std::string ConnectedShareOf(char drive);
// The volume's serial number and file system, with its GUID path where the system gives one
// for a fixed volume, else with its label and capacity; empty when the volume does not answer.
std::string VolumeKeyOf(char drive);

}  // namespace tarvik

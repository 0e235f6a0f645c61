#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/Platform.h"

// The attribute filter of a file list: a set of attribute kinds, each standing for one attribute
// bit except ftNormal, which admits every entry the enumeration lets through.
namespace tarvik {

enum TFileAttr : std::uint8_t {
  ftReadOnly,
  ftHidden,
  ftSystem,
  ftVolumeID,
  ftDirectory,
  ftArchive,
  ftNormal,
};

class TFileType {
 public:
  constexpr TFileType() = default;
  constexpr TFileType(std::initializer_list<TFileAttr> attrs) {
    for (const TFileAttr attr : attrs) Include(attr);
  }

  constexpr bool Contains(TFileAttr attr) const { return (members_ & Bit(attr)) != 0; }
  constexpr TFileType& Include(TFileAttr attr) {
    members_ |= Bit(attr);
    return *this;
  }
  constexpr TFileType& Exclude(TFileAttr attr) {
    members_ &= ~Bit(attr);
    return *this;
  }

  // The OR of the attribute bits of the members from ftReadOnly to ftArchive; the kinds are
  // declared in bit order, so a member's position is its bit.
  constexpr std::uint32_t AttributeWord() const {
    return members_ & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrVolumeId | kAttrDirectory |
                       kAttrArchive);
  }

  friend constexpr bool operator==(TFileType, TFileType) = default;

 private:
  static constexpr std::uint32_t Bit(TFileAttr attr) { return std::uint32_t{1} << attr; }

  std::uint32_t members_ = 0;
};

}  // namespace tarvik

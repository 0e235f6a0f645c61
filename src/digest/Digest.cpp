#include "digest/Digest.h"

namespace tarvik {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::size_t DigestSize(DigestKind kind) {
  switch (kind) {
    case DigestKind::kMd5:
      return 16;
    case DigestKind::kSha1:
      return 20;
    case DigestKind::kSha256:
      return 32;
  }
  return 0;
}

std::string HexText(const Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (std::size_t i = 0; i < DigestSize(digest.kind); ++i) {
    text += kDigits[digest.bytes[i] >> 4];
    text += kDigits[digest.bytes[i] & 0xF];
  }
  return text;
}

std::optional<Digest> DigestFromHex(std::string_view hex, std::optional<DigestKind> kind) {
  Digest digest;
  if (kind) {
    digest.kind = *kind;
  } else {
    bool known = false;
    for (const DigestKind each : {DigestKind::kMd5, DigestKind::kSha1, DigestKind::kSha256}) {
      if (hex.size() == 2 * DigestSize(each)) {
        digest.kind = each;
        known = true;
      }
    }
    if (!known) return std::nullopt;
  }
  if (hex.size() != 2 * DigestSize(digest.kind)) return std::nullopt;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    digest.bytes[i / 2] = static_cast<unsigned char>(high << 4 | low);
  }
  return digest;
}

}  // namespace tarvik

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

// The digests a checksum file may name. SHA-256 is the program's own; MD5 and SHA-1 only
// verify files that name them.
enum class DigestKind : std::uint8_t { kMd5, kSha1, kSha256 };
inline constexpr std::size_t kDigestKinds = 3;

// A set of digest kinds, one bit per kind.
using DigestKinds = std::uint8_t;
constexpr DigestKinds KindBit(DigestKind kind) {
  return static_cast<DigestKinds>(1u << static_cast<unsigned>(kind));
}

// The size in bytes of a digest of `kind`.
std::size_t DigestSize(DigestKind kind);

struct Digest {
  DigestKind kind = DigestKind::kSha256;
  // The first DigestSize(kind) bytes hold the digest; the rest stay zero.
  std::array<unsigned char, 32> bytes{};

  bool operator==(const Digest&) const = default;
};

// Lower-case hexadecimal.
std::string HexText(const Digest& digest);

// The digest written as `hex` (either case): of `kind` when given, else of the kind its length
// names (32 digits MD5, 40 SHA-1, 64 SHA-256). Nothing for anything else.
std::optional<Digest> DigestFromHex(std::string_view hex, std::optional<DigestKind> kind);

}  // namespace tarvik

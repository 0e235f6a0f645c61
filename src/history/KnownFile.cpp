#include "history/KnownFile.h"

#include <bit>
#include <cstring>

namespace tarvik {

namespace {

class Fnv1a {
 public:
  void Add(std::string_view bytes) {
    Number(static_cast<std::int64_t>(bytes.size()));
    for (const char byte : bytes) Byte(static_cast<unsigned char>(byte));
  }
  void Number(std::int64_t value) {
    for (int shift = 0; shift < 64; shift += 8) Byte(static_cast<unsigned char>(value >> shift));
  }
  std::int64_t Value() const { return static_cast<std::int64_t>(hash_); }

 private:
  void Byte(unsigned char byte) {
    hash_ ^= byte;
    hash_ *= 0x100000001b3;
  }
  std::uint64_t hash_ = 0xcbf29ce484222325;
};

}  // namespace

std::int64_t RowCheckValue(std::int64_t volume_id, std::string_view path, const KnownFile& row) {
  Fnv1a hash;
  hash.Number(volume_id);
  hash.Add(path);
  hash.Number(row.good.size);
  hash.Number(row.good.modified.has_value());
  hash.Number(row.good.modified.value_or(0));
  hash.Add(row.good.sha256);
  hash.Number(std::bit_cast<std::int64_t>(row.good.seconds));
  hash.Number(row.proven);
  hash.Add(row.pending);
  hash.Add(row.problem);
  return hash.Value();
}

}  // namespace tarvik

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "digest/HashThread.h"

namespace tarvik {
namespace {

// Known digests, through one HashThread in turn: each file starts afresh, whether its blocks
// are hashed by the reader or, from kThreadMinBytes on, by the thread.
TEST(HashThreadTest, GivesTheKnownDigestsOfEachKind) {
  struct Case {
    std::string bytes;
    std::size_t block_size;
    std::string md5, sha1, sha256;
  };
  const Case cases[] = {
      {"", 16, "d41d8cd98f00b204e9800998ecf8427e", "da39a3ee5e6b4b0d3255bfef95601890afd80709",
       "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", 16, "900150983cd24fb0d6963f7d28e17f72", "a9993e364706816aba3e25717850c26c9cd0d89d",
       "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 7,
       "8215ef0796a20bcaaae116d3876c664a", "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      // Many more blocks than buffers, on the thread.
      {std::string(HashThread::kThreadMinBytes, 'a'), 4096, "7202826a7791073fe2787f0c94603278",
       "454027d64e3b855735552d42230eea1cbd645fa0",
       "9bc1b2a288b26af7257a36277ae3816a7d4f16e89c1e7e77d0a5c48bad62b360"},
      {"abc", 16, "900150983cd24fb0d6963f7d28e17f72", "a9993e364706816aba3e25717850c26c9cd0d89d",
       "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
  };
  HashThread hashes;
  const DigestKinds all =
      KindBit(DigestKind::kMd5) | KindBit(DigestKind::kSha1) | KindBit(DigestKind::kSha256);
  for (const Case& c : cases) {
    hashes.BeginFile(all, c.block_size, static_cast<std::int64_t>(c.bytes.size()));
    for (std::size_t at = 0; at < c.bytes.size(); at += c.block_size) {
      const std::size_t size = std::min(c.block_size, c.bytes.size() - at);
      std::memcpy(hashes.NextBuffer(), c.bytes.data() + at, size);
      hashes.Hash(size);
    }
    hashes.EndFile();
    EXPECT_EQ(HexText(hashes.Result(DigestKind::kMd5)), c.md5) << c.bytes.size();
    EXPECT_EQ(HexText(hashes.Result(DigestKind::kSha1)), c.sha1) << c.bytes.size();
    EXPECT_EQ(HexText(hashes.Result(DigestKind::kSha256)), c.sha256) << c.bytes.size();
  }
}

}  // namespace
}  // namespace tarvik

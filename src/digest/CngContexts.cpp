#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <algorithm>

#include "digest/DigestContexts.h"
#include "platform/IoError.h"

namespace tarvik {

namespace {

const wchar_t* AlgorithmName(DigestKind kind) {
  switch (kind) {
    case DigestKind::kMd5:
      return BCRYPT_MD5_ALGORITHM;
    case DigestKind::kSha1:
      return BCRYPT_SHA1_ALGORITHM;
    case DigestKind::kSha256:
      return BCRYPT_SHA256_ALGORITHM;
  }
  return L"";
}

std::size_t Index(DigestKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

// Reusable hash objects: finishing a digest starts the next one, so that a file costs no call
// to make a hash.
struct DigestContexts::Handles {
  std::array<BCRYPT_ALG_HANDLE, kDigestKinds> algorithms{};
  std::array<BCRYPT_HASH_HANDLE, kDigestKinds> hashes{};
  // Bytes given since the last finish, which a new start has to drop.
  std::array<bool, kDigestKinds> fed{};

  ~Handles() {
    for (std::size_t i = 0; i < kDigestKinds; ++i) {
      if (hashes[i] != nullptr) BCryptDestroyHash(hashes[i]);
      if (algorithms[i] != nullptr) BCryptCloseAlgorithmProvider(algorithms[i], 0);
    }
  }
};

DigestContexts::DigestContexts() : handles_(std::make_unique<Handles>()) {
  for (std::size_t i = 0; i < kDigestKinds; ++i) {
    const bool made =
        BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handles_->algorithms[i],
                                                   AlgorithmName(static_cast<DigestKind>(i)),
                                                   nullptr, BCRYPT_HASH_REUSABLE_FLAG)) &&
        // CNG keeps the hash object itself.
        BCRYPT_SUCCESS(BCryptCreateHash(handles_->algorithms[i], &handles_->hashes[i], nullptr, 0,
                                        nullptr, 0, BCRYPT_HASH_REUSABLE_FLAG));
    if (!made) throw IoError(kErrNotEnoughMemory, "Not enough memory for a digest");
  }
}

DigestContexts::~DigestContexts() = default;

void DigestContexts::Begin(DigestKind kind) {
  if (!handles_->fed[Index(kind)]) return;
  Digest dropped;
  Finish(kind, dropped);
}

void DigestContexts::Update(DigestKind kind, const char* bytes, std::size_t size) {
  handles_->fed[Index(kind)] = true;
  // CNG counts bytes in 32 bits.
  constexpr std::size_t kMaxPiece = std::size_t{1} << 30;
  for (std::size_t done = 0; done < size; done += kMaxPiece) {
    const std::size_t piece = std::min(size - done, kMaxPiece);
    BCryptHashData(handles_->hashes[Index(kind)],
                   reinterpret_cast<PUCHAR>(const_cast<char*>(bytes + done)),
                   static_cast<ULONG>(piece), 0);
  }
}

void DigestContexts::Finish(DigestKind kind, Digest& digest) {
  BCryptFinishHash(handles_->hashes[Index(kind)], digest.bytes.data(),
                   static_cast<ULONG>(DigestSize(kind)), 0);
  handles_->fed[Index(kind)] = false;
}

}  // namespace tarvik

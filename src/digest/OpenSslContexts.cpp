#include <openssl/evp.h>

#include "digest/DigestContexts.h"
#include "platform/IoError.h"

namespace tarvik {

namespace {

const char* AlgorithmName(DigestKind kind) {
  switch (kind) {
    case DigestKind::kMd5:
      return "MD5";
    case DigestKind::kSha1:
      return "SHA1";
    case DigestKind::kSha256:
      return "SHA256";
  }
  return "";
}

std::size_t Index(DigestKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

struct DigestContexts::Handles {
  std::array<EVP_MD*, kDigestKinds> algorithms{};
  std::array<EVP_MD_CTX*, kDigestKinds> contexts{};

  ~Handles() {
    for (std::size_t i = 0; i < kDigestKinds; ++i) {
      EVP_MD_CTX_free(contexts[i]);
      EVP_MD_free(algorithms[i]);
    }
  }
};

DigestContexts::DigestContexts() : handles_(std::make_unique<Handles>()) {
  for (std::size_t i = 0; i < kDigestKinds; ++i) {
    handles_->algorithms[i] =
        EVP_MD_fetch(nullptr, AlgorithmName(static_cast<DigestKind>(i)), nullptr);
    handles_->contexts[i] = EVP_MD_CTX_new();
    if (handles_->algorithms[i] == nullptr || handles_->contexts[i] == nullptr) {
      throw IoError(kErrNotEnoughMemory, "Not enough memory for a digest");
    }
  }
}

DigestContexts::~DigestContexts() = default;

void DigestContexts::Begin(DigestKind kind) {
  EVP_DigestInit_ex2(handles_->contexts[Index(kind)], handles_->algorithms[Index(kind)], nullptr);
}

void DigestContexts::Update(DigestKind kind, const char* bytes, std::size_t size) {
  EVP_DigestUpdate(handles_->contexts[Index(kind)], bytes, size);
}

void DigestContexts::Finish(DigestKind kind, Digest& digest) {
  EVP_DigestFinal_ex(handles_->contexts[Index(kind)], digest.bytes.data(), nullptr);
}

}  // namespace tarvik

#include "platform/smb/SmbClientLibrary.h"

#include <dlfcn.h>

#include <cstdio>

namespace tarvik {

namespace {

// Null when the library or one of its functions is missing.
const SmbClientLibrary* Load() {
  static SmbClientLibrary library;
  void* handle = dlopen("libsmbclient.so.0", RTLD_NOW | RTLD_LOCAL);
  bool found = handle != nullptr;
#define TARVIK_SMBCLIENT_FIND(name)                                                        \
  if (found) {                                                                             \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, "smbc_" #name)); \
    found = library.name != nullptr;                                                       \
  }
  TARVIK_SMBCLIENT_FUNCTIONS(TARVIK_SMBCLIENT_FIND)
#undef TARVIK_SMBCLIENT_FIND
  if (found) return &library;
  std::fprintf(stderr, "tarvik: shares cannot be reached: %s\n", dlerror());
  return nullptr;
}

}  // namespace

const SmbClientLibrary* LoadSmbClient() {
  static const SmbClientLibrary* const loaded = Load();
  return loaded;
}

}  // namespace tarvik

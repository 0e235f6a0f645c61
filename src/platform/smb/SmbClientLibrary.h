#pragma once

#include <libsmbclient.h>

namespace tarvik {

// The libsmbclient functions the shares call.
// clang-format off
#define TARVIK_SMBCLIENT_FUNCTIONS(X) \
  X(new_context) \
  X(init_context) \
  X(free_context) \
  X(getOptionUserData) \
  X(setOptionUserData) \
  X(setFunctionAuthDataWithContext) \
  X(setOptionNoAutoAnonymousLogin) \
  X(setPort) \
  X(setTimeout) \
  X(setDebug) \
  X(setOptionDebugToStderr) \
  X(getFunctionOpendir) \
  X(getFunctionClosedir) \
  X(getFunctionReaddirPlus) \
  X(getFunctionStat) \
  X(getFunctionStatVFS) \
  X(getFunctionOpen) \
  X(getFunctionLseek) \
  X(getFunctionFstat) \
  X(getFunctionRead) \
  X(getFunctionWrite) \
  X(getFunctionClose)
// clang-format on

// libsmbclient, loaded at the first share: it brings about a hundred of Samba's libraries, whose
// loading would cost every start of the program (tens of megabytes read from a cold disk),
// also the many that never connect a share.
struct SmbClientLibrary {
#define TARVIK_SMBCLIENT_POINTER(name) decltype(&::smbc_##name) name = nullptr;
  TARVIK_SMBCLIENT_FUNCTIONS(TARVIK_SMBCLIENT_POINTER)
#undef TARVIK_SMBCLIENT_POINTER
};

// The library, loaded at the first call; null when it cannot be loaded (the loader's reason is
// written to standard error).
const SmbClientLibrary* LoadSmbClient();

}  // namespace tarvik

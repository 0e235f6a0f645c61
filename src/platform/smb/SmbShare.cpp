#include "platform/smb/SmbShare.h"

#include <fcntl.h>
#include <libsmbclient.h>

#include <cerrno>
#include <cstdio>

#include "platform/ErrorCodes.h"
#include "platform/posix/DirectoryStamper.h"
#include "platform/smb/ShareStamp.h"
#include "platform/smb/SmbErrors.h"

// libsmbclient sets up its logging once per process, at the first context, and keeps it until
// the process ends; a sanitizer build's leak check would count that against every program
// that connects a share. Its stack ends in talloc, Samba's allocator, which nothing of ours
// uses. Without the sanitizer nothing calls this.
extern "C" const char* __lsan_default_suppressions() { return "leak:libtalloc.so\n"; }

namespace tarvik {

namespace {

bool IsRefusal(int error_number) { return error_number == EACCES || error_number == EPERM; }

// The errno of a failed call; a failure that left none is still a failure.
int LastError() { return errno != 0 ? errno : EIO; }

// Copies a credential whole into the library's buffer; one that does not fit is left empty,
// so that the logon is refused rather than tried with a cut password.
void CopyWhole(char* buffer, int size, const std::string& text) {
  if (size <= 0) return;
  const bool fits = text.size() < static_cast<std::size_t>(size);
  std::snprintf(buffer, static_cast<std::size_t>(size), "%s", fits ? text.c_str() : "");
}

// The attribute bits the program knows; the server also reports others (normal 0x80, ...).
constexpr std::uint32_t kKnownAttributes =
    kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrDirectory | kAttrArchive;

}  // namespace

SmbShare::SmbShare(RemoteName remote, std::string user, std::string password)
    : remote_(std::move(remote)), user_(std::move(user)), password_(std::move(password)) {}

SmbShare::~SmbShare() {
  if (context_ != nullptr) smbc_free_context(context_, 1);
}

void SmbShare::Credentials(SMBCCTX* context, const char* /*server*/, const char* /*share*/,
                           char* /*workgroup*/, int /*workgroup_size*/, char* user, int user_size,
                           char* password, int password_size) {
  const auto* share = static_cast<const SmbShare*>(smbc_getOptionUserData(context));
  CopyWhole(user, user_size, share->user_);
  CopyWhole(password, password_size, share->password_);
}

int SmbShare::Connect(const RemoteName& remote, const std::string& user,
                      const std::string& password, std::uint16_t port,
                      std::unique_ptr<SmbShare>& share) {
  const bool guest = password.empty();
  std::unique_ptr<SmbShare> made(new SmbShare(remote, guest ? "" : user, password));
  made->context_ = smbc_new_context();
  SMBCCTX* context = made->context_;
  if (context == nullptr) return ConnectErrorCode(errno, false);
  smbc_setOptionUserData(context, made.get());
  smbc_setFunctionAuthDataWithContext(context, &SmbShare::Credentials);
  // A refused password must not quietly become a guest logon.
  smbc_setOptionNoAutoAnonymousLogin(context, guest ? 0 : 1);
  smbc_setPort(context, port);
  smbc_setDebug(context, 0);
  smbc_setOptionDebugToStderr(context, 1);
  if (smbc_init_context(context) == nullptr) return ConnectErrorCode(errno, false);

  SMBCFILE* root = smbc_getFunctionOpendir(context)(context, SmbUrl(remote, {}).c_str());
  if (root == nullptr) {
    const int error_number = errno;
    bool computer_refused = false;
    if (!guest && IsRefusal(error_number)) {
      SMBCFILE* computer = smbc_getFunctionOpendir(context)(context, ComputerUrl(remote).c_str());
      computer_refused = computer == nullptr && IsRefusal(errno);
      if (computer != nullptr) smbc_getFunctionClosedir(context)(context, computer);
    }
    return ConnectErrorCode(error_number, computer_refused);
  }
  smbc_getFunctionClosedir(context)(context, root);
  share = std::move(made);
  return kNoError;
}

int SmbShare::List(const std::vector<std::string>& names, std::vector<FoundEntry>& entries) {
  SMBCFILE* directory = smbc_getFunctionOpendir(context_)(context_, SmbUrl(remote_, names).c_str());
  if (directory == nullptr) return LastError();
  // The whole listing arrives with the opening; reading it cannot fail.
  while (const libsmb_file_info* info =
             smbc_getFunctionReaddirPlus(context_)(context_, directory)) {
    const std::string_view name(info->name);
    if (name == "." || name == "..") continue;
    entries.push_back(FoundEntry{std::string(name), info->attrs & kKnownAttributes,
                                 static_cast<std::int64_t>(info->size)});
  }
  smbc_getFunctionClosedir(context_)(context_, directory);
  return 0;
}

int SmbShare::Stat(const std::vector<std::string>& names, struct stat& status) {
  const std::string url = SmbUrl(remote_, names);
  return smbc_getFunctionStat(context_)(context_, url.c_str(), &status) == 0 ? 0 : LastError();
}

int SmbShare::Probe(const std::vector<std::string>& names, bool& directory) {
  // An open as a file is refused at once for a directory, before any right is looked at.
  SmbFile* file = nullptr;
  const int error_number = Open(names, O_RDONLY, file);
  if (error_number == 0) Close(file);
  if (error_number == 0 || error_number == EISDIR || error_number == ENOENT) {
    directory = error_number == EISDIR;
    return error_number == ENOENT ? ENOENT : 0;
  }
  // Refused for another reason (no right to read it, a share mode): the status still tells.
  struct stat status;
  const int status_error = Stat(names, status);
  directory = status_error == 0 && S_ISDIR(status.st_mode);
  return status_error;
}

bool SmbShare::Stamp(const std::vector<std::string>& names, DirectoryStamp& stamp) {
  const std::int64_t asked_at = RealTimeNanoseconds();
  struct stat status;
  return Stat(names, status) == 0 && StampFromStatus(status, asked_at, stamp);
}

std::int64_t SmbShare::Capacity() {
  std::string url = SmbUrl(remote_, {});
  struct statvfs status;
  if (smbc_getFunctionStatVFS(context_)(context_, url.data(), &status) != 0) return -1;
  // libsmbclient reports the sector size as the block size and the sectors per allocation
  // unit as the fragment size, so a unit is their product.
  return static_cast<std::int64_t>(status.f_blocks) * static_cast<std::int64_t>(status.f_bsize) *
         static_cast<std::int64_t>(status.f_frsize);
}

int SmbShare::Open(const std::vector<std::string>& names, int flags, SmbFile*& file) {
  const std::string url = SmbUrl(remote_, names);
  // The library refuses O_APPEND, and finds the end only of a file it may also read; the
  // program's appends all go to the end it finds at the opening.
  const bool append = (flags & O_APPEND) != 0;
  if (append) flags = (flags & ~(O_APPEND | O_ACCMODE)) | O_RDWR;
  file = smbc_getFunctionOpen(context_)(context_, url.c_str(), flags, 0666);
  if (file == nullptr) return LastError();
  if (append && smbc_getFunctionLseek(context_)(context_, file, 0, SEEK_END) < 0) {
    const int error_number = LastError();
    Close(file);
    file = nullptr;
    return error_number;
  }
  return 0;
}

int SmbShare::SizeOf(SmbFile* file, std::int64_t& size) {
  struct stat status;
  if (smbc_getFunctionFstat(context_)(context_, file, &status) != 0) return LastError();
  size = status.st_size;
  return 0;
}

int SmbShare::Read(SmbFile* file, void* buffer, std::size_t size, std::size_t& done) {
  done = 0;
  // The library reads on by itself until the size or the end of the file.
  const ssize_t got = smbc_getFunctionRead(context_)(context_, file, buffer, size);
  if (got < 0) return LastError();
  done = static_cast<std::size_t>(got);
  return 0;
}

int SmbShare::Write(SmbFile* file, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written =
        smbc_getFunctionWrite(context_)(context_, file, bytes.data(), bytes.size());
    if (written < 0) return LastError();
    if (written == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

void SmbShare::Close(SmbFile* file) { smbc_getFunctionClose(context_)(context_, file); }

}  // namespace tarvik

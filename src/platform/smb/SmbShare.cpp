#include "platform/smb/SmbShare.h"

#include <fcntl.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/ErrorCodes.h"
#include "platform/WindowsName.h"
#include "platform/smb/ShareStamp.h"
#include "platform/smb/SmbClientLibrary.h"
#include "platform/smb/SmbErrors.h"

// libsmbclient sets up its logging once per process, at the first context, and keeps it until
// the process ends, and the context of a dead connection is never freed (Session); a sanitizer
// build's leak check would count both against every program that connects a share. Their
// stacks end in the library or in talloc, Samba's allocator, which nothing of ours uses.
// glibc's newlocale, asked for a locale while LOCPATH is set (as the tests of the command line's
// locale do), keeps the search list it split from it. This file is in every program, so the
// process's list lives here. Without the sanitizer nothing calls this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libtalloc.so\nleak:libsmbclient.so\nleak:__argz_add_sep\n";
}

namespace tarvik {

namespace {

bool IsRefusal(int error_number) { return error_number == EACCES || error_number == EPERM; }

// The library, loaded by the logon before any other call.
const SmbClientLibrary& Smbc() { return *LoadSmbClient(); }

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

// Requests about paths asked so far, counted on the callers' thread.
std::uint64_t path_requests = 0;

}  // namespace

struct SmbShare::Session {
  RemoteName remote;
  std::string user;
  std::string password;
  SMBCCTX* context = nullptr;
  // The server's clock, when it could be learnt at the logon; the stamps of its directories
  // are judged by it.
  std::optional<ServerClock> clock;
  // What a read brings, handed to its caller once the read has ended.
  std::vector<char> bytes;
  // A request went past its deadline or found the server gone; set on the library's thread,
  // also by a request that was given up.
  std::atomic<bool> dead = false;

  // Freeing a context closes its files and its connection, which waits for a server that no
  // longer answers once per file: a dead session's context is left to the process's end.
  ~Session() {
    if (context != nullptr && !dead) Smbc().free_context(context, 1);
  }

  // The libsmbclient callback that hands over the credentials of a context.
  static void Credentials(SMBCCTX* context, const char* /*server*/, const char* /*share*/,
                          char* /*workgroup*/, int /*workgroup_size*/, char* user, int user_size,
                          char* password, int password_size) {
    const auto* session = static_cast<const Session*>(Smbc().getOptionUserData(context));
    CopyWhole(user, user_size, session->user);
    CopyWhole(password, password_size, session->password);
  }
};

SmbShare::SmbShare(std::shared_ptr<Session> session) : session_(std::move(session)) {}

bool SmbShare::Dead() const { return session_->dead; }

// The thread of every libsmbclient call in the process.
CallThread& Library() {
  static CallThread library;
  return library;
}

bool SmbShare::CanAsk() const { return !Dead() && !Library().Busy(); }

std::uint64_t SmbShare::PathRequestCount() { return path_requests; }

// The session goes with the call, on the library's thread, after any request still out.
SmbShare::~SmbShare() {
  Library().Post([session = std::move(session_)] {});
}

template <class Reply, class Request>
int SmbShare::Ask(Reply& reply, Request request, const Waiting& waiting) {
  if (!CanAsk()) return ETIMEDOUT;
  struct Outcome {
    int error = 0;
    Reply reply{};
  };
  auto outcome = std::make_shared<Outcome>();
  const bool ended = Library().Run(
      [session = session_, outcome, request = std::move(request)] {
        errno = 0;
        outcome->error = request(*session, outcome->reply);
        if (ConnectionLost(outcome->error)) session->dead = true;
      },
      waiting);
  if (!ended) return ECANCELED;
  reply = std::move(outcome->reply);
  return outcome->error;
}

int SmbShare::Connect(const RemoteName& remote, const std::string& user,
                      const std::string& password, std::uint16_t port, int deadline_ms,
                      std::unique_ptr<SmbShare>& share, ConnectFailure& failure) {
  const bool guest = password.empty();
  auto session = std::make_shared<Session>();
  session->remote = remote;
  session->user = guest ? "" : user;
  session->password = password;
  int code = ConnectErrorCode(ETIMEDOUT, false);
  failure = ConnectFailureOf(ETIMEDOUT, false);
  Library().Run([&] { code = LogOn(*session, port, deadline_ms, failure); }, {});
  if (code == kNoError) share.reset(new SmbShare(session));
  // A session that failed goes on the library's thread, as every other does.
  Library().Post([session = std::move(session)] {});
  return code;
}

int SmbShare::LogOn(Session& session, std::uint16_t port, int deadline_ms,
                    ConnectFailure& failure) {
  failure = ConnectFailure::kUnknown;
  const RemoteName& remote = session.remote;
  const bool guest = session.password.empty();
  if (LoadSmbClient() == nullptr) return ConnectErrorCode(ELIBACC, false);
  session.context = Smbc().new_context();
  SMBCCTX* context = session.context;
  if (context == nullptr) return ConnectErrorCode(errno, false);
  Smbc().setOptionUserData(context, &session);
  Smbc().setFunctionAuthDataWithContext(context, &Session::Credentials);
  // A refused password must not quietly become a guest logon.
  Smbc().setOptionNoAutoAnonymousLogin(context, guest ? 0 : 1);
  Smbc().setPort(context, port);
  Smbc().setTimeout(context, deadline_ms);
  Smbc().setDebug(context, 0);
  Smbc().setOptionDebugToStderr(context, 1);
  if (Smbc().init_context(context) == nullptr) return ConnectErrorCode(errno, false);

  SMBCFILE* root = Smbc().getFunctionOpendir(context)(context, SmbUrl(remote, {}).c_str());
  if (root == nullptr) {
    const int error_number = errno;
    bool computer_refused = false;
    if (!guest && IsRefusal(error_number)) {
      SMBCFILE* computer = Smbc().getFunctionOpendir(context)(context, ComputerUrl(remote).c_str());
      computer_refused = computer == nullptr && IsRefusal(errno);
      if (computer != nullptr) Smbc().getFunctionClosedir(context)(context, computer);
    }
    failure = ConnectFailureOf(error_number, computer_refused);
    return ConnectErrorCode(error_number, computer_refused);
  }
  Smbc().getFunctionClosedir(context)(context, root);
  session.clock = AskServerClock(remote.computer, port, deadline_ms);
  return kNoError;
}

int SmbShare::List(const std::vector<std::string>& names, std::vector<FoundEntry>& entries) {
  ++path_requests;
  return Ask(
      entries,
      [url = SmbUrl(session_->remote, names)](Session& session, std::vector<FoundEntry>& found) {
        SMBCCTX* context = session.context;
        SMBCFILE* directory = Smbc().getFunctionOpendir(context)(context, url.c_str());
        if (directory == nullptr) return LastError();
        // The whole listing arrives with the opening; reading it cannot fail.
        while (const libsmb_file_info* info =
                   Smbc().getFunctionReaddirPlus(context)(context, directory)) {
          const std::string_view name(info->name);
          if (name == "." || name == "..") continue;
          // A server may keep names that Windows forbids (Samba without mangled names).
          found.push_back(FoundEntry{ToWindowsName(name), info->attrs & kKnownAttributes,
                                     static_cast<std::int64_t>(info->size)});
        }
        Smbc().getFunctionClosedir(context)(context, directory);
        return 0;
      },
      waiting_);
}

int SmbShare::Stat(const std::vector<std::string>& names, struct stat& status) {
  ++path_requests;
  return Ask(
      status,
      [url = SmbUrl(session_->remote, names)](Session& session, struct stat& found) {
        return Smbc().getFunctionStat(session.context)(session.context, url.c_str(), &found) == 0
                   ? 0
                   : LastError();
      },
      waiting_);
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

int SmbShare::Stamp(const std::vector<std::string>& names, DirectoryStamp& stamp, bool& settled) {
  const std::int64_t server_time = EarliestServerTime(session_->clock);
  struct stat status;
  const int error_number = Stat(names, status);
  if (error_number != 0) return error_number;
  if (!S_ISDIR(status.st_mode)) return ENOTDIR;
  settled = StampFromStatus(status, server_time, stamp);
  return 0;
}

std::int64_t SmbShare::Capacity() {
  ++path_requests;
  std::int64_t capacity = -1;
  Ask(
      capacity,
      [url = SmbUrl(session_->remote, {})](Session& session, std::int64_t& found) {
        // The library's declaration wants a writable text.
        std::string text = url;
        struct statvfs status;
        if (Smbc().getFunctionStatVFS(session.context)(session.context, text.data(), &status) !=
            0) {
          return LastError();
        }
        // libsmbclient reports the sector size as the block size and the sectors per
        // allocation unit as the fragment size, so a unit is their product.
        found = static_cast<std::int64_t>(status.f_blocks) *
                static_cast<std::int64_t>(status.f_bsize) *
                static_cast<std::int64_t>(status.f_frsize);
        return 0;
      },
      waiting_);
  return capacity;
}

int SmbShare::Open(const std::vector<std::string>& names, int flags, SmbFile*& file) {
  file = nullptr;
  ++path_requests;
  return Ask(
      file,
      [url = SmbUrl(session_->remote, names), flags](Session& session, SmbFile*& opened) {
        SMBCCTX* context = session.context;
        // The library refuses O_APPEND, and finds the end only of a file it may also read;
        // the program's appends all go to the end it finds at the opening.
        const bool append = (flags & O_APPEND) != 0;
        const int open_flags = append ? (flags & ~(O_APPEND | O_ACCMODE)) | O_RDWR : flags;
        opened = Smbc().getFunctionOpen(context)(context, url.c_str(), open_flags, 0666);
        if (opened == nullptr) return LastError();
        if (append && Smbc().getFunctionLseek(context)(context, opened, 0, SEEK_END) < 0) {
          const int error_number = LastError();
          Smbc().getFunctionClose(context)(context, opened);
          opened = nullptr;
          return error_number;
        }
        return 0;
      },
      waiting_);
}

int SmbShare::Rewind(SmbFile* file) {
  int unused = 0;
  return Ask(
      unused,
      [file](Session& session, int&) {
        return Smbc().getFunctionLseek(session.context)(session.context, file, 0, SEEK_SET) == 0
                   ? 0
                   : LastError();
      },
      waiting_);
}

int SmbShare::SizeOf(SmbFile* file, std::int64_t& size) {
  return Ask(
      size,
      [file](Session& session, std::int64_t& found) {
        struct stat status;
        if (Smbc().getFunctionFstat(session.context)(session.context, file, &status) != 0) {
          return LastError();
        }
        found = status.st_size;
        return 0;
      },
      waiting_);
}

int SmbShare::Read(SmbFile* file, void* buffer, std::size_t size, std::size_t& done,
                   const Waiting& waiting) {
  done = 0;
  std::size_t got = 0;
  const int error_number = Ask(
      got,
      [file, size](Session& session, std::size_t& read) {
        if (session.bytes.size() < size) session.bytes.resize(size);
        // The library reads on by itself until the size or the end of the file.
        const ssize_t result = Smbc().getFunctionRead(session.context)(session.context, file,
                                                                       session.bytes.data(), size);
        if (result < 0) return LastError();
        read = static_cast<std::size_t>(result);
        return 0;
      },
      waiting);
  if (error_number != 0) return error_number;
  std::memcpy(buffer, session_->bytes.data(), got);
  done = got;
  return 0;
}

int SmbShare::Write(SmbFile* file, std::string_view bytes) {
  int unused = 0;
  return Ask(
      unused,
      [file, text = std::string(bytes)](Session& session, int&) {
        std::string_view left = text;
        while (!left.empty()) {
          const ssize_t written = Smbc().getFunctionWrite(session.context)(
              session.context, file, left.data(), left.size());
          if (written < 0) return LastError();
          if (written == 0) return ENOSPC;
          left.remove_prefix(static_cast<std::size_t>(written));
        }
        return 0;
      },
      waiting_);
}

void SmbShare::Close(SmbFile* file) {
  int unused = 0;
  Ask(
      unused,
      [file](Session& session, int&) {
        Smbc().getFunctionClose(session.context)(session.context, file);
        return 0;
      },
      waiting_);
}

}  // namespace tarvik

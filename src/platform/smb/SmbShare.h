#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CallThread.h"
#include "platform/Platform.h"
#include "platform/smb/RemoteName.h"

// Kept opaque here so that only SmbShare.cpp sees libsmbclient's header.
struct _SMBCCTX;
struct _SMBCFILE;

namespace tarvik {

using SmbFile = _SMBCFILE;

// One shared directory logged on to through libsmbclient. Each share has a context of its
// own, so that every connection keeps its own credentials and session. Paths are the names
// below the shared directory. Connect returns a network result code; the other calls return
// the errno value libsmbclient left (0 on success), for the caller to map by what it did.
//
// libsmbclient keeps per-call state in globals, so all of its calls in the process are made
// one at a time, on one thread of their own (CallThread). A server that does not answer
// therefore never holds the caller: the caller's waiting function runs meanwhile and may give
// the request up (ECANCELED). A request that gets no answer within the deadline fails with
// ETIMEDOUT, and one that finds the server gone (ConnectionLost) with what the library said;
// either way the connection counts as dead from then on: every later request on it fails at
// once with ETIMEDOUT. While a request given up is still out, every request fails so.
class SmbShare {
 public:
  using Waiting = std::function<bool()>;

  // Logs on as `user` with `password`, or as a guest when the password is empty, and checks
  // that the shared directory can be listed. `port` 0 tries the usual SMB ports; each request
  // waits at most `deadline_ms` for its answer. `failure` says why it failed.
  static int Connect(const RemoteName& remote, const std::string& user, const std::string& password,
                     std::uint16_t port, int deadline_ms, std::unique_ptr<SmbShare>& share,
                     ConnectFailure& failure);
  ~SmbShare();
  SmbShare(const SmbShare&) = delete;
  SmbShare& operator=(const SmbShare&) = delete;

  // What the requests other than reads run while they wait; none waits without a word.
  void WaitWith(Waiting waiting) { waiting_ = std::move(waiting); }
  // A request went past its deadline or found the server gone.
  bool Dead() const;
  // A request would go out now: the connection is not dead and no request given up is still
  // out.
  bool CanAsk() const;
  // The number of requests about paths asked of all shares so far: all but those on open
  // files.
  static std::uint64_t PathRequestCount();

  // The entries of a directory with their DOS attributes, without "." and "..", named in the
  // program's form (WindowsName.h).
  int List(const std::vector<std::string>& names, std::vector<FoundEntry>& entries);
  int Stat(const std::vector<std::string>& names, struct stat& status);
  // Tells a directory from a file: one request for a directory or nothing there, two for a
  // file.
  int Probe(const std::vector<std::string>& names, bool& directory);
  // Stamps a directory with one status request, settled or not (ShareStamp.h); ENOTDIR for a
  // file.
  int Stamp(const std::vector<std::string>& names, DirectoryStamp& stamp, bool& settled);
  // Total capacity in bytes, -1 when unknown.
  std::int64_t Capacity();

  int Open(const std::vector<std::string>& names, int flags, SmbFile*& file);
  // Moves an open file back to its start; the server is not asked.
  int Rewind(SmbFile* file);
  int SizeOf(SmbFile* file, std::int64_t& size);
  // Reads until `size` bytes or the end of the file, so that a short block has met the end;
  // `done` is 0 at the end. `waiting` runs while it waits.
  int Read(SmbFile* file, void* buffer, std::size_t size, std::size_t& done,
           const Waiting& waiting);
  int Write(SmbFile* file, std::string_view bytes);
  void Close(SmbFile* file);

 private:
  // The context and what it needs, shared with the request in flight, which may outlive the
  // share when it was given up.
  struct Session;

  explicit SmbShare(std::shared_ptr<Session> session);
  // Makes the session's context and logs on; on the library's thread.
  static int LogOn(Session& session, std::uint16_t port, int deadline_ms, ConnectFailure& failure);
  // Runs `request(session, reply)` on the share's thread; `reply` is set only when it ended.
  template <class Reply, class Request>
  int Ask(Reply& reply, Request request, const Waiting& waiting);

  std::shared_ptr<Session> session_;
  Waiting waiting_;
};

}  // namespace tarvik

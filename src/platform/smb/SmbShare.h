#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
class SmbShare {
 public:
  // Logs on as `user` with `password`, or as a guest when the password is empty, and checks
  // that the shared directory can be listed. `port` 0 tries the usual SMB ports.
  static int Connect(const RemoteName& remote, const std::string& user, const std::string& password,
                     std::uint16_t port, std::unique_ptr<SmbShare>& share);
  ~SmbShare();
  SmbShare(const SmbShare&) = delete;
  SmbShare& operator=(const SmbShare&) = delete;

  // The entries of a directory with their DOS attributes, without "." and "..".
  int List(const std::vector<std::string>& names, std::vector<FoundEntry>& entries);
  int Stat(const std::vector<std::string>& names, struct stat& status);
  // Tells a directory from a file: one request for a directory or nothing there, two for a
  // file.
  int Probe(const std::vector<std::string>& names, bool& directory);
  // Stamps a directory with one status request; false when it cannot be stamped or is not
  // settled (ShareStamp.h).
  bool Stamp(const std::vector<std::string>& names, DirectoryStamp& stamp);
  // Total capacity in bytes, -1 when unknown.
  std::int64_t Capacity();

  int Open(const std::vector<std::string>& names, int flags, SmbFile*& file);
  int SizeOf(SmbFile* file, std::int64_t& size);
  // Reads until `size` bytes or the end of the file, so that a short block has met the end;
  // `done` is 0 at the end.
  int Read(SmbFile* file, void* buffer, std::size_t size, std::size_t& done);
  int Write(SmbFile* file, std::string_view bytes);
  void Close(SmbFile* file);

 private:
  SmbShare(RemoteName remote, std::string user, std::string password);
  // The libsmbclient callback that hands over the credentials of the share's context.
  static void Credentials(_SMBCCTX* context, const char* server, const char* share, char* workgroup,
                          int workgroup_size, char* user, int user_size, char* password,
                          int password_size);

  RemoteName remote_;
  std::string user_;
  std::string password_;
  _SMBCCTX* context_ = nullptr;
};

}  // namespace tarvik

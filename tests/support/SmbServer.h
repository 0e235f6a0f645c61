#pragma once

#include <sys/types.h>

#include <string>

#include "support/TempDir.h"

namespace tarvik {

// Debian's smbd for tests, on 127.0.0.1 at a free unprivileged port, with its configuration,
// state and shared folders in a temporary directory. Share DOCS (folder "Общая") lets guests
// in; share SECRET (folder "Закрытая") only the login user with kPassword. The port is
// published as TARVIK_SMB_PORT, the setting a user gives, so that platforms made afterwards
// reach this server. The server and every process it forked are stopped with the object,
// and die with the test process if it dies first.
class SmbServer {
 public:
  static constexpr const char* kPassword = "Секрет-9";
  static constexpr const char* kGuestFolder = "Общая";
  static constexpr const char* kSecretFolder = "Закрытая";

  // Starts the server and waits until it answers.
  SmbServer();
  ~SmbServer();
  SmbServer(const SmbServer&) = delete;
  SmbServer& operator=(const SmbServer&) = delete;

  // Starts it again after Stop, on the same port.
  void Start();
  // Kills the server at once, with the connections it serves, as a crash would.
  void Stop();
  // Stops every process of the server (SIGSTOP) without closing a connection, as a server
  // that hangs would; Thaw lets them go on.
  void Freeze();
  void Thaw();

  // The shared folders are kGuestFolder and kSecretFolder in here.
  TempDir& files() { return files_; }
  int port() const { return port_; }

 private:
  TempDir state_;
  TempDir files_;
  int port_;
  pid_t pid_ = -1;
};

}  // namespace tarvik

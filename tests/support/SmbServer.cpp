#include "support/SmbServer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace tarvik {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

// A port nobody listens on now; the kernel picks it from its unprivileged range.
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("no free port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

bool Answers(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = Loopback(port);
  const bool connected =
      connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

std::string LoginName() {
  const passwd* user = getpwuid(geteuid());
  if (user == nullptr) throw std::runtime_error("no login name");
  return user->pw_name;
}

void Run(const std::string& command, const std::string& input) {
  FILE* pipe = popen(command.c_str(), "w");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  std::fputs(input.c_str(), pipe);
  if (pclose(pipe) != 0) throw std::runtime_error("failed: " + command);
}

}  // namespace

SmbServer::SmbServer() : port_(FreePort()) {
  const std::string user = LoginName();
  const std::string state = state_.path();
  files_.MakeDir(kGuestFolder);
  files_.MakeDir(kSecretFolder);
  state_.MakeFile("smb.conf",
                  "[global]\n"
                  "server role = standalone server\n"
                  "smb ports = " +
                      std::to_string(port_) +
                      "\n"
                      "interfaces = 127.0.0.1\n"
                      "bind interfaces only = yes\n"
                      "disable netbios = yes\n"
                      "lock directory = " +
                      state +
                      "\n"
                      "state directory = " +
                      state +
                      "\n"
                      "cache directory = " +
                      state +
                      "\n"
                      "private dir = " +
                      state +
                      "\n"
                      "pid directory = " +
                      state +
                      "\n"
                      "ncalrpc dir = " +
                      state +
                      "/ncalrpc\n"
                      "passdb backend = tdbsam:" +
                      state +
                      "/passdb.tdb\n"
                      "log file = " +
                      state +
                      "/log\n"
                      "map to guest = Bad User\n"
                      "guest account = " +
                      user +
                      "\n"
                      "load printers = no\n"
                      "printcap name = /dev/null\n"
                      "disable spoolss = yes\n"
                      "[DOCS]\n"
                      "path = " +
                      files_.Path(kGuestFolder) +
                      "\n"
                      "guest ok = yes\n"
                      "read only = no\n"
                      // Lists names that Windows forbids as they are stored.
                      "mangled names = no\n"
                      "[SECRET]\n"
                      "path = " +
                      files_.Path(kSecretFolder) +
                      "\n"
                      "valid users = " +
                      user +
                      "\n"
                      "read only = no\n");
  const std::string password = std::string(kPassword) + "\n";
  Run("smbpasswd -c " + state_.Path("smb.conf") + " -s -a " + user + " >/dev/null",
      password + password);
  setenv("TARVIK_SMB_PORT", std::to_string(port_).c_str(), 1);
  Start();
}

SmbServer::~SmbServer() { Stop(); }

void SmbServer::Start() {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  const std::string config = state_.Path("smb.conf");
  const std::string log = state_.Path("smbd.out");
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // Its own process group, so that Stop reaches the processes it forks per connection.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    execl("/usr/sbin/smbd", "smbd", "--foreground", "--no-process-group", "--debug-stdout",
          "--debuglevel=1", "--configfile", config.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid_, pid_);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!Answers(port_)) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_ || std::chrono::steady_clock::now() > deadline) {
      Stop();
      throw std::runtime_error("smbd did not start; see " + log);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void SmbServer::Stop() {
  if (pid_ <= 0) return;
  kill(-pid_, SIGKILL);
  // Its processes per connection come to this process (the subreaper) as their parent dies and
  // are reaped here. Left to init, they stay zombies for a second or two, which count as alive:
  // a server started again meanwhile may take their sessions of the same client for live ones.
  // A stopped server is one whose processes are all gone, as after a reboot.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    const pid_t reaped = waitpid(-pid_, nullptr, WNOHANG);
    if (reaped > 0 || (reaped < 0 && errno == EINTR)) continue;
    if (reaped < 0) break;  // none left
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  pid_ = -1;
  // The listening socket is closed once the kernel has ended them; a stopped server is one
  // that no longer answers.
  while (Answers(port_) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void SmbServer::Freeze() {
  if (pid_ > 0) kill(-pid_, SIGSTOP);
}

void SmbServer::Thaw() {
  if (pid_ > 0) kill(-pid_, SIGCONT);
}

}  // namespace tarvik

#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tarvik {

void SettleDirectories() { std::this_thread::sleep_for(std::chrono::milliseconds(120)); }

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

std::string TempRoot() {
  const char* tmpdir = std::getenv("TMPDIR");
  return tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
}

}  // namespace

TempDir::TempDir() {
  std::string pattern = TempRoot() + "/tarvik-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) Fail("mkdtemp", pattern);
  // The real path, so that tests can compare it with what the platform reports.
  path_ = fs::canonical(buffer.data()).string();
}

TempDir::~TempDir() {
  std::error_code error;
  // Give every directory back its permissions first; root ignores them, other users do not.
  for (auto it = fs::recursive_directory_iterator(path_, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->is_directory(error) && !it->is_symlink(error)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

std::string TempDir::Path(std::string_view relative) const {
  return relative.empty() ? path_ : path_ + '/' + std::string(relative);
}

void TempDir::MakeParents(std::string_view relative) {
  const fs::path parent = fs::path(Path(relative)).parent_path();
  std::error_code error;
  fs::create_directories(parent, error);
  if (error) throw std::runtime_error("create_directories " + parent.string());
}

std::string TempDir::MakeFile(std::string_view relative, std::string_view content) {
  MakeParents(relative);
  const std::string path = Path(relative);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) Fail("write", path);
  return path;
}

std::string TempDir::MakeFileOfSize(std::string_view relative, std::int64_t size) {
  std::string content(static_cast<std::size_t>(size), '\0');
  for (std::size_t i = 0; i < content.size(); ++i) {
    content[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  }
  return MakeFile(relative, content);
}

std::string TempDir::MakeSparseFile(std::string_view relative, std::int64_t size) {
  const std::string path = MakeFile(relative);
  if (truncate(path.c_str(), size) != 0) Fail("truncate", path);
  return path;
}

std::string TempDir::MakeDir(std::string_view relative) {
  const std::string path = Path(relative);
  std::error_code error;
  fs::create_directories(path, error);
  if (error) throw std::runtime_error("create_directories " + path);
  return path;
}

std::string TempDir::MakeSymlink(std::string_view relative, std::string_view target) {
  MakeParents(relative);
  const std::string path = Path(relative);
  if (symlink(std::string(target).c_str(), path.c_str()) != 0) Fail("symlink", path);
  return path;
}

std::string TempDir::MakeFifo(std::string_view relative) {
  MakeParents(relative);
  const std::string path = Path(relative);
  if (mkfifo(path.c_str(), 0644) != 0) Fail("mkfifo", path);
  return path;
}

std::string TempDir::MakeSocket(std::string_view relative) {
  MakeParents(relative);
  const std::string path = Path(relative);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) throw std::runtime_error("socket path too long");
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail("socket", path);
  const int bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  close(fd);
  if (bound != 0) Fail("bind", path);
  return path;
}

void TempDir::Chmod(std::string_view relative, mode_t mode) {
  const std::string path = Path(relative);
  if (chmod(path.c_str(), mode) != 0) Fail("chmod", path);
}

void TempDir::AppendToFile(std::string_view relative, std::string_view content) {
  const std::string path = Path(relative);
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) Fail("append", path);
}

std::string TempDir::ReadFile(std::string_view relative) const {
  const std::string path = Path(relative);
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("open", path);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void TempDir::Remove(std::string_view relative) {
  std::error_code error;
  fs::remove_all(Path(relative), error);
  if (error) throw std::runtime_error("remove " + Path(relative));
}

}  // namespace tarvik

#include "support/FaultyFs.h"

// 3.12 is the first version with the session calls used here in their current form.
#define FUSE_USE_VERSION 312
#include <fuse_lowlevel.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/Platform.h"
#include "support/PrivateMountNamespace.h"

namespace tarvik {

namespace {

[[noreturn]] void Refuse(const std::string& why) {
  throw std::runtime_error("faulty file system: " + why);
}

// The kernel asks again for every name and every size: faults that change an entry must be
// seen at once.
constexpr double kNoCaching = 0.0;

struct Node {
  std::string name;
  fuse_ino_t parent = FUSE_ROOT_ID;
  bool directory = false;
  std::string content;
  FaultyFs::Faults faults;
  std::vector<fuse_ino_t> children;  // in name order
  bool gone = false;
  bool listed = false;  // shown by a listing of its directory not closed yet
  bool resized = false;
  int open_handles = 0;  // of a directory
  int opens = 0;
  bool listing_failed = false;  // ListingFailsOnce has struck
  int reads = 0;
};

}  // namespace

// The file system's state and its request loop. Requests are answered one at a time on the
// loop thread; the test thread only reads counters and stops the loop.
class FaultyFs::Server {
 public:
  explicit Server(const std::vector<Entry>& tree);
  ~Server();

  void Mount(const std::string& mount_point, FaultyFsScope scope);
  int ReadsServed(const std::string& path);
  void ReleaseReads();
  std::size_t HeldReads();

 private:
  static Server& Of(fuse_req_t request) {
    return *static_cast<Server*>(fuse_req_userdata(request));
  }
  static Node* Find(fuse_req_t request, fuse_ino_t ino);

  static void Init(void* userdata, fuse_conn_info* connection);
  static void Lookup(fuse_req_t request, fuse_ino_t parent, const char* name);
  static void GetAttr(fuse_req_t request, fuse_ino_t ino, fuse_file_info* file);
  static void Open(fuse_req_t request, fuse_ino_t ino, fuse_file_info* file);
  static void Read(fuse_req_t request, fuse_ino_t ino, std::size_t size, off_t offset,
                   fuse_file_info* file);
  static void OpenDir(fuse_req_t request, fuse_ino_t ino, fuse_file_info* file);
  static void ReadDir(fuse_req_t request, fuse_ino_t ino, std::size_t size, off_t offset,
                      fuse_file_info* file);
  static void ReleaseDir(fuse_req_t request, fuse_ino_t ino, fuse_file_info* file);

  fuse_ino_t Add(const std::string& path, bool directory);
  fuse_ino_t Child(fuse_ino_t parent, const std::string& name) const;
  struct stat AttributesOf(fuse_ino_t ino) const;
  void WaitFor(std::chrono::milliseconds delay);
  static void Answer(fuse_req_t request, const Node& node, std::size_t size, off_t offset);
  void Loop();

  std::vector<Node> nodes_;  // inode i is nodes_[i - 1]; the root is FUSE_ROOT_ID
  fuse_session* session_ = nullptr;
  int stop_fd_ = -1;
  std::thread loop_;

  std::mutex mutex_;
  std::condition_variable stopping_;
  bool stop_ = false;
  struct HeldRead {
    fuse_req_t request;
    const Node* node;
    std::size_t size;
    off_t offset;
  };
  std::vector<HeldRead> held_;
};

FaultyFs::Server::Server(const std::vector<Entry>& tree) {
  nodes_.emplace_back().directory = true;
  for (const Entry& entry : tree) {
    Node& node = nodes_[Add(entry.path, entry.directory) - 1];
    node.content = entry.content;
    node.faults = entry.faults;
  }
}

FaultyFs::Server::~Server() {
  if (loop_.joinable()) {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    stopping_.notify_all();
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(stop_fd_, &one, sizeof one);
    loop_.join();
  }
  // A read still held fails, as it would when the drive gives up.
  for (const HeldRead& read : held_) fuse_reply_err(read.request, EIO);
  if (session_ != nullptr) {
    // Closes the connection first, so that files a test left open fail instead of hanging,
    // then detaches the mount.
    fuse_session_unmount(session_);
    fuse_session_destroy(session_);
  }
  if (stop_fd_ >= 0) close(stop_fd_);
}

fuse_ino_t FaultyFs::Server::Add(const std::string& path, bool directory) {
  fuse_ino_t parent = FUSE_ROOT_ID;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string name = path.substr(start, end - start);
    const bool last = end == path.size();
    if (name.empty()) Refuse("empty name in \"" + path + "\"");
    fuse_ino_t ino = Child(parent, name);
    if (ino == 0) {
      Node& node = nodes_.emplace_back();
      node.name = name;
      node.parent = parent;
      node.directory = directory || !last;
      ino = nodes_.size();
      std::vector<fuse_ino_t>& siblings = nodes_[parent - 1].children;
      siblings.insert(std::upper_bound(siblings.begin(), siblings.end(), ino,
                                       [this](fuse_ino_t a, fuse_ino_t b) {
                                         return nodes_[a - 1].name < nodes_[b - 1].name;
                                       }),
                      ino);
    } else if (last || !nodes_[ino - 1].directory) {
      Refuse("\"" + path + "\" given twice or below a file");
    }
    if (last) return ino;
    parent = ino;
    start = end + 1;
  }
}

fuse_ino_t FaultyFs::Server::Child(fuse_ino_t parent, const std::string& name) const {
  for (const fuse_ino_t ino : nodes_[parent - 1].children) {
    if (nodes_[ino - 1].name == name) return ino;
  }
  return 0;
}

void FaultyFs::Server::Mount(const std::string& mount_point, FaultyFsScope scope) {
  if (geteuid() != 0) {
    Refuse("mounting needs root; this test runs as uid " + std::to_string(geteuid()));
  }
  if (access("/dev/fuse", R_OK | W_OK) != 0) {
    Refuse(std::string("mounting needs /dev/fuse: ") + std::strerror(errno));
  }
  if (const int error = scope == FaultyFsScope::kThisProcess ? EnterPrivateMountNamespace() : 0;
      error != 0) {
    Refuse(std::string("no mount namespace of its own: ") + std::strerror(error));
  }
  static const fuse_lowlevel_ops kOperations = [] {
    fuse_lowlevel_ops operations{};
    operations.init = Init;
    operations.lookup = Lookup;
    operations.getattr = GetAttr;
    operations.open = Open;
    operations.read = Read;
    operations.opendir = OpenDir;
    operations.readdir = ReadDir;
    operations.releasedir = ReleaseDir;
    return operations;
  }();
  char program[] = "tarvik-faulty-fs";
  char option[] = "-o";
  // A mount that others see has a name of its own, so that no test of theirs takes it for its own
  // medium.
  char options[] = "ro,fsname=tarvik-faulty,subtype=faulty";
  char shared_options[] = "ro,fsname=tarvik-faulty-shared,subtype=faulty";
  char* arguments[] = {program, option,
                       scope == FaultyFsScope::kThisProcess ? options : shared_options};
  fuse_args args = FUSE_ARGS_INIT(3, arguments);
  session_ = fuse_session_new(&args, &kOperations, sizeof kOperations, this);
  fuse_opt_free_args(&args);
  if (session_ == nullptr) Refuse("libfuse refused to start a session");
  if (fuse_session_mount(session_, mount_point.c_str()) != 0) {
    fuse_session_destroy(session_);
    session_ = nullptr;
    Refuse("mounting on " + mount_point + " failed (see libfuse's message above)");
  }
  stop_fd_ = eventfd(0, EFD_CLOEXEC);
  if (stop_fd_ < 0) Refuse(std::string("eventfd: ") + std::strerror(errno));
  loop_ = std::thread([this] { Loop(); });
}

// fuse_session_loop() cannot be stopped while it waits for the kernel; this loop also wakes
// up for the stop event.
void FaultyFs::Server::Loop() {
  fuse_buf buffer{};
  pollfd waits[] = {{fuse_session_fd(session_), POLLIN, 0}, {stop_fd_, POLLIN, 0}};
  for (;;) {
    if (poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (waits[1].revents != 0) break;
    const int received = fuse_session_receive_buf(session_, &buffer);
    if (received == -EINTR) continue;
    if (received <= 0) break;  // the connection is gone
    fuse_session_process_buf(session_, &buffer);
  }
  std::free(buffer.mem);
}

int FaultyFs::Server::ReadsServed(const std::string& path) {
  fuse_ino_t ino = FUSE_ROOT_ID;
  std::size_t start = 0;
  while (ino != 0 && start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    ino = Child(ino, path.substr(start, end - start));
    start = end + 1;
  }
  if (ino == 0) Refuse("no file \"" + path + "\" in the tree");
  const std::lock_guard lock(mutex_);
  return nodes_[ino - 1].reads;
}

Node* FaultyFs::Server::Find(fuse_req_t request, fuse_ino_t ino) {
  Server& server = Of(request);
  if (ino == 0 || ino > server.nodes_.size()) return nullptr;
  Node& node = server.nodes_[ino - 1];
  return node.gone ? nullptr : &node;
}

struct stat FaultyFs::Server::AttributesOf(fuse_ino_t ino) const {
  const Node& node = nodes_[ino - 1];
  struct stat status {};
  status.st_ino = ino;
  status.st_mode = node.directory ? S_IFDIR | 0555 : S_IFREG | 0444;
  status.st_nlink = node.directory ? 2 : 1;
  status.st_size = static_cast<off_t>(node.content.size());
  status.st_blocks = (status.st_size + 511) / 512;
  return status;
}

// Sleeps, but not past the end of the file system: a test that stops early does not wait.
void FaultyFs::Server::ReleaseReads() {
  std::vector<HeldRead> held;
  {
    const std::lock_guard lock(mutex_);
    held.swap(held_);
  }
  for (const HeldRead& read : held) Answer(read.request, *read.node, read.size, read.offset);
}

std::size_t FaultyFs::Server::HeldReads() {
  const std::lock_guard lock(mutex_);
  return held_.size();
}

void FaultyFs::Server::WaitFor(std::chrono::milliseconds delay) {
  std::unique_lock lock(mutex_);
  stopping_.wait_for(lock, delay, [this] { return stop_; });
}

void FaultyFs::Server::Init(void* /*userdata*/, fuse_conn_info* connection) {
  // Listings must not look entries up on their own: a vanishing entry is gone only after
  // the listing.
  connection->want &= ~(FUSE_CAP_READDIRPLUS | FUSE_CAP_READDIRPLUS_AUTO);
}

void FaultyFs::Server::Lookup(fuse_req_t request, fuse_ino_t parent, const char* name) {
  Server& server = Of(request);
  const fuse_ino_t ino = Find(request, parent) != nullptr ? server.Child(parent, name) : 0;
  if (ino == 0 || server.nodes_[ino - 1].gone) {
    fuse_reply_err(request, ENOENT);
    return;
  }
  if (server.nodes_[ino - 1].faults.look_up_fails) {
    fuse_reply_err(request, EIO);
    return;
  }
  fuse_entry_param entry{};
  entry.ino = ino;
  entry.attr = server.AttributesOf(ino);
  entry.attr_timeout = kNoCaching;
  entry.entry_timeout = kNoCaching;
  fuse_reply_entry(request, &entry);
}

void FaultyFs::Server::GetAttr(fuse_req_t request, fuse_ino_t ino, fuse_file_info* /*file*/) {
  if (Find(request, ino) == nullptr) {
    fuse_reply_err(request, ENOENT);
    return;
  }
  const struct stat status = Of(request).AttributesOf(ino);
  fuse_reply_attr(request, &status, kNoCaching);
}

void FaultyFs::Server::Open(fuse_req_t request, fuse_ino_t ino, fuse_file_info* file) {
  Node* node = Find(request, ino);
  const int nth = node == nullptr ? 0 : ++node->opens;
  if (node == nullptr) {
    fuse_reply_err(request, ENOENT);
  } else if (node->faults.eio_on_open || (nth == 1 && node->faults.eio_on_first_open) ||
             nth >= node->faults.eio_from_open.value_or(std::numeric_limits<int>::max())) {
    fuse_reply_err(request, EIO);
  } else {
    // Every read of the reader reaches this file system as it was asked for: no page cache
    // or read-ahead hides a fault or moves it to another block.
    file->direct_io = 1;
    fuse_reply_open(request, file);
    node->gone = node->faults.vanishes_after_open;
  }
}

void FaultyFs::Server::Read(fuse_req_t request, fuse_ino_t ino, std::size_t size, off_t offset,
                            fuse_file_info* /*file*/) {
  Server& server = Of(request);
  Node* node = Find(request, ino);
  if (node == nullptr) {
    fuse_reply_err(request, ENOENT);
    return;
  }
  {
    const std::lock_guard lock(server.mutex_);
    ++node->reads;
  }
  const Faults& faults = node->faults;
  if ((faults.hold_first_read && node->reads == 1) ||
      (faults.hold_reads_from && offset >= *faults.hold_reads_from)) {
    const std::lock_guard lock(server.mutex_);
    server.held_.push_back({request, node, size, offset});
    return;
  }
  if (faults.read_delay.count() > 0) server.WaitFor(faults.read_delay);
  if (faults.size_after_first_read && !node->resized) {
    node->content.resize(static_cast<std::size_t>(*faults.size_after_first_read), '\0');
    node->resized = true;
  }
  Answer(request, *node, size, offset);
}

void FaultyFs::Server::Answer(fuse_req_t request, const Node& node, std::size_t size,
                              off_t offset) {
  const Faults& faults = node.faults;
  if (faults.eio_from && offset >= *faults.eio_from) {
    fuse_reply_err(request, EIO);
    return;
  }
  std::int64_t end = std::min<std::int64_t>(offset + static_cast<std::int64_t>(size),
                                            static_cast<std::int64_t>(node.content.size()));
  if (faults.eio_from) end = std::min(end, *faults.eio_from);
  const std::int64_t begin = std::min<std::int64_t>(offset, end);
  fuse_reply_buf(request, node.content.data() + begin, static_cast<std::size_t>(end - begin));
}

void FaultyFs::Server::OpenDir(fuse_req_t request, fuse_ino_t ino, fuse_file_info* file) {
  Node* node = Find(request, ino);
  if (node == nullptr) {
    fuse_reply_err(request, ENOENT);
  } else if (node->faults.eio_on_open || (++node->opens == 1 && node->faults.eio_on_first_open)) {
    fuse_reply_err(request, EIO);
  } else {
    ++node->open_handles;
    fuse_reply_open(request, file);
  }
}

void FaultyFs::Server::ReadDir(fuse_req_t request, fuse_ino_t ino, std::size_t size, off_t offset,
                               fuse_file_info* /*file*/) {
  Server& server = Of(request);
  Node* directory = Find(request, ino);
  if (directory == nullptr) {
    fuse_reply_err(request, ENOENT);
    return;
  }
  const Faults& faults = directory->faults;
  const bool fails_now = faults.listing_fails_once && offset > 0 && !directory->listing_failed;
  if (faults.listing_fails || fails_now) {
    directory->listing_failed = true;
    fuse_reply_err(request, EIO);
    return;
  }
  struct Listed {
    const char* name;
    fuse_ino_t ino;
  };
  std::vector<Listed> entries = {{".", ino}, {"..", ino == FUSE_ROOT_ID ? ino : directory->parent}};
  for (const fuse_ino_t child : directory->children) {
    if (!server.nodes_[child - 1].gone)
      entries.push_back({server.nodes_[child - 1].name.c_str(), child});
  }
  std::vector<char> buffer(size);
  std::size_t used = 0;
  for (std::size_t i = static_cast<std::size_t>(offset); i < entries.size(); ++i) {
    const struct stat status = server.AttributesOf(entries[i].ino);
    const std::size_t needed =
        fuse_add_direntry(request, buffer.data() + used, size - used, entries[i].name, &status,
                          static_cast<off_t>(i + 1));
    if (needed > size - used) break;
    used += needed;
    if (i >= 2) server.nodes_[entries[i].ino - 1].listed = true;
  }
  fuse_reply_buf(request, buffer.data(), used);
}

void FaultyFs::Server::ReleaseDir(fuse_req_t request, fuse_ino_t ino, fuse_file_info* /*file*/) {
  Server& server = Of(request);
  Node& directory = server.nodes_[ino - 1];
  if (--directory.open_handles == 0) {
    for (const fuse_ino_t child : directory.children) {
      Node& node = server.nodes_[child - 1];
      if (node.listed && node.faults.vanishes_after_listing) node.gone = true;
      node.listed = false;
    }
  }
  fuse_reply_err(request, 0);
}

FaultyFs::Entry FaultyFs::File(std::string path, std::string content, Faults faults) {
  return Entry{std::move(path), false, std::move(content), faults};
}

FaultyFs::Entry FaultyFs::Dir(std::string path, Faults faults) {
  return Entry{std::move(path), true, {}, faults};
}

FaultyFs::FaultyFs(const std::vector<Entry>& tree, FaultyFsScope scope)
    : server_(std::make_unique<Server>(tree)) {
  server_->Mount(mount_point_.path(), scope);
}

FaultyFs::~FaultyFs() = default;

DriveSpec FaultyFs::Drive(char letter) const {
  return DriveSpec{letter, mount_point(), kDriveCdrom, "FAULTY",
                   kVolumeCaseSensitiveSearch | kVolumeCasePreservedNames};
}

int FaultyFs::ReadsServed(const std::string& path) const { return server_->ReadsServed(path); }

void FaultyFs::ReleaseReads() { server_->ReleaseReads(); }

std::size_t FaultyFs::HeldReads() const { return server_->HeldReads(); }

}  // namespace tarvik

#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_map>

#include "platform/CallThread.h"
#include "platform/posix/FileSystemKind.h"
#include "platform/posix/ReadRing.h"

namespace tarvik {

// Reads that must not freeze the caller while the medium takes its time: a scratched disc can
// hold one read in the kernel for minutes. A read that would have to wait is handed to a
// helper thread (CallThread), or on a local disk to the kernel's io_uring (ReadRing) where it
// has one, and the caller's `waiting` runs on the caller's thread meanwhile, so a window stays
// alive.
// Data already in memory is read at once on the caller's thread. One read at a time.
//
// `waiting` may give the read up by returning false. The read then goes on in the kernel
// without the caller: it fills a buffer of the reader's, never the caller's, which is let go
// when the read returns, and the next read that must wait gets a new ring or helper.
class WaitingReader {
 public:
  // read(2) of up to `size` bytes from `fd`; -1 with errno set on failure, ECANCELED when
  // `waiting` gave the read up.
  ssize_t Read(int fd, void* buffer, std::size_t size, const std::function<bool()>& waiting);
  // Tells how to read `fd` where the caller knows its file system, which spares a look.
  void Learn(int fd, FileSystemKind kind);
  // Forgets what was learnt about `fd`, which the caller closes next. False when a read that
  // was given up still uses it: the reader then closes it itself once that read returns.
  bool Release(int fd);

 private:
  // How reads of one file are done, learnt at its first read.
  enum class Mode {
    kDirect,  // a file system in memory: a read never waits for a medium
    kNoWait,  // read what is in memory at once, hand the rest to the helper
    kHelper,  // the file system cannot be asked: every read goes to the helper
  };
  // One read handed to the helper: the file, a buffer of the helper's and the outcome.
  struct Slot;

  static Mode ModeFor(FileSystemKind kind);
  Mode ModeOf(int fd);
  // Reads into a buffer of the reader's own on the helper thread, or `through_ring` where the
  // kernel has one. The ring serves the local disks' file systems only: their reads go through
  // the page cache, which ends a read that fails as read(2) does. FUSE's direct reads through
  // a ring were seen never to end once the file system had failed one.
  ssize_t ReadAside(int fd, void* buffer, std::size_t size, const std::function<bool()>& waiting,
                    bool through_ring);
  // Waits for the read under way; false when `waiting` gave it up.
  bool WaitForRing(Slot& slot, const std::function<bool()>& waiting);
  bool WaitForThread(const std::function<bool()>& waiting);
  // Hands the ring with its read still under way, and the slot it reads into, to a thread
  // that lets them go when the read ends.
  void GiveUpRing();

  std::unordered_map<int, Mode> modes_;
  std::unique_ptr<ReadRing> ring_;
  bool ring_tried_ = false;  // whether `ring_` was set up, or the kernel refused one
  std::unique_ptr<CallThread> helper_;
  std::shared_ptr<Slot> slot_;
  // The slots of reads given up, by the file they read, until that file is released.
  std::unordered_map<int, std::shared_ptr<Slot>> given_up_;
};

}  // namespace tarvik

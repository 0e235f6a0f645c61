#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/DriveTable.h"
#include "support/TempDir.h"

namespace tarvik {

// What goes wrong with one entry of a FaultyFs; nothing by default. The setters chain:
// FaultyFs::Faults().EioFrom(6144).ReadDelay(std::chrono::milliseconds(200)).
struct FaultyFsFaults {
  // Opening the file or the directory fails with EIO.
  FaultyFsFaults& EioOnOpen() {
    eio_on_open = true;
    return *this;
  }
  // Opening the file fails with EIO from its `nth` open on (counted from 1).
  FaultyFsFaults& EioFromOpen(int nth) {
    eio_from_open = nth;
    return *this;
  }
  // The first open of the file or the directory fails with EIO, the later ones work.
  FaultyFsFaults& EioOnFirstOpen() {
    eio_on_first_open = true;
    return *this;
  }
  // Reads from `offset` on fail with EIO; a read that reaches across it delivers the bytes
  // before it (a short read), the next one fails.
  FaultyFsFaults& EioFrom(std::int64_t offset) {
    eio_from = offset;
    return *this;
  }
  // Every read of the file is answered only after `delay`.
  FaultyFsFaults& ReadDelay(std::chrono::milliseconds delay) {
    read_delay = delay;
    return *this;
  }
  // The first read of the file is answered only when the test calls FaultyFs::ReleaseReads,
  // as a read that hangs in a drive would be; other requests are served meanwhile.
  FaultyFsFaults& HoldFirstRead() {
    hold_first_read = true;
    return *this;
  }
  // Reads from `offset` on are answered only when the test calls FaultyFs::ReleaseReads, as
  // reads that hang at a damaged place of a disc would be; the reads before it are served.
  FaultyFsFaults& HoldReadsFrom(std::int64_t offset) {
    hold_reads_from = offset;
    return *this;
  }
  // From the first read on, the file has `size` bytes: its content cut short, or extended by
  // zero bytes. The size reported before that read is the original one.
  FaultyFsFaults& SizeAfterFirstRead(std::int64_t size) {
    size_after_first_read = size;
    return *this;
  }
  // The entry is gone (looking it up gives ENOENT) as soon as a directory listing that
  // showed it has been closed, with no other handle of that directory open.
  FaultyFsFaults& VanishesAfterListing() {
    vanishes_after_listing = true;
    return *this;
  }
  // The file is gone as soon as it has been opened once.
  FaultyFsFaults& VanishesAfterOpen() {
    vanishes_after_open = true;
    return *this;
  }
  // Reading the directory's entries fails with EIO; opening it and looking names up in it
  // still work.
  FaultyFsFaults& ListingFails() {
    listing_fails = true;
    return *this;
  }

  // The first reading of the directory's entries fails with EIO after it has given them (as a
  // damaged medium fails part way); the readings after it work.
  FaultyFsFaults& ListingFailsOnce() {
    listing_fails_once = true;
    return *this;
  }

  // Looking the entry up fails with EIO, as a damaged medium may fail the look at one entry of a
  // directory whose listing still names it.
  FaultyFsFaults& LookUpFails() {
    look_up_fails = true;
    return *this;
  }

  bool eio_on_open = false;
  bool look_up_fails = false;
  std::optional<int> eio_from_open;
  bool eio_on_first_open = false;
  std::optional<std::int64_t> eio_from;
  std::chrono::milliseconds read_delay{0};
  bool hold_first_read = false;
  std::optional<std::int64_t> hold_reads_from;
  std::optional<std::int64_t> size_after_first_read;
  bool vanishes_after_listing = false;
  bool vanishes_after_open = false;
  bool listing_fails = false;
  bool listing_fails_once = false;
};

// Who sees a FaultyFs: the test process only, or every process of the machine (a program run
// under Wine, whose server opens the files), until it is unmounted.
enum class FaultyFsScope { kThisProcess, kEveryProcess };

// One entry of a FaultyFs tree. Parent directories not given are made as needed, without
// faults: give a faulty directory before the entries in it.
struct FaultyFsEntry {
  std::string path;  // relative, '/' between names: "DISC/SUB/A.BIN"
  bool directory = false;
  std::string content;
  FaultyFsFaults faults;
};

// A read-only FUSE file system that serves a tree the test describes, with faults the kernel
// delivers as a damaged medium would: EIO from open or from a byte offset on, slow reads, a
// size that changes under a reader, entries that vanish, directories that cannot be listed.
// It runs on a thread of the test process and is mounted on a fresh temporary directory in
// the process's own mount namespace, so no other process sees it and nothing stays mounted
// when the test ends, however it ends (a failed assertion unmounts through the destructor;
// if the process dies, its namespace and the mount go with it). Mounted for every process
// (FaultyFsScope::kEveryProcess), it is in the machine's namespace until the object goes.
//
// Mounting needs root and /dev/fuse; without them the constructor throws std::runtime_error
// saying which one is missing, so the test fails rather than passing unchecked. Build the
// object on the thread that uses the files: the mount is seen by that thread and the threads
// it starts afterwards.
//
//   FaultyFs fs({FaultyFs::File("DISC/A.BIN", data, FaultyFs::Faults().EioFrom(6144)),
//                FaultyFs::Dir("DISC/BAD", FaultyFs::Faults().ListingFails())});
//   PosixPlatform platform({fs.Drive('D')}, "D:\\");
class FaultyFs {
 public:
  using Faults = FaultyFsFaults;
  using Entry = FaultyFsEntry;

  static Entry File(std::string path, std::string content, Faults faults = {});
  static Entry Dir(std::string path, Faults faults = {});

  explicit FaultyFs(const std::vector<Entry>& tree,
                    FaultyFsScope scope = FaultyFsScope::kThisProcess);
  ~FaultyFs();
  FaultyFs(const FaultyFs&) = delete;
  FaultyFs& operator=(const FaultyFs&) = delete;

  const std::string& mount_point() const { return mount_point_.path(); }
  // A drive of the program over the mount: a case-sensitive CD-ROM with the label "FAULTY".
  DriveSpec Drive(char letter) const;
  // Read requests served for the file so far, failed ones included.
  int ReadsServed(const std::string& path) const;
  // Answers the reads held so far (HoldFirstRead, HoldReadsFrom).
  void ReleaseReads();
  // How many reads are held now.
  std::size_t HeldReads() const;

 private:
  class Server;

  TempDir mount_point_;
  std::unique_ptr<Server> server_;
};

}  // namespace tarvik

#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "platform/posix/PosixPlatform.h"
#include "scan/TDlgInfo.h"
#include "scan/TListError.h"
#include "support/FaultyPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace tarvik {

// The real platform with faults on demand and a disk size of the test's choosing.
class CheckPlatform : public FaultyPlatform {
 public:
  using FaultyPlatform::FaultyPlatform;
  std::int64_t TotalCapacity(const std::string&) override { return capacity; }
  std::string ProgramPath() override { return "E:\\TARVIK.EXE"; }
  std::uint32_t TickCount() override { return FaultyPlatform::TickCount() + clock_ahead; }
  std::int64_t capacity = 650'000'000;
  std::uint32_t clock_ahead = 0;  // moved on as a slow answer to a question would
};

// A main window over real files: D: is the drive being checked, E: holds the list file.
class CheckTest : public ::testing::Test {
 public:
  CheckTest();

  // Makes D: the given drive instead of the temporary directory; before Start.
  void UseDriveD(const DriveSpec& drive);
  // Creates the window with `current` as the current directory and shows it.
  void Start(const std::string& current = "D:\\S");
  TForm1& form() { return *form_; }

  // Turns the list file on; the next start command writes it to E:\LIST.TXT.
  void UseListFile();
  // The files the list file names, below D:\ ("S/A/f"), in the order they were offered.
  std::vector<std::string> OfferedFiles() const;
  std::vector<std::string> ListFileLines() const;
  // Every position Gauge1 took since Start, repeats left out.
  std::vector<std::int64_t> Gauge1Positions() const { return gauge1_; }
  const std::vector<std::string>& Problems() const { return list_error_.Memo1.Lines(); }
  // Runs `action` at the n-th message pump from now.
  void AtPump(int n, ScriptedDialogs::Action action);
  // Presses Esc at the n-th message pump from now.
  void EscAtPump(int n);

  TempDir drive_d_;
  TempDir drive_e_;
  std::unique_ptr<PosixPlatform> posix_;
  std::unique_ptr<CheckPlatform> platform_;
  ScriptedDialogs dialogs_;
  Window about_box_;
  TListError list_error_;
  TDlgInfo dlg_info_;
  TDlgNetConnect dlg_net_connect_;

 private:
  std::unique_ptr<TForm1> form_;
  std::vector<std::int64_t> gauge1_;
};

}  // namespace tarvik

#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/TForm1.h"
#include "platform/posix/PosixPlatform.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDriveTest.h"

namespace tarvik {

// The real platform over a temporary drive C:, with the program's own path and the drive's
// capacity under the test's control.
class AppPlatform : public PosixPlatform {
 public:
  using PosixPlatform::PosixPlatform;

  std::string ProgramPath() override { return program_path; }
  std::int64_t TotalCapacity(const std::string& root) override {
    capacity_roots += root;
    return capacity;
  }

  std::vector<FoundEntry> FindFiles(const std::string& pattern, std::uint32_t attributes) override {
    ++find_calls;
    return PosixPlatform::FindFiles(pattern, attributes);
  }

  std::string program_path = "C:\\APP\\TARVIK.EXE";
  int find_calls = 0;
  std::int64_t capacity = 652'345'344;
  std::string capacity_roots;
};

// The main window's model over trees the test builds first: "C:" is one temporary directory,
// "D:" another.
class TForm1Test : public TempDriveTest<AppPlatform> {
 protected:
  // Creates the window with `current` as the platform's current directory and shows it;
  // `configure` adjusts the platform before the window is made.
  void Start(const std::string& current = "C:\\",
             const std::function<void(AppPlatform&)>& configure = {});

  TForm1& form() { return *form_; }
  AppPlatform& platform() { return *platform_; }

  TempDir d_drive_;
  ScriptedDialogs dialogs_;
  Window about_box_;
  TListError list_error_;
  TDlgInfo dlg_info_;
  TDlgNetConnect dlg_net_connect_;

 private:
  std::unique_ptr<TForm1> form_;
};

}  // namespace tarvik

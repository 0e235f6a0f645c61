#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace tarvik {

// Runs `measure` in a child process with a Qt application of its own, so that every figure
// starts from a fresh process and the peak memory is that measurement's.
inline void InChild(const std::function<void()>& measure) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    int argc = 1;
    char name[] = "tarvik_bench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    measure();
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

// The process's peak resident memory so far, in megabytes.
inline double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024;
}

}  // namespace tarvik

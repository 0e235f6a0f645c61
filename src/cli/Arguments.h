#pragma once

#include <string>
#include <vector>

namespace tarvik {

// The program's arguments as the system hands them over: on Linux the bytes of `argv`; on
// Windows the UTF-16 command line in UTF-8, since `argv` there is in the ANSI code page, which
// cannot hold every name.
class Arguments {
 public:
  Arguments(int argc, char* argv[]);

  int Count() const { return static_cast<int>(pointers_.size()) - 1; }
  // A vector as main takes it, ending in a null pointer, valid while this object lives.
  char** Vector() { return pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
};

}  // namespace tarvik

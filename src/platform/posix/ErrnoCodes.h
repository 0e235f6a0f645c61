#pragma once

namespace tarvik {

// What the failed call was doing, where one errno means different things to the program.
enum class ErrnoUse {
  kFile,       // looking up or opening the last name of a path
  kDirectory,  // reaching a directory on the way, or making one current
  kWrite,      // writing to an open file
};

// The Windows-style code of an errno value.
int ErrnoToCode(int error_number, ErrnoUse use);

}  // namespace tarvik

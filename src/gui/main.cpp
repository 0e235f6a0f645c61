#include <cstdio>

#include "app/Version.h"

int main() {
  std::printf("tarvik %s (%s)\n", tarvik::kVersion, tarvik::kReleaseDate);
  return 0;
}

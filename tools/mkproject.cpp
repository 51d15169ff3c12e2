// mkproject <folder>: writes the sample project into a new or empty folder.
#include <cstdio>
#include <string>

#include "tools/sample/sample_project.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mkproject <folder>\n  writes the sample project into a new or empty folder\n");
    return 2;
  }
  std::string error;
  if (!WriteSampleProject(argv[1], error)) {
    std::fprintf(stderr, "mkproject: %s\n", error.c_str());
    return 1;
  }
  std::printf("mkproject: the sample project is in %s\n", argv[1]);
  return 0;
}

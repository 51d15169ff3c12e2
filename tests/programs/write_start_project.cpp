// write_start_project <folder> [direct3d]: writes the small project of the
// start-up tests (tests/support/start_project.h) into a new or empty folder,
// for the tests that run the game executable. With "direct3d" System.ini
// asks for the 3D back end, else for the software display; both in a window.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "support/start_project.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: write_start_project <folder> [direct3d]\n");
    return 2;
  }
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  std::filesystem::current_path(argv[1], ec);
  if (ec) {
    std::fprintf(stderr, "write_start_project: cannot enter %s\n", argv[1]);
    return 1;
  }
  testsupport::StartIni ini;
  ini.direct3D = argc == 3 && std::strcmp(argv[2], "direct3d") == 0 ? 1 : 0;
  if (!testsupport::WriteStartProject(ini)) {
    std::fprintf(stderr, "write_start_project: a file could not be written\n");
    return 1;
  }
  return 0;
}

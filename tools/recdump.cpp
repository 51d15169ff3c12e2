// recdump [--as KIND] <file>: a record file as text, segment by segment.
#include <cstdio>
#include <string>

#include "platform/host_path.h"
#include "tools/recdump/record_dump.h"

namespace {
int Usage() {
  std::fprintf(stderr, "usage: recdump [--as KIND] <file>\n  KIND is the file name the file is read as:");
  for (const std::string& k : RecordKinds()) std::fprintf(stderr, " %s", k.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  std::string kind, path;
  if (argc == 4 && std::string(argv[1]) == "--as") {
    kind = argv[2];
    path = argv[3];
  } else if (argc == 2) {
    path = argv[1];
    kind = RecordKindOf(path);
  } else {
    return Usage();
  }
  std::string bytes;
  if (!plat::ReadWholeFile(path, bytes)) {
    std::fprintf(stderr, "recdump: cannot read %s\n", path.c_str());
    return 1;
  }
  std::fputs(DumpRecordBytes(bytes, kind).c_str(), stdout);
  return 0;
}

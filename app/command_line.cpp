#include "app/command_line.h"

#include "platform/text_encoding.h"

namespace {

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::string AsSystemText(const std::string& arg) {
  if (IsAscii(arg)) return arg;
  bool ok = false;
  std::string sjis = plat::Utf8ToCp932(arg, &ok);
  return ok ? sjis : arg;
}

}  // namespace

std::string JoinCommandLine(int argc, char** argv) {
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += AsSystemText(argv[i]);
  }
  return commandLine;
}

#include "media/key_config.h"

#include <cstdio>

#include "platform/host_path.h"
#include "platform/virtual_keys.h"

namespace {

int32_t ReadI32(const unsigned char* p) {
  return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

void DefaultKeyConfig(KEYCONFIG& config) {
  static const uint16_t kKeys[KEYCONFIG_ENTRIES] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X',
                                                    'C',     'V',      'A',   'S',     'D', 'F'};
  for (int i = 0; i < KEYCONFIG_ENTRIES; ++i) config.Key[i] = {KEYDEVICE_KEYBOARD, kKeys[i], 0};
  config.nKeys = KEYCONFIG_ENTRIES;
  config.nJoysticks = 1;
  config.bAssign = 0;
}

int ParseKeyConfig(const unsigned char* bytes, size_t size, KEYCONFIG& config) {
  if (size < KEYCONFIG_FILE_SIZE) return 0;
  KEYCONFIG read;
  for (int i = 0; i < KEYCONFIG_ENTRIES; ++i) {
    const unsigned char* entry = bytes + i * 8;
    read.Key[i] = {ReadI32(entry), ReadU16(entry + 4), ReadU16(entry + 6)};
  }
  read.nKeys = ReadI32(bytes + 96);
  read.nJoysticks = ReadI32(bytes + 100);
  read.bAssign = ReadI32(bytes + 104);
  // More entries than the file holds: the poll would read past them.
  if (read.nKeys > KEYCONFIG_ENTRIES) return 0;
  if (read.nJoysticks > KEYCONFIG_MAX_JOYSTICKS) read.nJoysticks = KEYCONFIG_MAX_JOYSTICKS;
  if (read.nJoysticks < 0) read.nJoysticks = 0;
  config = read;
  return 1;
}

int LoadKeyConfig(const char* path, KEYCONFIG& config) {
  FILE* file = plat::OpenFile(path, "rb");
  if (!file) return 0;
  unsigned char bytes[KEYCONFIG_FILE_SIZE];
  size_t got = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  return ParseKeyConfig(bytes, got, config);
}

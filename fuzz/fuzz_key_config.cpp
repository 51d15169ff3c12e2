// KeyConfig.dat of any bytes: the read never goes past them, and an
// assignment it accepts never names more entries or joysticks than exist.
#include <cstdint>
#include <cstddef>

#include "media/key_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KEYCONFIG config;
  DefaultKeyConfig(config);
  if (ParseKeyConfig(data, size, config)) {
    if (config.nKeys > KEYCONFIG_ENTRIES) __builtin_trap();
    if (config.nJoysticks < 0 || config.nJoysticks > KEYCONFIG_MAX_JOYSTICKS) __builtin_trap();
  }
  return 0;
}

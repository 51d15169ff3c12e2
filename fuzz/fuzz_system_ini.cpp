// System.ini of any bytes against a new project's keys and against a key
// list with an empty and a very long name: no buffer is overrun, the start
// stage always ends inside its field, and the read ends.
#include <cstdint>
#include <cstring>
#include <string>

#include "records/system_ini.h"
#include "records/system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  static const cEdSystem project;
  static const cVector<cEdIniKey> odd = [] {
    cVector<cEdIniKey> keys = project.m_vIniKeys;
    keys[2].SetNumber("", 1);
    keys[8].SetText(std::string(3000, 'F'), std::string(400, 's'));
    return keys;
  }();
  for (const cVector<cEdIniKey>* keys : {&project.m_vIniKeys, &odd}) {
    SYSTEMINI ini;
    SetIniDefaults(ini, *keys);
    ParseSystemIni(bytes, ini, *keys);
    if (!std::memchr(ini.szFreeStage, '\0', sizeof ini.szFreeStage)) __builtin_trap();
  }
  return 0;
}

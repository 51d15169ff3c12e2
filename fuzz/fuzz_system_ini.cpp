// System.ini of any bytes against three key lists: a new project's, one with
// an empty and a very long name, and one the input names. An input whose
// first line is "#keys a,b,..." gives the names of positions 0, 1, ... and
// the rest of it is the file; any other input is the file as it stands.
// The file is read from bytes, from disk and as start-up loads it: all three
// agree, no buffer is overrun, a start stage that differs from the default is
// a text of 2..259 bytes that the file holds, and the read ends.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "records/system.h"
#include "records/system_ini.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// The same settings (the bytes after the start stage's NUL do not count).
bool Same(const SYSTEMINI& a, const SYSTEMINI& b) {
  return a.nDirect3D == b.nDirect3D && a.nWindowMode == b.nWindowMode && a.nBpp == b.nBpp &&
         a.nVSync == b.nVSync && a.nD3D_FontCache == b.nD3D_FontCache &&
         a.nDD_FontCache == b.nDD_FontCache && a.nDD_VideoStretch == b.nDD_VideoStretch &&
         a.nShowFps == b.nShowFps && a.nEnglish == b.nEnglish &&
         std::strcmp(a.szFreeStage, b.szFreeStage) == 0;
}

// The names of the "#keys" line over a copy of the project's list; names
// beyond its end add keys that no setting reads.
cVector<cEdIniKey> NamedKeys(const cVector<cEdIniKey>& project, const std::string& names) {
  cVector<cEdIniKey> keys = project;
  size_t start = 0;
  for (int i = 0; start <= names.size(); ++i) {
    size_t comma = names.find(',', start);
    if (comma == std::string::npos) comma = names.size();
    if (i >= keys.Size()) keys.push_back(cEdIniKey());
    keys[i].m_strKey = names.substr(start, comma - start);
    start = comma + 1;
  }
  return keys;
}

void CheckOneKeyList(const std::string& file, const cVector<cEdIniKey>& keys) {
  SYSTEMINI defaults{};
  SetIniDefaults(defaults, keys);

  SYSTEMINI parsed{};
  SetIniDefaults(parsed, keys);
  const int fromBytes = ParseSystemIni(file, parsed, keys);
  SYSTEMINI read{};
  SetIniDefaults(read, keys);
  const int fromDisk = ReadSystemIni(SYSTEM_INI_PATH, read, keys);
  SYSTEMINI loaded{};
  const int atStart = LoadSystemIni(SYSTEM_INI_PATH, loaded, keys);

  Check(fromBytes == 0 || fromBytes == 1);
  Check(fromDisk == fromBytes && atStart == fromBytes);
  Check(std::memchr(parsed.szFreeStage, '\0', sizeof parsed.szFreeStage) != nullptr);
  Check(std::memchr(loaded.szFreeStage, '\0', sizeof loaded.szFreeStage) != nullptr);
  Check(Same(parsed, read));
  // A file that is not read whole leaves the defaults at start-up.
  Check(Same(loaded, fromBytes ? parsed : defaults));
  // Values lose their carriage returns.
  std::string text = file;
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  const std::string stage = parsed.szFreeStage;
  if (stage != defaults.szFreeStage)
    Check(stage.size() >= 2 && stage.size() < FREESTAGE_SIZE && text.find(stage) != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder scratch;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  static const cEdSystem project;
  static const cVector<cEdIniKey> odd = [] {
    cVector<cEdIniKey> keys = project.m_vIniKeys;
    keys[2].SetNumber("", 1);
    keys[8].SetText(std::string(3000, 'F'), std::string(400, 's'));
    return keys;
  }();

  std::string file = bytes;
  cVector<cEdIniKey> named;
  if (bytes.rfind("#keys ", 0) == 0) {
    const size_t end = bytes.find('\n');
    named = NamedKeys(project.m_vIniKeys, bytes.substr(6, end == std::string::npos ? end : end - 6));
    file = end == std::string::npos ? std::string() : bytes.substr(end + 1);
  }
  fuzz::WriteFile(SYSTEM_INI_PATH, file);
  CheckOneKeyList(file, project.m_vIniKeys);
  CheckOneKeyList(file, odd);
  if (!named.empty()) CheckOneKeyList(file, named);
  return 0;
}

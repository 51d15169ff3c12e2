#include <algorithm>
#include <cstring>

#include "base/report_log.h"
#include "media/sound_effect.h"
#include "records/media_records.h"

void BuildSeDefs(cVector<SEDATA>& bank, cVector<SEDEF>& defs, const cVector<std::string>& systemSounds,
                 const cVector<cEdSound>& sounds) {
  // Sound.dat entry 0 is no sound; a table without it still leaves room for
  // the 17 system sounds.
  const int size = std::max(sounds.Size(), 1) + 16;
  bank.resize(static_cast<size_t>(size));
  defs.resize(static_cast<size_t>(size));
  for (int i = 0; i < size; ++i) {
    std::string name;
    if (i <= 16)
      name = i < systemSounds.Size() ? systemSounds[i] : std::string();
    else
      name = sounds[i - 16].m_strFile;
    SEDEF& def = defs[i];
    std::memset(&def, 0, sizeof(def));
    if (name.size() >= sizeof(def.szFileName)) {
      ReportPrintf("Sound %d : file name longer than %d bytes: %s", i, static_cast<int>(sizeof(def.szFileName)) - 1,
                   name.c_str());
      name.clear();
    }
    std::memcpy(def.szFileName, name.c_str(), name.size() + 1);
    def.nCopies = 1;
    def.nVolume = 0;
    def.nFlags = 1;
  }
}

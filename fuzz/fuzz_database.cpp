// The ten database files written from the input and read as start-up reads
// them (LoadAll), with carriage-return stripping on or off. Reading must stay
// inside each file and never crash or hang; when the load is accepted the run
// tables build from it; and every table, saved, read back and saved again,
// gives the same bytes (what one load normalises, the next keeps).
//
// Input: one flag byte (bit 0: strip carriage returns), then for each file in
// load order a selector byte, a u16 length and that many bytes. A selector
// below the number of versions below puts that version's word before the
// bytes; any other takes the bytes as the whole file.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "records/database.h"

namespace {

// The versions at which database records change, and either side of them.
const uint32_t kVersions[] = {0,   54,  55,  118, 119, 127, 128, 137, 138, 150, 151, 152,
                              153, 171, 172, 509, 510, 511, 733, 734, 735};
constexpr size_t kVersionCount = sizeof(kVersions) / sizeof(kVersions[0]);

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

template <class T>
void SaveReadSave(cVector<T>& table) {
  cDataWriter first;
  SaveRecordList(table, first);
  cDataReader again(first.Bytes());
  cVector<T> reread;
  LoadRecordList(reread, again);
  if (bStripCR)
    for (T& entry : reread) entry.StripCR();
  cDataWriter second;
  SaveRecordList(reread, second);
  Check(first.Bytes() == second.Bytes());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder scratch;
  fuzz::Input in(data, size);
  bStripCR = in.Byte() & 1;
  plat::CreateDirectory("data");
  plat::CreateDirectory("data\\database");
  for (int file = 0; file < DBFILE_COUNT; ++file) {
    const uint8_t selector = in.Byte();
    const uint16_t length = in.U16();
    std::string bytes = in.Take(length);
    if (selector < kVersionCount) bytes = fuzz::VersionWord(kVersions[selector]) + bytes;
    fuzz::WriteFile(DatabaseFilePath(file), bytes);
  }

  Database.Reset();
  if (Database.LoadAll()) {
    // Accepted: entry 0 of both effect tables exists and is no effect.
    Check(!Database.m_vCharaEffect.empty() && Database.m_vCharaEffect[0].m_nKind == 0);
    Check(!Database.m_vScrEffect.empty() && Database.m_vScrEffect[0].m_nKind == 0);
    BuildDatabaseRunTables();
    Check(AnimeStepTable.size() == Database.m_vAnime.size());
    Check(EffectStepTable.size() == Database.m_vEffect.size());
    Check(CharaFxInstA.size() == Database.m_vCharaEffect.size() &&
          CharaFxInstB.size() == Database.m_vCharaEffect.size());
    Check(ScrFxInstA.size() == Database.m_vScrEffect.size() &&
          ScrFxInstB.size() == Database.m_vScrEffect.size());
    for (const cCharaEffectState& s : CharaFxInstB) (void)s.Kind();
    for (const cScreenEffectState& s : ScrFxInstB) (void)s.Kind();
    int x = 0, y = 0;
    for (const cEdBmpCharaExc& sheet : Database.m_vBmpCharaExc)
      sheet.CellOrigin(static_cast<int>(size), x, y);
  }
  // Whatever was read, accepted or not, saves and reads back alike.
  Database.ForEachFileTable([](auto& table, int) {
    SaveReadSave(table);
    return true;
  });
  bStripCR = 0;
  return 0;
}

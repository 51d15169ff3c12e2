#include "records/database.h"

#include "base/boxes.h"
#include "base/report_log.h"
#include "platform/host_path.h"
#include "records/path_table.h"


namespace {

// "%s のロードに失敗！"
const char kLoadFailed[] =
    "%s \x82\xCC\x83\x8D\x81\x5B\x83\x68\x82\xC9\x8E\xB8\x94\x73\x81\x49";

// "なし", the name of animation 0 of a new database.
const char kAnimeNameNone[] = "\x82\xC8\x82\xB5";
// "アクションA"
const char kAnimeNameActionA[] = "\x83\x41\x83\x4E\x83\x56\x83\x87\x83\x93" "A";

template <class T>
void ResetTable(cVector<T>& table, int count) {
  table.clear();
  for (int i = 0; i < count; ++i) table.push_back(T());
}

}  // namespace

const char* DatabaseFilePath(int file, int bDefault) {
  // Path-table entries 15, 17, ..., 33 under data\, each followed by the
  // same file under default\.
  if (file < 0 || file >= DBFILE_COUNT) return "";
  return PathTable[15 + 2 * file + (bDefault ? 1 : 0)];
}

cEdBgm& GetBgmDef(int index) { return Database.m_vBgm.At(index); }

cEdDatabase::cEdDatabase() {
  RegisterNoFields();
  Reset();
}

void cEdDatabase::Reset() {
  ResetTable(m_vAnimeSet, 1);
  ResetTable(m_vAnime, 2);
  m_vAnime[0].m_strName = kAnimeNameNone;
  m_vAnime[1].m_strName = kAnimeNameActionA;
  ResetTable(m_vBmpCharaExc, 2);
  ResetTable(m_vSwordType, 1);
  ResetTable(m_vEffect, 2);
  ResetTable(m_vCharaEffect, 2);
  ResetTable(m_vScrEffect, 2);
  ResetTable(m_vPicture, 2);
  ResetTable(m_vSound, 2);
  ResetTable(m_vBgm, 2);
}

bool cEdDatabase::LoadAll() {
  bool ok = ForEachFileTable([](auto& table, int file) {
    const char* path = DatabaseFilePath(file);
    bool complete = true;
    if (!LoadRecordFile(table, path, &complete)) {
      ErrorBoxPrintf(kLoadFailed, path);
      return false;
    }
    if (!complete) ReportPrintf("%s : the file ends early or is damaged; read up to there", path);
    // Entry 0 of the two effect tables stands for "no effect" and must exist.
    if ((file == DBFILE_CHARAEFFECT || file == DBFILE_SCREFFECT) && table.empty()) {
      ErrorBoxPrintf(kLoadFailed, path);
      return false;
    }
    return true;
  });
  if (!ok) return false;
  ClearFirstEffects();
  return true;
}

void cEdDatabase::ClearFirstEffects() {
  m_vCharaEffect.At(0).m_nKind = 0;
  m_vScrEffect.At(0).m_nKind = 0;
}

void cEdDatabase::FillWorkingCopies() {
  // Sized with new entries (kind 1), then each assigned from its table.
  m_vCharaEffectWork = m_vCharaEffect;
  m_vScrEffectWork = m_vScrEffect;
}

bool cEdDatabase::SaveAll(int bDefault) {
  const char* root = bDefault ? "default" : "data";
  plat::CreateDirectory(root);
  plat::CreateDirectory(std::string(root) + "\\database");
  bool all = true;
  ForEachFileTable([&](auto& table, int file) {
    all = SaveRecordFile(table, DatabaseFilePath(file, bDefault)) && all;
    return true;
  });
  return all;
}

#pragma once
// The project database: the ten tables of data\database\, read once at
// start-up and only read afterwards, and the run tables derived from them.
// Other records refer to an entry by its index; every access by index goes
// through cVector::At.
#include <string>

#include "records/anime_step.h"
#include "records/effect_state.h"
#include "records/anime_records.h"
#include "records/chara_effect.h"
#include "records/effect_record.h"
#include "records/media_records.h"
#include "records/record.h"
#include "records/sword_type.h"

// The database files in the order LoadAll reads them.
enum DATABASEFILE {
  DBFILE_ANIMESET,
  DBFILE_ANIME,
  DBFILE_BMPCHARAEXC,
  DBFILE_SWORDTYPE,
  DBFILE_EFFECT,
  DBFILE_CHARAEFFECT,
  DBFILE_SCREFFECT,
  DBFILE_PICTURE,
  DBFILE_SOUND,
  DBFILE_BGM,
  DBFILE_COUNT
};

// The path of database file i under data\ (bDefault 0) or default\ (1).
const char* DatabaseFilePath(int file, int bDefault = 0);

class cEdDatabase : public cRecord {
 public:
  cVector<cEdAnimeSet> m_vAnimeSet;
  cVector<cEdAnime> m_vAnime;
  cVector<cEdBmpCharaExc> m_vBmpCharaExc;
  cVector<cEdSwordType> m_vSwordType;
  cVector<cEdEffect> m_vEffect;
  cVector<cEdCharaEffect> m_vCharaEffect;  // entry 0 is "no effect": kind 0 after a load
  cVector<cEdScrEffect> m_vScrEffect;      // entry 0 likewise
  cVector<cEdPicture> m_vPicture;
  cVector<cEdSound> m_vSound;              // entry n ≥ 1 is sound-effect slot n + 16
  cVector<cEdBgm> m_vBgm;                  // index 0 stands for no music
  // Working copies from which the reversed effect runs are built; they end
  // up holding the exchanged start and end values.
  cVector<cEdCharaEffect> m_vCharaEffectWork;
  cVector<cEdScrEffect> m_vScrEffectWork;

  // The defaults of a new database.
  cEdDatabase();
  // Never read or written as one record.
  void RegisterFields(int version) override { RegisterNoFields(); }

  // The ten file tables get the defaults of a new database; the working
  // copies stay as they are.
  void Reset();

  // Reads the ten files in order (start-up, main thread). A file that does
  // not open, or a CharaEffect or ScrEffect file without entries, shows
  // "%s のロードに失敗！" naming it and returns false at once: the tables read
  // before it hold the files' contents, it and the later ones keep what they
  // held. A short or damaged file is read as far as it goes and noted in the
  // report log.
  bool LoadAll();

  // Entry 0 of the character-effect and screen-effect tables becomes no effect.
  void ClearFirstEffects();

  // The working copies take the character-effect and screen-effect tables.
  void FillWorkingCopies();

  // Writes the ten files (for the tools and tests; the game never writes
  // them) under data\ or default\; true when all ten were written. A file
  // that fails to write keeps its old contents.
  bool SaveAll(int bDefault = 0);

  // Calls f(table, file) for the ten file tables in file order while f returns true.
  template <class F>
  bool ForEachFileTable(F&& f) {
    return f(m_vAnimeSet, DBFILE_ANIMESET) && f(m_vAnime, DBFILE_ANIME) &&
           f(m_vBmpCharaExc, DBFILE_BMPCHARAEXC) && f(m_vSwordType, DBFILE_SWORDTYPE) &&
           f(m_vEffect, DBFILE_EFFECT) && f(m_vCharaEffect, DBFILE_CHARAEFFECT) &&
           f(m_vScrEffect, DBFILE_SCREFFECT) && f(m_vPicture, DBFILE_PICTURE) &&
           f(m_vSound, DBFILE_SOUND) && f(m_vBgm, DBFILE_BGM);
  }
};

extern cEdDatabase Database;

// Bgm.dat record `index` through the checked access (a bad index is reported,
// closes the program and gives record 0). Read by the main window's music
// request.
cEdBgm& GetBgmDef(int index);

// One database file: the version word and the entry list. Reading strips
// carriage returns when bStripCR is set. False when the file does not open
// (nothing changed) or, for writing, could not be written.
template <class T>
bool LoadRecordFile(cVector<T>& table, const std::string& path, bool* complete = nullptr) {
  cDataReader r;
  if (!r.Open(path)) return false;
  LoadRecordList(table, r);
  if (bStripCR)
    for (T& entry : table) entry.StripCR();
  if (complete) *complete = !r.Ended();
  return true;
}

template <class T>
bool SaveRecordFile(cVector<T>& table, const std::string& path) {
  cDataWriter w;
  SaveRecordList(table, w);
  return w.Commit(path);
}

// Run tables derived from the database at start-up (global, read during play).
extern cVector<ANIMEPATTERN> AnimeStepTable;   // one pattern per m_vAnime entry
extern cVector<ANIMEPATTERN> EffectStepTable;  // one pattern per m_vEffect entry
extern cVector<cCharaEffectState> CharaFxInstA, CharaFxInstB;  // normal, reversed
extern cVector<cScreenEffectState> ScrFxInstA, ScrFxInstB;

// One pattern per animation: a step per frame (time × 6 ticks), then the end
// code. Animation 0 is locked zero-time steps that loop; elsewhere a frame's
// lock flag locks it and every later step.
void BuildAnimePatterns(cVector<ANIMEPATTERN>& table);
// The same for the effects, whose frames have no lock flag.
void BuildEffectPatterns(cVector<ANIMEPATTERN>& table);
// A normal (A) and a reversed (B) state per entry.
void BuildCharaEffectStates(cVector<cCharaEffectState>& a, cVector<cCharaEffectState>& b);
void BuildScrEffectStates(cVector<cScreenEffectState>& a, cVector<cScreenEffectState>& b);

// What start-up does after a successful LoadAll: the working copies, then
// the four run tables in order.
void BuildDatabaseRunTables();

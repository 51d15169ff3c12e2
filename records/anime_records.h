#pragma once
// Animation records of the database: a frame, an animation (Anime.dat and the
// animations inside a set) and a character's basic animation set (AnimeSet.dat).
#include <cstdint>
#include <string>

#include "records/record.h"

// One frame: a cell of the owner's image sheet and how long it shows.
class cEdAnimeFrame : public cRecord {
 public:
  int32_t m_nCell = 0;  // passed unchanged into the step pattern; negative acts as a control code
  int32_t m_nTime = 1;  // tenths of a second
  int32_t m_bLock = 0;  // from this frame on the animation may not be replaced

  cEdAnimeFrame();
  void RegisterFields(int version) override;
};

class cEdAnime : public cRecord {
 public:
  std::string m_strName;
  // Kept and saved for the editor; not read at run time.
  int16_t m_nAux1 = 0;
  uint8_t m_byAux2 = 1;
  int16_t m_nAux3 = 0;
  cVector<cEdAnimeFrame> m_vFrame;  // in playing order

  cEdAnime();
  // Cleared, one new frame {0, 1, 0}, m_byAux2 1.
  void ResetDefault();
  void RegisterFields(int version) override;
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;
};

// A character's basic animation set: standing, moving, flying, moving while
// flying, and the cell offsets added while invincible, a block character, flying.
class cEdAnimeSet : public cRecord {
 public:
  std::string m_strName;
  int32_t m_nInvincibleCell = 4;
  int32_t m_nBlockCell = 8;
  int32_t m_nFlyCell = 0;
  cVector<cEdAnime> m_vSetAnime;

  cEdAnimeSet();
  // Cleared offsets 4, 8, 0 and exactly four animations with the default names.
  void ResetDefault();
  void RegisterFields(int version) override;
  // Files before 128 get exactly four animations, the last two renamed.
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;
};

// Default names, Shift-JIS.
extern const char kAnimeNameStand[];     // "立ち"
extern const char kAnimeNameMove[];      // "立ち移動"
extern const char kAnimeNameFly[];       // "飛行"
extern const char kAnimeNameFlyMove[];   // "飛行移動"

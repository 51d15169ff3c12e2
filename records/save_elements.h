#pragma once
// The small records that the progress record (story save slots and
// Challenge.dat) keeps in its lists: the hero status carried from stage to
// stage, a tally per stage and a result per challenge stage.
#include <cstdint>
#include <string>

#include "records/chara.h"
#include "records/record.h"

// What story mode carries from a cleared stage into the next, per hero.
// The carried members of the hero's definition are stored in m_Chara (by
// their numeric field positions); the rest are the numbers below.
class cHeroStatus : public cRecord {
 public:
  cEdChara m_Chara;  // not registered: it reads and writes itself after the segment
  int32_t m_nHp = 0;
  int32_t m_nSp = 0;
  int32_t m_nTime = 0;  // left of the stage's time limit
  int32_t m_nLives = 0;
  int32_t m_nStageBgm = 0;  // the stage's music number

  cHeroStatus() { Clear(); }
  void RegisterFields(int version) override;
  // The segment (five numbers, no string), then the definition's own layout.
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;
};

// The tallied value of one stage (the progress record keeps the stage's
// best total score in it).
class cStageTally : public cRecord {
 public:
  std::string m_strStage;  // the stage file, in the progress record's base form
  int32_t m_nValue = 0;

  cStageTally() { Clear(); }
  void RegisterFields(int version) override;
};

// The result of one challenge stage, in stage order.
class cChallengeRecord : public cRecord {
 public:
  int32_t m_bCleared = 0;
  int32_t m_nBestScore = 0;

  cChallengeRecord() { Clear(); }
  void RegisterFields(int version) override;
};

// The run tables that start-up derives from the database.
#include "records/database.h"

namespace {

int FrameLock(const cEdAnimeFrame& f) { return f.m_bLock; }
int FrameLock(const cEdEffectFrame&) { return 0; }  // effect frames have no lock flag

// Entry 0 ("none") shows its cells as locked zero-time steps that loop; any
// other entry plays its frames once. Once a frame is locked, the rest of the
// pattern is.
template <class Frame>
void BuildPattern(ANIMEPATTERN& pattern, const cVector<Frame>& frames, bool first) {
  pattern.clear();
  pattern.resize(frames.size() + 1);
  uint8_t locked = 0;
  for (int j = 0; j < frames.Size(); ++j) {
    const Frame& f = frames.At(j);
    ANIMESTEP& step = pattern.At(j);
    step.nFrame = f.m_nCell;
    if (first) {
      step.nTime = 0;
      step.bLock = 1;
    } else {
      step.nTime = SaturatedTicks(f.m_nTime, TICKS_PER_TENTH);
      if (FrameLock(f)) locked = 1;
      step.bLock = locked;
    }
  }
  ANIMESTEP& end = pattern.At(frames.Size());
  end.nFrame = first ? ANIMECODE_LOOP : ANIMECODE_END;
  end.nTime = 0;
  end.bLock = first ? 1 : 0;
}

template <class Entry>
void BuildPatterns(cVector<ANIMEPATTERN>& table, const cVector<Entry>& entries) {
  table.clear();
  table.resize(entries.size());
  for (int i = 0; i < entries.Size(); ++i) BuildPattern(table.At(i), entries.At(i).m_vFrame, i == 0);
}

template <class State>
void BuildStates(cVector<State>& a, cVector<State>& b, int count) {
  a.clear();
  b.clear();
  a.resize(count);
  b.resize(count);
  for (int i = 0; i < count; ++i) {
    a.At(i).Init(i, 0);
    b.At(i).Init(i, 1);
  }
}

}  // namespace

void BuildAnimePatterns(cVector<ANIMEPATTERN>& table) { BuildPatterns(table, Database.m_vAnime); }

void BuildEffectPatterns(cVector<ANIMEPATTERN>& table) { BuildPatterns(table, Database.m_vEffect); }

void BuildCharaEffectStates(cVector<cCharaEffectState>& a, cVector<cCharaEffectState>& b) {
  BuildStates(a, b, Database.m_vCharaEffect.Size());
}

void BuildScrEffectStates(cVector<cScreenEffectState>& a, cVector<cScreenEffectState>& b) {
  BuildStates(a, b, Database.m_vScrEffect.Size());
}

void BuildDatabaseRunTables() {
  Database.FillWorkingCopies();
  BuildAnimePatterns(AnimeStepTable);
  BuildEffectPatterns(EffectStepTable);
  BuildCharaEffectStates(CharaFxInstA, CharaFxInstB);
  BuildScrEffectStates(ScrFxInstA, ScrFxInstB);
}

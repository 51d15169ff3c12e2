#include "game/anime_player.h"

#include <utility>

void cAnimePlayer::SetPatterns(const int32_t* const* table) {
  if (!table) return;
  cVector<ANIMEPATTERN> patterns;
  for (const int32_t* const* steps = table; *steps; ++steps) {
    ANIMEPATTERN pattern;
    for (const int32_t* s = *steps;; s += 3) {
      ANIMESTEP step;
      step.nFrame = s[0];
      step.nTime = s[1];
      step.bLock = static_cast<uint8_t>(s[2] & 0xFF);
      pattern.push_back(step);
      if (step.nFrame < 0) break;
    }
    patterns.push_back(std::move(pattern));
  }
  SetPatterns(std::move(patterns));
}

void cAnimePlayer::SetPatterns(cVector<ANIMEPATTERN> patterns) {
  m_vPatterns = std::move(patterns);
  m_nPattern = 0;
  m_nStep = 0;
  m_nTick = 0;
}

const ANIMEPATTERN* cAnimePlayer::Current() const {
  if (m_nPattern < 0 || m_nPattern >= m_vPatterns.Size()) return nullptr;
  const ANIMEPATTERN& pattern = m_vPatterns[m_nPattern];
  if (m_nStep < 0 || m_nStep >= pattern.Size()) return nullptr;
  return &pattern;
}

int cAnimePlayer::SetPattern(int n, int bForce) {
  if (n < 0 || n >= m_vPatterns.Size()) return 0;
  const ANIMEPATTERN* pattern = Current();
  if (!bForce && pattern && (*pattern)[m_nStep].bLock) return 0;
  m_nPattern = n;
  m_nStep = 0;
  m_nTick = 0;
  return 1;
}

int cAnimePlayer::ChangePattern(int n, int bForce) {
  if (n == m_nPattern && !m_vPatterns.empty()) return 1;
  return SetPattern(n, bForce);
}

int32_t cAnimePlayer::Advance() {
  const ANIMEPATTERN* pattern = Current();
  if (!pattern) return 0;
  if ((*pattern)[m_nStep].nFrame == ANIMECODE_END) return ANIMECODE_END;
  ++m_nTick;
  if (m_nTick >= (*pattern)[m_nStep].nTime) {
    m_nTick = 0;
    ++m_nStep;
    if (m_nStep >= pattern->Size()) {
      // A pattern without a closing code holds its last step.
      m_nStep = pattern->Size() - 1;
    } else {
      const ANIMESTEP& reached = (*pattern)[m_nStep];
      switch (reached.nFrame) {
        case ANIMECODE_JUMP:
          // A jump to a pattern the player does not hold acts as a hold.
          if (!SetPattern(reached.nTime, 1)) m_nStep = m_nStep > 0 ? m_nStep - 1 : 0;
          break;
        case ANIMECODE_LOOP:
          m_nStep = 0;
          break;
        case ANIMECODE_HOLD:
          if (m_nStep > 0) --m_nStep;
          break;
        default:
          break;
      }
    }
  }
  return GetFrame();
}

int32_t cAnimePlayer::GetFrame() const {
  const ANIMEPATTERN* pattern = Current();
  return pattern ? (*pattern)[m_nStep].nFrame : 0;
}

void cAnimePlayer::Skip(int64_t ticks) {
  // After more whole steps than the player has, the walk is inside its
  // cycle (if it has one): the next return to that step gives its length.
  int64_t states = 1;
  for (const ANIMEPATTERN& pattern : m_vPatterns) states += pattern.Size();
  int64_t moves = 0;
  int32_t markPattern = -1, markStep = -1;
  int64_t markTicks = 0;
  while (ticks > 0) {
    const ANIMEPATTERN* pattern = Current();
    if (!pattern || (*pattern)[m_nStep].nFrame == ANIMECODE_END) return;
    const int32_t length = (*pattern)[m_nStep].nTime > 1 ? (*pattern)[m_nStep].nTime : 1;
    int64_t left = static_cast<int64_t>(length) - m_nTick;
    if (left < 1) left = 1;
    if (ticks < left) {
      m_nTick += static_cast<int32_t>(ticks);
      return;
    }
    m_nTick = length - 1;
    Advance();
    ticks -= left;
    ++moves;
    if (moves == states) {
      markPattern = m_nPattern;
      markStep = m_nStep;
      markTicks = ticks;
    } else if (moves > states && m_nPattern == markPattern && m_nStep == markStep && m_nTick == 0) {
      ticks %= markTicks - ticks;
      markPattern = -1;
    }
  }
}

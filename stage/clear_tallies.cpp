// The results of a cleared area added to the run's totals, and the extra
// lives for every score step the total crossed, each shown by a notice
// that freezes play on thPause.
#include <algorithm>

#include "base/boxes.h"
#include "base/checked_convert.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/message_window.h"
#include "platform/clock.h"
#include "platform/thread.h"
#include "records/save_data.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

constexpr int32_t kExtraLivesCap = 99;
// The notice follows the hero (above it) for this many frames.
constexpr int kNoticeFrames = 30;
constexpr int kNoticeAboveHero = 4;
// The wait mode of the extra-life notice.
constexpr int kExtraLifeWait = 4;
// More steps than lives can be held change nothing: the notices stop here,
// so that a tiny step cannot freeze play for ever.
constexpr int64_t kMaxNotices = kExtraLivesCap;

void AddClamped(int32_t& sum, int64_t value) { sum = SaturateToInt(int64_t{sum} + value); }

}  // namespace

void cSceneStage::AddClearTallies() {
  const int32_t oldTotal = PlayData.m_nTotalScore;
  AddClamped(PlayData.m_nTotalScore, PlayData.m_nStageScore);
  if (!m_bNoTimeLimit) AddClamped(PlayData.m_nTimeLeftSum, m_nTimeLeft);
  AddClamped(PlayData.m_nClearTimeSum, m_nPlayTime);
  if (const cHero* hero = Hero()) {
    AddClamped(PlayData.m_nHpSum, hero->m_nHp);
    AddClamped(PlayData.m_nSpSum, hero->m_nSp);
  }

  const int64_t step = SystemData.nExtraLifeScore();
  if (PlayData.m_nLives == LIVES_INFINITE || !SystemData.bExtraLife() || step <= 0) return;
  const int64_t crossed = PlayData.m_nTotalScore / step - oldTotal / step;
  for (int64_t n = 0; n < std::min(crossed, kMaxNotices); ++n) {
    // A life is never taken by its gain: above the cap it stays.
    if (PlayData.m_nLives < kExtraLivesCap) ++PlayData.m_nLives;
    PlaySe(15);
    const cHero* hero = Hero();
    m_Messages.emplace_back(MESSAGEMODE_EXTRALIFE, nullptr, 0, 0, 0, kNoticeAboveHero, 0, 0, 0, 0, 0, 1,
                            MESSAGEDISPLAY_TIME, kNoticeFrames, 0, hero ? hero->m_nId : 0, 0, 0, 0, 0, 0, 0, 0);
    const cMessageWindow* notice = &m_Messages.back();
    m_Wait.Set(kExtraLifeWait, 0, kNoticeFrames, 0);
    RunPauseLoop(1);
    RemoveMessage(notice);
    if (m_bCloseRequested.load() || bQuit.load()) {
      PostCloseMessage(hWndMain.load());
      return;
    }
    // The next notice waits for the window to be active again.
    while (!bAppActive.load()) {
      if (m_bCloseRequested.load() || bQuit.load() || plat::IsCancelled()) {
        PostCloseMessage(hWndMain.load());
        return;
      }
      plat::Sleep(1);
    }
  }
}

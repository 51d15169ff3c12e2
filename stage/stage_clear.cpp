// The stage clear: the ranks the results reach at the moment of the clear,
// and the clear state that slides the banner in, shows the totals, offers
// the ranking entry and leaves for the scene FinishStage names.
#include "base/boxes.h"
#include "base/checked_convert.h"
#include "base/dbcs_text.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/font.h"
#include "media/input.h"
#include "media/surface_table.h"
#include "platform/input.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/user_settings.h"
#include "stage/ranking_draw.h"
#include "stage/replay_keys.h"
#include "stage/scene_stage.h"

namespace {

// Word.bmp holds the clear banner.
constexpr int kClearBannerImage = 51;
// The clear waits this long (counted 4 a frame while the banner slides in)
// before a button leads on.
constexpr int kClearWait = 200;
// The banner slides in until its count reaches this.
constexpr int kClearBannerSlide = 96;
constexpr int kClearBannerStep = 4;
// System text: the hint that F3 enters the ranking.
constexpr int kRankingHintText = 27;

constexpr uint16_t kClearDecide = 1;  // button 1

// Registration modes of OptionData: 0 and 1 enter by F3, 2 and 3 by the
// button that leads on; 1 and 3 take the registered name.
bool EntersByKey(int mode) { return mode == 0 || mode == 1; }
bool EntersByButton(int mode) { return mode == 2 || mode == 3; }

bool AnyRankReached(const cVector<int32_t>& ranks) {
  for (int32_t r : ranks)
    if (r != -1) return true;
  return false;
}

}  // namespace

void cSceneStage::OnStageClear() {
  PlaySe(14);
  AddClearTallies();
  m_bRanked = 0;
  m_bRankable = 0;
  m_vRanks.assign(STAGE_RANK_CATEGORIES, -1);
  m_vRankValues.resize(STAGE_RANK_CATEGORIES, 0);
  // Only the last area of a stage ranks (in test play every one).
  if (!bTestPlay.load() && !(Game.m_bRanking && IsLastArea(m_nNextStage))) return;
  m_vRankValues[0] = PlayData.m_nTotalScore;
  m_vRankValues[1] = PlayData.m_nTimeLeftSum;
  m_vRankValues[2] = PlayData.m_nClearTimeSum;
  m_vRankValues[3] = PlayData.m_nHpSum;
  m_vRankValues[4] = PlayData.m_nSpSum;
  if (bFromEditor.load()) return;
  for (int i = 0; i < STAGE_RANK_CATEGORIES && i < Ranking.m_vTables.Size(); ++i) {
    if (!CategoryCounts(i)) continue;
    m_vRanks[i] = Ranking.m_vTables[i].FindRank(m_vRankValues[i]);
    if (m_vRanks[i] != -1) m_bRankable = 1;
  }
}

void cSceneStage::StageClear() {
  const bool quick = Stage.m_bQuickClear != 0;
  const int mode = OptionData.m_nRankingMode;
  if (!quick) {
    if (CheckPauseKey()) {
      m_nStep = 0;
      m_nPhase = STAGESTATE_PAUSE;
      return;
    }
    CheckReplaySaveKeys();  // a saved replay does not hold the clear up
    if (EntersByKey(mode) && plat::IsKeyDown(VK_F3)) EnterRanking();
  }
  if (m_nStep == 0) {
    m_nBannerCount = 0;
    m_nStep = 1;
  }
  cInput& input = Input.At(0);
  input.LatchButtons(0);
  input.ApplyRepeat();

  bool leave = false;
  if (quick) {
    leave = m_nBannerCount >= kClearWait;
  } else if ((input.m_wButton & kClearDecide) && m_nBannerCount >= kClearWait) {
    if (m_bRankable && EntersByButton(mode))
      EnterRanking();
    else
      PlaySe(1);
    leave = true;
  }
  if (leave) {
    Game.m_nNextScene = FinishStage();
    m_nBannerCount = 0;
    m_nStep = 0;
    m_nPhase = STAGESTATE_FADEOUT;
    return;
  }

  if (quick || m_bRanked) {
    Draw(0, 1, 0, 1);
  } else if (AnyRankReached(m_vRanks) && EntersByKey(mode)) {
    // The hint takes the system line's place.
    Draw(0, 1, 0, 0);
    const char* hint = SystemData.m_vTexts.At(kRankingHintText).c_str();
    PlayDrawing->DrawTextF(SysFont[1], &BackBuffer, 320 - CountChars(hint) * 16 / 2, 456, "%s", hint);
  } else {
    Draw(0, 1, 0, 1);
  }
  if (Stage.m_bClearBanner) {
    const int c = m_nBannerCount;
    m_nBannerCount = SaturateToInt(int64_t{c} + kClearBannerStep);
    DDSURFACEDATA* word = &SurfaceTable[kClearBannerImage];
    if (c >= kClearBannerSlide)
      PlayDrawing->DDBlt(&BackBuffer, 256, 192, 128, 32, word, 0, 64, 1);
    else
      PlayDrawing->DDBltSplit(&BackBuffer, 256, 192, 128, 32, 4, kClearBannerSlide - c, word, 0, 64, 1, 0);
  } else {
    m_nBannerCount = kClearWait;
  }
  if (m_nBannerCount >= kClearWait && Game.m_bRanking && !quick)
    DrawResultTotals(&BackBuffer, 336, 224, m_vRanks);
}

// The way on after a clear: the next area of a numbered stage when its
// file exists, else the results kept in the progress record and the scene
// that the game mode leads to.
#include <algorithm>
#include <string>

#include "base/checked_convert.h"
#include "base/path_util.h"
#include "base/text_format.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/menu_cursor.h"
#include "records/path_table.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_load.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/world_map.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kStageExt = 1;  // ExtTable: "stg4"

// After-clear actions of a world-map route.
constexpr int AFTERCLEAR_NEXT_ROUND = 1;
constexpr int AFTERCLEAR_TITLE = 2;

// A base name ends in "."; only that is cut.
std::string WithoutDot(const std::string& name) {
  if (!name.empty() && name.back() == '.') return name.substr(0, name.size() - 1);
  return name;
}

void StoreHeroes(int32_t timeLeft) {
  for (int i = 0; i < Player.Size(); ++i) {
    const cHero& hero = Player[i];
    const cCharaEffectState& effect = hero.m_CharaEffect;
    PlayData.StoreHeroStatus(i, hero.m_Def, hero.m_nHp, hero.m_nSp, effect.m_sEffect, effect.m_nRunMode,
                             effect.m_bLoop, timeLeft, PlayData.m_nLives, PlayData.m_nStageBgm);
  }
}

// A cleared challenge stage: its record, the sum of the best scores, the
// stages unlocked, and Challenge.dat (a failed write keeps the old file and
// is in the report log; play goes on).
void KeepChallengeResult() {
  const int i = PlayData.m_nStageNo - 1;
  if (i >= 0 && i < PlayData.m_vChallenge.Size()) {
    cChallengeRecord& record = PlayData.m_vChallenge[i];
    record.m_bCleared = 1;
    if (PlayData.m_nTotalScore > record.m_nBestScore) {
      PlayData.m_nBestTotal = SaturateToInt(int64_t{PlayData.m_nBestTotal} + PlayData.m_nTotalScore -
                                            record.m_nBestScore);
      record.m_nBestScore = PlayData.m_nTotalScore;
    }
  }
  if (PlayData.m_nStageNo >= PlayData.m_nUnlocked)
    PlayData.m_nUnlocked = std::min(SaturateToInt(int64_t{PlayData.m_nStageNo} + 1), SystemData.m_nChallengeStages);
  PlayData.SaveChallenge();
}

}  // namespace

int cSceneStage::MakeNextAreaName(std::string& name, int area) {
  name.clear();
  if (!PlayData.m_bNumberedStage || area == 0) return 0;
  std::string file;
  if (!m_strNextStage.empty())
    file = FormatText("%s.%s", WithoutDot(m_strNextStage).c_str(), ExtTable[kStageExt]);
  else
    file = FormatText("%s-%d.%s", WithoutDot(PlayData.m_strStagePath).c_str(), area, ExtTable[kStageExt]);
  std::string found;
  if (!FindNewestVersionString(found, file, ExtTable[kStageExt])) return 0;
  name = found;
  return 1;
}

int cSceneStage::IsLastArea(int area) {
  std::string name;
  return 1 - MakeNextAreaName(name, area);
}

int cSceneStage::FinishStage() {
  if (Stage.m_bKeepHeroStatus) StoreHeroes(m_nTimeLeft);
  const int32_t area = PlayData.m_nAreaNo;
  // The next area of a numbered stage, when its file loads.
  auto nextArea = [&] {
    if (!PlayData.m_bNumberedStage || m_nNextStage == 0) return false;
    PlayData.m_nAreaNo = m_nNextStage;
    std::string name;
    if (!MakeNextAreaName(name, m_nNextStage) || !LoadStage(name.c_str(), PlayData.m_bNumberedStage, &StageCopy))
      return false;
    Replay.Clear();
    ReplayPrev.Clear();
    return true;
  };

  switch (Game.m_nPlayCommand) {
    case GAMEMODE_NEWSTORY:
    case GAMEMODE_CONTINUE: {
      if (nextArea()) return SCENE_STAGE;
      PlayData.m_nAreaNo = area;
      const int no = PlayData.m_nStageNo;
      if (no >= 0 && no < PlayData.m_vStageClear.Size()) PlayData.m_vStageClear[no] = 1;
      PlayData.AddStageTally(PlayData.m_strStagePath.c_str(), PlayData.m_nTotalScore);
      const cEdWorldRoute* route = PlayData.EnteredRoute();
      const int action = route ? route->m_nAfterClear : 0;
      if (action == AFTERCLEAR_TITLE) {
        MenuCursor.Cur()->nRow = Game.m_nPlayCommand;
        return SCENE_TITLE;
      }
      if (action == AFTERCLEAR_NEXT_ROUND) PlayData.StartNextRound();
      return SCENE_WORLDMAP;
    }
    case GAMEMODE_CHALLENGE:
      if (nextArea()) return SCENE_STAGE;
      KeepChallengeResult();
      PlayData.m_nAreaNo = area;
      return SCENE_STAGESELECT;
    case GAMEMODE_FREE:
      if (!PlayData.m_bNumberedStage || bTestPlay.load()) {
        PlayData.m_bHeroStart = 0;
        return SCENE_STAGE;
      }
      if (nextArea()) return SCENE_STAGE;
      PlayData.m_nAreaNo = area;
      return SCENE_TITLE;
    case GAMEMODE_REPLAY:
      PlayData.RestoreStageStartSnapshot(1, Game.m_nPlayKind);
      return SCENE_STAGE;
    default:
      return SCENE_STAGESELECT;
  }
}

// The stage's set-up at every start and restart: the running stage built
// from the loaded one (settings, seed and replays, music, speed, view axes,
// map cells, hero, characters, items, display state, counters), then the
// stage-start triggers.
#include <algorithm>
#include <iterator>
#include <new>

#include "base/boxes.h"
#include "base/crt_random.h"
#include "base/report_log.h"
#include "base/timers.h"
#include "base/window_messages.h"
#include "game/block_charas.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/map_cells.h"
#include "game/menu_cursor.h"
#include "media/dd_layer.h"
#include "media/input.h"
#include "media/palette_scheme.h"
#include "platform/clock.h"
#include "platform/close_request.h"
#include "platform/script_run.h"
#include "records/command_vocab.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

// "メモリ不足により、ステージの初期設定に失敗しました！"
const char kNoMemory[] =
    "\x83\x81\x83\x82\x83\x8A\x95\x73\x91\xAB\x82\xC9\x82\xE6\x82\xE8\x81\x41\x83\x58\x83\x65\x81\x5B\x83\x57\x82"
    "\xCC\x8F\x89\x8A\xFA\x90\xDD\x92\xE8\x82\xC9\x8E\xB8\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x49";

constexpr int kStageGroupFlags = 60;

int AnySide(const cEdOffScreenRule& rule) {
  return rule.m_bLeft || rule.m_bRight || rule.m_bTop || rule.m_bBottom ? 1 : 0;
}

cList<cChara>::iterator FindCharaNode(int32_t id) {
  for (auto it = CharaList.begin(); it != CharaList.end(); ++it)
    if (it->m_nId == id) return it;
  return CharaList.end();
}

}  // namespace

cVector<int32_t> MakeHitSteps(int steps, int hitChecks) {
  if (steps < 1) steps = 1;
  cVector<int32_t> hit(static_cast<size_t>(steps), 0);
  if (hitChecks <= 0) {
    hit.Fill(1);
    return hit;
  }
  const double d = static_cast<double>(steps) / hitChecks;
  double p = 0;
  int set = 0;
  do {
    hit[static_cast<size_t>(static_cast<int>(p))] = 1;
    ++set;
    p += d;
  } while (static_cast<int>(p) < steps);
  if (set < hitChecks) hit[static_cast<size_t>(steps - 1)] = 1;
  return hit;
}

void cSceneStage::SetStage(int bReload, int bRestartMusic) {
  DebugLogPuts("In SetStage");
  m_nFrameCount = 0;
  m_ShotGroups.clear();
  m_ShotGroups.resize(STAGE_GROUP_COUNT);
  m_CharaGroups.clear();
  m_CharaGroups.resize(STAGE_GROUP_COUNT);
  m_Shots.clear();
  CharaList.clear();
  cBlockCharas::Changed();
  ItemList.clear();

  if (bReload) {
    if (Game.m_nPlayCommand == GAMEMODE_REPLAY) {
      // The replay's own stage and progress again, from the bytes read when
      // it was loaded (checked then), never from the disk.
      cEdStage scratch;
      if (!Replay.Reload(Stage, scratch, PlayData)) PostCloseMessage(hWndMain.load());
    }
    Stage.CopySettingsFrom(StageCopy);
  }

  if (Game.m_nPlayCommand == GAMEMODE_REPLAY) {
    m_nSeed = Replay.m_nSeed;
    Replay.m_nDirIndex = Replay.m_nButtonIndex = 0;
    Replay.m_nDirPos = Replay.m_nButtonPos = 0;
  } else if (SystemData.bRecordReplay()) {
    // This attempt's record and its progress at the start become the
    // previous ones; the new attempt starts from the progress as it is now.
    ReplayStartPrev = ReplayStart;
    ReplayStart = PlayData;
    ReplayPrev.Assign(Replay);
    Replay.Clear();
    // A scripted run counts time in input polls, so the same script plays
    // the same attempt on any machine.
    m_nSeed = static_cast<int32_t>(plat::ScriptRunning() ? plat::ScriptPolls() : plat::TimeGetTime());
    Replay.m_nSeed = m_nSeed;
  }
  crt::srand(static_cast<unsigned>(m_nSeed));
  plat::Trace("seed %d", m_nSeed);

  const uint32_t closeRequests = plat::CloseRequestCount();
  const int heroIndex = Stage.FindHero();
  if (heroIndex < 0) {
    ReportPrintf("SetStage : the stage places no hero");
    FailSetUp(closeRequests);
    return;
  }

  // The carried hero status goes into the hero's placement before the hero
  // is made (and may bring its own music, time limit and lives).
  if (Stage.m_bTakeHeroStatus) PlayData.ApplyHeroStatus(0, Stage.m_vPlacedChara.At(heroIndex));

  const int bgm = Stage.m_nBgm;
  if (bRestartMusic) {
    // Music the previous area left playing goes on when the stage keeps it.
    if (!(Stage.m_bBgmKeep && bgm == PlayData.m_nStageBgm && bgm != 0)) RequestStageBgm(bgm, Stage.m_bBgmLoop);
  } else if (bgm != PlayData.m_nStageBgm) {
    RequestStageBgm(bgm, Stage.m_bBgmLoop);
  }
  Game.m_nBgm = 0;
  m_nCharaSerial = m_nItemSerial = m_nShotSerial = 0;

  Stage.SetSpeedLevel(Stage.m_nSpeedLevel);
  SetUpScrollAxes(Stage);
  try {
    if (!FillMapCells(Stage, m_ScrollX, m_ScrollY)) throw std::bad_alloc();
    PlaceObjects(heroIndex);
  } catch (const std::bad_alloc&) {
    ErrorBoxPrintf("%s", kNoMemory);
    FailSetUp(closeRequests);
    return;
  }

  m_Messages.clear();
  m_Effects.clear();
  m_ScreenEffect.Clear();
  m_ColorTone.Reset();
  m_Wait.bDone = 0;
  ClearPictures();
  ClearMessageSurfaces();

  m_vHitSteps = MakeHitSteps(Stage.StepsPerFrame(), Stage.m_nHitChecks);

  m_nCommandResult = STAGERESULT_NONE;
  m_nBannerCount = m_nBanner2Count = 0;
  if (Stage.m_bTimeLimit) {
    m_bNoTimeLimit = 0;
    m_nTimeLeft = Stage.m_nTimeLimit;
  } else {
    m_nTimeLeft = 999;
    m_bNoTimeLimit = 1;
  }
  m_nPlayFrames = m_nPlayTime = 0;
  m_vGroupFlags.assign(kStageGroupFlags, 0);
  m_nNextStage = 0;
  m_nStepInFrame = m_nStepCount = 0;

  PlayData.m_nStageScore = 0;
  // A replay and the editor's test play count only this stage.
  if (Game.m_nPlayCommand == GAMEMODE_REPLAY || (bFromEditor.load() && bTestPlay.load())) PlayData.ClearTotals();
  PlayData.TakeStageStartSnapshot();

  for (cInput& input : Input) {
    input.ClearHistory();
    input.ResetRunHistories();
  }
  MenuCursor.Reset();
  EveryNth(0, static_cast<unsigned>(Stage.m_nFps < 0 ? 0 : Stage.m_nFps));

  for (cEdBackground& layer : Stage.m_vBackground) layer.m_dOffsetX = layer.m_dOffsetY = 0;
  if (nBpp == 8) {
    std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
    ShowPalette(0, 256);
  }
  Game.m_nFps = Stage.m_nFps;

  StartTriggers();
  UpdateAppearance();
  m_bShowStatus = Stage.m_bShowHud;
  DDUseVirBackBuffer(0);
  DebugLogPuts("Out SetStage");
}

void cSceneStage::PlaceObjects(int heroIndex) {
  const int bx = m_ScrollX.m_nBorder;
  const int by = m_ScrollY.m_nBorder;

  m_nPlayers = 1;
  Player.clear();
  Player.resize(1);
  DebugLogPuts("A");
  cHero& hero = Player[0];
  cEdChara& placement = Stage.m_vPlacedChara.At(heroIndex);
  if (PlayData.m_bHeroStart) placement.m_nDirection = static_cast<int8_t>(PlayData.m_nHeroStartDir);
  hero.SetUp(m_nCharaSerial++, placement, PlacementCentre(placement.m_nX, bx), PlacementCentre(placement.m_nY, by));
  if (PlayData.m_bHeroStart) {
    placement.m_nX = static_cast<int16_t>(PlayData.m_nHeroStartX);
    placement.m_nY = static_cast<int16_t>(PlayData.m_nHeroStartY);
  }
  hero.SetCellPos(placement.m_nX, placement.m_nY);
  const double ox = placement.GetOffsetX(0, hero.m_nDirection);
  const double oy = placement.GetOffsetY(0, hero.m_nDirection);
  MoveHitBox(hero, ox, oy);
  // The boxes and cells follow the moved hit box, without a clamp.
  hero.ClampX(-1);
  hero.ClampY(-1);
  if (Stage.m_bTakeHeroStatus) PlayData.ApplyHeroHpSp(0, hero.m_nHp, hero.m_nSp);
  hero.m_Anime.SetPattern(hero.m_bNoGravity ? 2 : 0, 1);
  DebugLogPuts("B");

  m_ScrollX.m_dPos = hero.m_rcHit.dLeft - 320 + hero.m_nHitWidth / 2;
  m_ScrollY.m_dPos = hero.m_rcHit.dTop - 240 + hero.m_nHitHeight / 2;
  m_ScrollX.Clamp();
  m_ScrollY.Clamp();
  hero.UpdateScreenRect();
  if (hero.m_Def.m_nSightMode != 0) CreateWorkSurfaces();

  m_vStageVars.assign(STAGE_VAR_COUNT, 0);
  DebugLogPuts("10");

  // An item placement that a character holds as its drop is not placed itself.
  cVector<uint8_t> held(Stage.m_vPlacedItem.size(), 0);
  for (const cEdChara& chara : Stage.m_vPlacedChara) {
    if (chara.m_nOperator != 1) continue;
    const int drop = chara.m_nDropItem;
    if (drop >= Stage.m_vPlacedItem.Size()) {
      ReportPrintf("SetStage : character (%d, %d) drops item %d of %d", chara.m_nX, chara.m_nY, drop,
                   Stage.m_vPlacedItem.Size());
    }
    if (drop < 0 || drop >= Stage.m_vPlacedItem.Size()) {
      SpawnPlacedChara(CharaList, chara.m_nX, chara.m_nY, m_nCharaSerial, chara, nullptr);
      continue;
    }
    cItem item;
    item.Init(m_nItemSerial++, Stage.m_vPlacedItem[static_cast<size_t>(drop)], 1);
    held[static_cast<size_t>(drop)] = 1;
    SpawnPlacedChara(CharaList, chara.m_nX, chara.m_nY, m_nCharaSerial, chara, &item);
  }
  for (int i = 0; i < Stage.m_vPlacedItem.Size(); ++i) {
    if (held[static_cast<size_t>(i)]) continue;
    const cEdItem& item = Stage.m_vPlacedItem[static_cast<size_t>(i)];
    SpawnPlacedItem(ItemList, item.m_nX, item.m_nY, m_nItemSerial, item);
  }
  DebugLogPuts("11");
  DebugLogPuts("12");
  DebugLogPuts("C");
  DebugLogPuts("D");

  FileInCharaGroup(m_CharaGroups, hero);
  for (cChara& chara : CharaList) FileInCharaGroup(m_CharaGroups, chara);

  m_bRemoveCharas = AnySide(Stage.m_RuleChara);
  m_bRemoveBlockCharas = AnySide(Stage.m_RuleBlockChara);
  m_bRemoveItems = AnySide(Stage.m_RuleItem);
}

void cSceneStage::StartTriggers() {
  cHero* hero = Hero();
  if (SystemData.bStartTriggerAll()) {
    if (hero) hero->FireTrigger(FLOWTRIGGER_STAGE_START);
    for (cChara& chara : CharaList) chara.FireTrigger(FLOWTRIGGER_STAGE_START);
  } else {
    UpdateAppearance();
    if (hero) hero->FireTrigger(FLOWTRIGGER_STAGE_START);
    for (cChara& chara : CharaList)
      if (chara.m_bPresent) chara.FireTrigger(FLOWTRIGGER_STAGE_START);
  }
  // Gone before play: the vanished, and the defeated after their defeat. By
  // id, since a defeat may change the list.
  cVector<int32_t> gone;
  for (const cChara& chara : CharaList)
    if (chara.m_bVanished || chara.m_nHp <= 0) gone.push_back(chara.m_nId);
  for (int32_t id : gone) {
    auto it = FindCharaNode(id);
    if (it == CharaList.end()) continue;
    if (!it->m_bVanished) {
      DefeatAndCheckClear(*it, CharaList);
      it = FindCharaNode(id);
      if (it == CharaList.end()) continue;
    }
    EraseChara(it);
  }
}

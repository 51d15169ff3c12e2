// Any bytes read as an item's command list (the record format of the
// palettes) and run on the hero of a small stage, as a taken item and as a
// get-item from both palettes, whose items all carry the same list: it
// never crashes or hangs, and afterwards the hero's flow instances match
// its flow records, every targeted-by list names characters that target
// it, the backgrounds are shown or hidden, the hero's scale is positive and
// the stage's command result is one of its three values. Waits end at
// once: the stage is closing, so no pause loop ever waits.
//
// The first byte chooses the set-up: bit 0 the hero's flows are stepping
// (flow changes queue), bit 1 the list runs through a get-item of the
// stage palette, bit 2 the hero has 1 HP; the rest is the list.
#include <cstdint>
#include <string>

#include "base/crt_random.h"
#include "fuzz_support.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "platform/close_request.h"
#include "records/arrange.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// A stage of 20 × 15 empty cells with two backgrounds, the hero and two
// characters in view, and every palette item carrying `list`.
void SetUpStage(cSceneStageData& scene, const cVector<cEdCommand>& list, int heroHp) {
  Stage.Reset();
  Stage.m_nWidth = 20;
  Stage.m_nHeight = 15;
  Stage.m_nWidthDots = 640;
  Stage.m_nHeightDots = 480;
  Stage.SetSpeedLevel(2);
  Stage.m_vBackground.resize(2);
  scene.SetUpScrollAxes(Stage);
  scene.m_ScrollX.m_dPos = scene.m_ScrollY.m_dPos = 320;
  MAPCELL empty;
  MapCell.assign(static_cast<size_t>(scene.m_ScrollX.m_nPitch) * scene.m_ScrollY.m_nCells, empty);
  for (cList<cCharaBase*>& group : scene.m_CharaGroups) group.clear();
  scene.m_Shots.clear();
  for (cList<cShot*>& group : scene.m_ShotGroups) group.clear();
  scene.m_vStageVars.assign(STAGE_VAR_COUNT, 0);
  scene.m_nCommandResult = STAGERESULT_NONE;
  scene.m_nCharaSerial = scene.m_nShotSerial = 0;
  scene.m_lpCurChara = nullptr;
  scene.m_lpCurFlow = nullptr;
  scene.m_lpCurCommand = nullptr;
  scene.m_bCloseRequested = 1;
  PlayData.Reset();
  CommonPalette = cEdCommonPalette();
  CommonPalette.m_vPaletteItem.resize(3);
  Stage.m_vPaletteItem.resize(3);
  for (int i = 0; i < 3; ++i) {
    CommonPalette.m_vPaletteItem[i].m_vCommands = list;
    Stage.m_vPaletteItem[i].m_vCommands = list;
  }

  Player.clear();
  Player.resize(1);
  cEdChara heroDef;
  heroDef.m_nOperator = 0;
  heroDef.m_nFaction = 0;
  heroDef.m_nMaxHp = 10;
  cHero& hero = Player[0];
  hero.SetUp(scene.m_nCharaSerial++, heroDef, 5 * 32 + 336, 5 * 32 + 336);
  hero.SetCellPos(5, 5);
  hero.m_nHp = heroHp;
  scene.m_CharaGroups.At(0).push_back(&hero);
  CharaList.clear();
  for (int i = 0; i < 2; ++i) {
    cEdChara def;
    def.m_nFaction = static_cast<int8_t>(i + 1);
    cChara built;
    built.SetUp(scene.m_nCharaSerial++, def, nullptr, 0, 0, 0);
    built.PlaceAtCell(8 + i * 3, 5);
    CharaList.push_back(built);
    scene.m_CharaGroups.At(i + 1).push_back(&CharaList.back());
  }
  for (cCharaBase* c : {static_cast<cCharaBase*>(&hero), static_cast<cCharaBase*>(&CharaList.front()),
                        static_cast<cCharaBase*>(&CharaList.back())}) {
    c->m_bPresent = 1;
    c->UpdateScreenRect();
    c->m_bOnScreen = c->IsOnScreen();
  }
}

void CheckChara(const cCharaBase& chara) {
  Check(chara.m_vFlows.Size() == chara.m_Def.m_vFlows.Size());
  for (int i = 0; i < chara.m_vFlows.Size(); ++i) {
    const cFlowInstance& flow = chara.m_vFlows[i];
    Check(flow.m_pFlow == &chara.m_Def.m_vFlows[i] && flow.m_nIndex == i);
    Check(flow.m_vCommands.Size() == flow.m_pFlow->m_vCommands.Size());
  }
  for (int32_t id : chara.m_vTargetedBy) {
    const cCharaBase* by = FindCharaById(id);
    Check(!by || by->m_nTargetId == chara.m_nId);
  }
  Check(chara.m_Def.m_nScale >= 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    Database.Reset();
    BuildDatabaseRunTables();
    BuildArrangeParamTable();
    return true;
  }();
  (void)once;
  fuzz::InScratchFolder scratch;
  fuzz::Input in(data, size);
  const uint8_t setup = in.Byte();
  const std::string bytes = in.Rest();
  cVector<cEdCommand> list;
  {
    cDataReader r(bytes);
    LoadRecordList(list, r);
  }

  static cSceneStageData scene;
  CurStage = &scene;
  SetUpStage(scene, list, setup & 4 ? 1 : 10);
  crt::srand(1);
  plat::ResetCloseRequests();
  cHero& hero = Player[0];
  if (setup & 1) scene.m_lpCurChara = &hero;

  if (setup & 2) {
    cEdCommand get;
    get.m_bItemCommand = 1;
    get.m_nType = ITEMCMDTYPE_GET_ITEM;
    get.m_vParams = {1, static_cast<int32_t>(setup >> 3) % 4};
    CmdGetItem(hero, get);
  } else {
    const int result = hero.RunItemCommands(list);
    Check(result >= STAGERESULT_NONE && result <= STAGERESULT_DEFEAT);
  }
  // The hero's flow pass ends: the queued changes are made.
  scene.m_lpCurChara = nullptr;
  hero.ApplyQueuedFlowChanges();

  Check(hero.m_vQueuedFlowChanges.empty());
  Check(scene.m_nCommandResult >= STAGERESULT_NONE && scene.m_nCommandResult <= STAGERESULT_DEFEAT);
  for (const cEdBackground& b : Stage.m_vBackground) Check(b.m_bVisible == 0 || b.m_bVisible == 1);
  CheckChara(hero);
  for (const cChara& c : CharaList) CheckChara(c);

  for (cList<cShot*>& group : scene.m_ShotGroups) group.clear();
  scene.m_Shots.clear();
  for (cList<cCharaBase*>& group : scene.m_CharaGroups) group.clear();
  Player.clear();
  CharaList.clear();
  MapCell.clear();
  CurStage = nullptr;
  return 0;
}

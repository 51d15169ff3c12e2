#include "support/game_world.h"

#include "base/crt_random.h"
#include "base/report_log.h"
#include "game/game.h"
#include "game/graphic_source.h"
#include "media/dd_layer.h"
#include "media/input.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/arrange.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "records/system_ini.h"

namespace testsupport {

namespace {

void ClearObjects() {
  Player.clear();
  CharaList.clear();
  ItemList.clear();
  MapCell.clear();
  Off_StageBmp.clear();
  Off_Sword.clear();
  for (DDSURFACEDATA& entry : SurfaceTable) entry.nWidth = entry.nHeight = 0;
  lpMarkSheet = lpEffectWork1 = lpEffectWork2 = nullptr;
}

void ResetInput() {
  Input.At(0) = cInput();
  Input.At(0).ClearHistory();
  Input.At(0).ResetRunHistories();
}

}  // namespace

GameWorld::GameWorld(int speedLevel, double gravity, unsigned seed)
    : GameWorld(m_ownScene, speedLevel, gravity, seed) {}

GameWorld::GameWorld(cSceneStageData& scene, int speedLevel, double gravity, unsigned seed) : m_scene(scene) {
  ReportOpen("Report_Game.txt");
  SystemData.Reset();
  Database.Reset();
  BuildDatabaseRunTables();
  BuildArrangeParamTable();
  CommonPalette = cEdCommonPalette();
  StageCopy.Reset();
  Stage.Reset();
  Stage.m_dGravity = gravity;
  Stage.SetSpeedLevel(speedLevel);
  ClearObjects();
  // The character sheets, first and second set: 20 columns of 32, 15 rows.
  for (int k = 0; k < 2 * SURFACE_CHARA_SHEETS; ++k) {
    for (int set : {0, SURFACE_SECOND_SET}) {
      SurfaceTable[SURFACE_CHARAS + k + set].nWidth = 640;
      SurfaceTable[SURFACE_CHARAS + k + set].nHeight = 480;
    }
  }
  m_savedBpp = nBpp;
  m_savedStretch = SystemIni.nDD_VideoStretch;
  SystemIni.nDD_VideoStretch = 0;
  ResetInput();
  PlayData.Reset();
  m_scene.m_vStageVars.resize(STAGE_VAR_COUNT, 0);
  m_previousStage = CurStage;
  CurStage = &m_scene;
  crt::srand(seed);
}

GameWorld::~GameWorld() {
  ClearObjects();
  CurStage = m_previousStage;
  nBpp = m_savedBpp;
  SystemIni.nDD_VideoStretch = m_savedStretch;
  ResetInput();
  Stage.Reset();
  PlayData.Reset();
}

void SetUpTestChara(cCharaBase& chara, const cEdChara& def, int id, Cell at, int16_t cloneNo, bool hero) {
  chara.m_nId = id;
  chara.Reset(&def, 0, 0, cloneNo);
  const bool flying = def.m_nFlyMode != 0;
  int w, h, bottom;
  if (hero) {
    w = flying ? Stage.m_nHeroHitFlyW : Stage.m_nHeroHitW;
    h = flying ? Stage.m_nHeroHitFlyH : Stage.m_nHeroHitH;
    bottom = flying ? Stage.m_bHeroHitFlyBottom : Stage.m_bHeroHitBottom;
  } else if (def.m_bBlockChara) {
    w = h = 32;
    bottom = 1;
  } else {
    w = flying ? Stage.m_nCharaHitFlyW : Stage.m_nCharaHitW;
    h = flying ? Stage.m_nCharaHitFlyH : Stage.m_nCharaHitH;
    bottom = flying ? Stage.m_bCharaHitFlyBottom : Stage.m_bCharaHitBottom;
  }
  const int offX = (32 - w) / 2;
  const int offY = bottom ? 32 - h : (32 - h) / 2;
  chara.cGameObject::SetUp(id, def.m_nOperator, def.m_nPlayer, def.m_nFaction, def.m_nGraphic, nullptr, 0, offX,
                           offY, w, h, 32, 32, def.m_nDirection, def.m_nFlyMode, cloneNo);
  chara.SetScale(def.m_nScale < 1 ? 1 : def.m_nScale, 1);
  chara.SetCellPos(at.first, at.second);
  // The placed position is the centre of the placement's cell, as the stage
  // set-up gives it.
  chara.m_dStartX = (at.first + StageData().m_ScrollX.m_nBorder) * 32 + 16;
  chara.m_dStartY = (at.second + StageData().m_ScrollY.m_nBorder) * 32 + 16;
  chara.BuildFlows(chara.m_Def.m_vFlows, 0, -1);
}

cHero& GameWorld::AddHero(const cEdChara& def, Cell at) {
  Player.clear();
  Player.resize(1);
  cHero& hero = Player[0];
  // The placed position is the centre of the placement's cell, as the stage
  // set-up gives it.
  const double x = (at.first + m_scene.m_ScrollX.m_nBorder) * 32 + 16;
  const double y = (at.second + m_scene.m_ScrollY.m_nBorder) * 32 + 16;
  hero.SetUp(m_scene.m_nCharaSerial++, def, x, y);
  hero.SetCellPos(at.first, at.second);
  hero.m_Anime.SetPattern(hero.m_bNoGravity ? 2 : 0, 1);
  m_scene.m_CharaGroups.At(hero.m_nGroup).push_back(&hero);
  return hero;
}

cChara& GameWorld::AddChara(const cEdChara& def, Cell at, int16_t cloneNo, const cItem* dropItem) {
  cChara built;
  const double x = (at.first + m_scene.m_ScrollX.m_nBorder) * 32 + 16;
  const double y = (at.second + m_scene.m_ScrollY.m_nBorder) * 32 + 16;
  built.SetUp(m_scene.m_nCharaSerial++, def, dropItem, x, y, cloneNo);
  built.PlaceAtCell(at.first, at.second);
  CharaList.push_back(built);
  cChara& placed = CharaList.back();
  m_scene.m_CharaGroups.At(placed.m_nGroup).push_back(&placed);
  return placed;
}

void GameWorld::UpdatePresence() {
  auto update = [](cCharaBase& c) {
    c.m_bPresent = 1;
    c.UpdateScreenRect();
    c.m_bOnScreen = c.IsOnScreen();
  };
  for (cHero& hero : Player) update(hero);
  for (cChara& chara : CharaList) update(chara);
}

void GameWorld::RunFrame(const std::function<void(int step)>& step) {
  m_scene.m_nFrameCount += 1;
  for (int a = 0; a < Stage.m_nStepsPerFrame; ++a) {
    m_scene.m_nStepInFrame = a + 1;
    m_scene.m_nStepCount += 1;
    step(a);
  }
}

}  // namespace testsupport

// One frame of the stage on the screen, back to front: backgrounds, pictures
// and map behind, the objects by depth, the map and backgrounds in front,
// effects, messages, the screen effect, status bar, timer and system line,
// then the colour tone. The end of the hero's defeat display decides how
// the stage goes on.
#include <algorithm>

#include "base/dbcs_text.h"
#include "game/characters.h"
#include "game/gone_objects.h"
#include "game/game.h"
#include "game/menu_cursor.h"
#include "game/play_drawing.h"
#include "media/font.h"
#include "media/palette_scheme.h"
#include "media/surface_table.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kDepthLevels = 8;
constexpr int kTestPlayLine = 26;  // system texts of the bottom line
constexpr int kEditorLine = 25;

// The drawing depth of an object's definition, 0..7.
int Level(int z) { return std::clamp(z, 0, kDepthLevels - 1); }

}  // namespace

void cSceneStage::Draw(int bPlay, int bFrozen, int bTimerSound, int bSystemLine) {
  DDSURFACEDATA* target = &BackBuffer;
  if (SurfaceTable[SURFACE_RUNTIME].bLost || SurfaceTable[SURFACE_RUNTIME + 1].bLost) BuildTileCache();
  // A screen effect reads the finished frame back.
  if (m_ScreenEffect.m_sEffect != 0) PlayDrawing->DDUseVirBackBuffer(1);
  ScrollBackground();
  DrawBackground(target, 0);

  if (!bPlay && m_nPhase == STAGESTATE_PAUSE && SystemData.m_bPauseHidesField) {
    DrawBackground(target, 1);
    DrawColorTone(bFrozen);
    return;
  }

  DrawPictures(target, 0, bFrozen);
  DrawMapLayer(target, 0);

  // With one level every object is on it; with eight each on its own.
  const int levels = Stage.m_bDrawDepth ? kDepthLevels : 1;
  auto onLevel = [&](int z, int p) { return levels == 1 || Level(z) == p; };
  for (int p = 0; p < levels; ++p) {
    if (cHero* hero = Hero(); hero && onLevel(hero->m_Def.m_nZ, p)) DrawHero(bFrozen);

    // Items have no depth of their own: they are drawn on the first level.
    if (p == 0) {
      PlayDrawing->DDBeginBatch(1);
      PlayDrawing->DDBatchKey(&SurfaceTable[SURFACE_MARKS]);
      for (cItem& item : ItemList) {
        if (!item.m_bOnScreen || item.m_bHeld) continue;
        item.UpdateScreenRect();
        item.Draw(target, !bFrozen);
      }
      PlayDrawing->DDFlushBatch();
    }

    for (auto it = CharaList.begin(); it != CharaList.end();) {
      if (it->m_bGone || !onLevel(it->m_Def.m_nZ, p) || !DrawChara(*it, bFrozen)) {
        ++it;
        continue;
      }
      // The play frame's own drawing runs outside every walk over the list,
      // so the character whose defeat display ended leaves at once. A frozen
      // frame may be a wait inside a pass (a message of an item or a death
      // flow) whose walk may hold it: there it is only marked gone, and the
      // pass takes it out of the list when it ends.
      if (bFrozen) {
        MarkCharaGone(*it);
        ++it;
      } else {
        it = EraseChara(it);
      }
    }

    PlayDrawing->DDBeginBatch(0);
    for (cShot& shot : m_Shots) {
      if (!shot.m_bOnScreen || !onLevel(shot.m_ShotDef.m_nZ, p)) continue;
      shot.UpdateScreenRect();
      shot.Draw(target, bFrozen);
    }
    PlayDrawing->DDFlushBatch();
  }

  DrawMapLayer(target, 1);
  DrawBackground(target, 1);
  if (cHero* hero = Hero()) hero->DrawSight(target);
  DrawPictures(target, 1, bFrozen);

  PlayDrawing->DDBeginBatch(0);
  for (auto it = m_Effects.begin(); it != m_Effects.end();)
    it = it->Draw(target, bFrozen) ? m_Effects.erase(it) : std::next(it);
  PlayDrawing->DDFlushBatch();
  for (auto it = m_Messages.begin(); it != m_Messages.end();)
    it = it->Draw(target, bFrozen) ? m_Messages.erase(it) : std::next(it);

  RunScreenEffect(bFrozen);
  DrawHud(target);
  DrawTimer(target, bTimerSound);
  if (bSystemLine) {
    const char* line = nullptr;
    if (bTestPlay.load())
      line = SystemData.m_vTexts.At(kTestPlayLine).c_str();
    else if (bFromEditor.load())
      line = SystemData.m_vTexts.At(kEditorLine).c_str();
    if (line) PlayDrawing->DrawTextF(SysFont[1], target, 320 - 8 * CountChars(line), 456, "%s", line);
  }
  AnimateColors();
  DrawColorTone(bFrozen);
}

void cSceneStage::DrawHero(int bFrozen) {
  cHero* hero = Hero();
  if (!hero) return;
  DDSURFACEDATA* target = &BackBuffer;
  hero->UpdateScreenRect();
  if (!hero->m_bDefeated) {
    hero->Draw(target, bFrozen);
    hero->DrawHpGauge(target);
    hero->DrawSpGauge(target);
    return;
  }
  if (!hero->DrawDefeated(target, bFrozen)) return;

  // The defeat display is over: the replay starts again, or a life goes.
  m_nStep = 0;
  if (Game.m_nPlayCommand == GAMEMODE_REPLAY) {
    PlayData.RestoreStageStartSnapshot(1, Game.m_nPlayKind);
    SetStage(1, 1);
    m_nPhase = STAGESTATE_START;
    return;
  }
  if (!LoseLife(PlayData)) {
    m_nPhase = STAGESTATE_GAMEOVER;
    return;
  }
  if (Stage.m_bTakeHeroStatus) PlayData.DropCarriedOnDeath();
  PlayData.RestoreStageStartSnapshot(0, Game.m_nPlayKind);
  if (Game.m_nPlayKind == PLAYKIND_STORY && SystemData.bRetryMenuOnDeath()) {
    MenuCursor.Reset();
    m_nPhase = STAGESTATE_RETRY;
    return;
  }
  SetStage(1, 0);
  m_nPhase = STAGESTATE_START;
}

int cSceneStage::DrawChara(cChara& chara, int bFrozen) {
  DDSURFACEDATA* target = &BackBuffer;
  if (chara.m_bDefeated) {
    chara.UpdateScreenRect();
    return chara.DrawDefeated(target, bFrozen) ? 1 : 0;
  }
  if (chara.m_bOnScreen) {
    chara.UpdateScreenRect();
    if (chara.m_Def.m_bTransparent) {
      chara.UpdateAttachedAnimes(bFrozen);
      chara.StepCharaEffect(bFrozen);
    } else {
      chara.Draw(target, bFrozen);
    }
    chara.DrawHpGauge(target);
    chara.DrawSpGauge(target);
    if (!chara.m_Def.m_bTransparent) chara.DrawDropItemHint(target);
    return 0;
  }
  if (chara.m_bActive) {
    chara.UpdateScreenRect();
    chara.UpdateAttachedAnimes(bFrozen);
    chara.StepCharaEffect(bFrozen);
  }
  return 0;
}

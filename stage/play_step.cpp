// The play state: a frame's input, play time and time limit, its logic
// steps over the hero, the characters, the shots, the items and the stage
// rules in their fixed order, and the block effects and block items under
// the hero. A clear or a death ends the frame undrawn.
#include <algorithm>

#include "base/boxes.h"
#include "base/checked_convert.h"
#include "base/report_log.h"
#include "base/timers.h"
#include "base/window_messages.h"
#include "game/block_charas.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/gone_objects.h"
#include "game/item_effect.h"
#include "game/map_cells.h"
#include "media/input.h"
#include "records/item.h"
#include "records/map_cell.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/replay_keys.h"
#include "stage/scene_stage.h"

namespace {

// How a part of the logic step leaves the frame.
enum STEPEND { STEP_ON, STEP_STOP, STEP_CLEAR, STEP_DEATH };

// A stage rule's result: 1 cleared, 2 the hero defeated, any other non-zero
// value just ends the frame.
STEPEND EndBy(int result) {
  if (result == STAGERESULT_CLEAR) return STEP_CLEAR;
  if (result == STAGERESULT_DEFEAT) return STEP_DEATH;
  return result ? STEP_STOP : STEP_ON;
}

bool Alive(const cCharaBase* chara) { return chara && !chara->m_bDefeated; }

bool Squeezed(const cCharaBase& c) {
  return (c.LRUD[LRUD_LEFT] && c.LRUD[LRUD_RIGHT]) || (c.LRUD[LRUD_UP] && c.LRUD[LRUD_DOWN]);
}

// Takes part in a character pass of this step.
bool Takes(const cChara& c, bool blockChara) {
  return !c.m_bGone && (c.m_Def.m_bBlockChara != 0) == blockChara && !c.m_bDefeated && c.m_bPresent && c.m_bActive;
}

STEPEND Death(const char* text) {
  DebugLogPuts(text);
  return STEP_DEATH;
}

// The defeat rules (DefeatAndCheckClear, CheckDefeats) have already
// cleared the stage or defeated the hero when they give a result: the frame
// only ends, so that neither happens twice.
STEPEND Handled(int result) { return result ? STEP_STOP : STEP_ON; }

}  // namespace

// A character's flow pass reported its end (HP gone): the defeat, then it
// stays for its defeat display or leaves.
static STEPEND DefeatedByPass(cSceneStage& scene, cChara& chara) {
  const int result = scene.DefeatAndCheckClear(chara, CharaList);
  if (SystemData.bShowDefeat()) {
    if (result == STAGERESULT_CLEAR)
      MarkCharaGone(chara);
    else
      PlaySe(9);
  } else {
    MarkCharaGone(chara);
  }
  return Handled(result);
}

// Crushed or fallen out: the defeat; erased when it cleared the stage.
static STEPEND Crushed(cSceneStage& scene, cChara& chara) {
  PlaySe(9);
  const int result = scene.DefeatAndCheckClear(chara, CharaList);
  if (result == STAGERESULT_CLEAR) MarkCharaGone(chara);
  return Handled(result);
}

void cSceneStage::Play() {
  if (m_bCloseRequested.load()) {
    PostCloseMessage(hWndMain);
    return;
  }
  if (CheckPauseKey()) {
    m_nStep = 0;
    m_nPhase = STAGESTATE_PAUSE;
    return;
  }
  if (CheckReplaySaveKeys()) return;
  m_nFrameCount = SaturateToInt(int64_t{m_nFrameCount} + 1);

  cInput& input = Input.At(0);
  if (Game.m_nPlayCommand == GAMEMODE_REPLAY) {
    input.ClearDirection();
    input.ClearButtons();
    if (Replay.PlayFrame(input.m_wDir, input.m_wButton)) {
      // The recorded input is over: the replay plays again from its start.
      PlayData.RestoreStageStartSnapshot(1, Game.m_nPlayKind);
      SetStage(1, 1);
      m_nPhase = STAGESTATE_START;
      return;
    }
    input.m_nDirNumber = DirBitsToNumber(input.m_wDir);
    input.RecordHistory();
    input.UpdateRunHistories();
  } else {
    if (input.m_wButton == 0)
      m_bButtonLock = 0;
    else if (m_bButtonLock)
      input.m_wButton = 0;
    input.RecordHistory();
    input.UpdateRunHistories();
    if (SystemData.bRecordReplay()) Replay.RecordFrame(input.m_wDir, input.m_wButton);
  }

  TickPlayTime();
  STEPEND end = STEP_ON;
  if (TickTimeLimit(-1) && Alive(Hero())) end = STEP_DEATH;

  if (end == STEP_ON) {
    if (cHero* hero = Hero()) {
      hero->ResetStepTriggers();
      hero->m_bAnchorX = hero->m_bAnchorY = 0;
    }
    for (cChara& chara : CharaList) {
      if (!chara.m_bDefeated) chara.ResetStepTriggers();
      chara.m_bAnchorX = chara.m_bAnchorY = 0;
    }
    // The steps of the frame, read again each step (a command may change the speed).
    for (int step = 0; step < Stage.StepsPerFrame() && end == STEP_ON; ++step) end = static_cast<STEPEND>(LogicStep(step));
    SweepGoneObjects();
  }

  switch (end) {
    case STEP_ON:
      Draw(1, 0, 1, 1);
      break;
    case STEP_CLEAR:
      OnStageClear();
      m_nPhase = STAGESTATE_CLEAR;
      break;
    case STEP_DEATH:
      PlaySe(8);
      if (cHero* hero = Hero(); hero && hero->Defeat() == 1) {
        // Its drop item cleared the stage.
        OnStageClear();
        m_nPhase = STAGESTATE_CLEAR;
      }
      break;
    default:
      break;
  }
}

int cSceneStage::LogicStep(int step) {
  // Kept for the step's many contact and block checks; a sweep or a spawn renews it.
  const cBlockCharas::cKeep keepBlockCharas;
  m_nStepInFrame = step + 1;
  m_nStepCount = SaturateToInt(int64_t{m_nStepCount} + 1);
  UpdateAppearance();
  cHero* hero = Hero();

  // Lifetimes.
  if (Alive(hero)) {
    for (cChara& chara : CharaList) {
      if (chara.m_bGone || chara.m_bDefeated || chara.m_nLife == OBJECT_LIFE_UNLIMITED) continue;
      if (--chara.m_nLife < 0) MarkCharaGone(chara);
    }
    for (cItem& item : ItemList) {
      if (item.m_bGone || item.m_nLife == OBJECT_LIFE_UNLIMITED) continue;
      if (--item.m_nLife < 0) MarkItemGone(item);
    }
    SweepGoneObjects();
  }

  // Timers and the step's start.
  for (cChara& chara : CharaList) {
    chara.TickInvincibility();
    chara.ClearBlockedFlags();
    chara.SavePrevHitBox();
  }
  if (hero) {
    hero->TickInvincibility();
    hero->ClearBlockedFlags();
    hero->SavePrevHitBox();
    hero->RememberDirection();
    hero->RememberGroundCell();
  }
  m_ScrollX.Step();
  m_ScrollY.Step();

  STEPEND end = STEP_ON;
  if (Alive(hero)) {
    end = static_cast<STEPEND>(StepBlockCharas());
    SweepGoneObjects();
    if (end == STEP_ON) end = static_cast<STEPEND>(StepHero(*hero));
    if (end == STEP_ON && Alive(hero)) end = static_cast<STEPEND>(StepCharas());
    SweepGoneObjects();
    if (end != STEP_ON) return end;
  }
  StepShots(step);
  SweepGoneObjects();
  if (!Alive(hero)) return STEP_ON;

  if (step == 0) {
    RemoveOffScreenObjects();
    SweepGoneObjects();
  }
  end = EndBy(ApplyBlockItem(*hero));
  if (end == STEP_ON) end = EndBy(ResolveAttacks(CharaList));
  if (end == STEP_ON) end = EndBy(CheckItemPickup(*hero));
  SweepGoneObjects();
  return end;
}

int cSceneStage::StepBlockCharas() {
  for (cChara& chara : CharaList) {
    if (!Takes(chara, true)) continue;
    chara.FireTrigger(FLOWTRIGGER_ALWAYS);
    if (chara.Run(0)) {
      const STEPEND end = DefeatedByPass(*this, chara);
      if (end != STEP_ON) return end;
      continue;
    }
    if (chara.m_bGone) continue;
    if (m_bDefeatCheck) {
      const STEPEND end = Handled(CheckDefeats());
      if (end != STEP_ON) return end;
      if (chara.m_bGone) continue;
    }
    const int mx = chara.MoveX();
    const int hx = HitBlocksX(chara);
    chara.ApplyGravity();
    const int my = chara.MoveY();
    const int hy = HitBlocksY(chara);
    if (hy == 2 || hx == 2 || my == 7) {
      const STEPEND end = Crushed(*this, chara);
      if (end != STEP_ON) return end;
    } else if (mx == 4 || my == 8) {
      MarkCharaGone(chara);
    } else {
      chara.DecayKnockbackX();
      chara.DecayKnockbackY();
    }
  }
  return STEP_ON;
}

int cSceneStage::StepHero(cHero& hero) {
  hero.FireTrigger(FLOWTRIGGER_ALWAYS);
  if (hero.Run(0)) return STEP_DEATH;
  if (m_nCommandResult == STAGERESULT_CLEAR) return STEP_CLEAR;
  if (m_nCommandResult == STAGERESULT_DEFEAT) return STEP_DEATH;
  if (m_bDefeatCheck) {
    const STEPEND end = Handled(CheckDefeats());
    if (end != STEP_ON) return end;
  }
  ApplyBlockEffect(hero);
  if (hero.m_bRiding) RideCarrier(hero, CharaList);
  hero.MoveX();
  KeepInScreenX(hero);
  if (HitBlocksX(hero) == 2) return Death("Dead 1");
  KeepInScreenX(hero);
  hero.ApplyGravity();
  if (hero.MoveY() == 7) return Death("Dead 2");
  if (KeepInScreenY(hero) == 2) return Death("Dead 3");
  if (HitBlocksY(hero) == 2) return Death("Dead 4");
  if (KeepInScreenY(hero) == 2) return Death("Dead 5");

  const int grace = hero.m_nCrushGrace;
  const auto squeezedDeath = [&hero](const char* text) {
    DebugLogPrintf("Player[P1].LRUD = %d,%d,%d,%d", hero.LRUD[LRUD_LEFT], hero.LRUD[LRUD_RIGHT], hero.LRUD[LRUD_UP],
                   hero.LRUD[LRUD_DOWN]);
    hero.RestorePrevHitBox();
    return Death(text);
  };
  if (Squeezed(hero) && grace == 0) return squeezedDeath("Dead SP");
  if (ResolveSolidContacts(hero, CharaList) == 2 && Alive(&hero) && grace == 0) return Death("Dead 6");
  if ((hero.LRUD[LRUD_LEFT] || hero.LRUD[LRUD_RIGHT]) && HitBlocksXRightFirst(hero) == 2 && Alive(&hero) && grace == 0)
    return Death("Dead 7");
  if ((hero.LRUD[LRUD_UP] || hero.LRUD[LRUD_DOWN]) && HitBlocksYBottomFirst(hero) == 2 && Alive(&hero) && grace == 0)
    return Death("Dead 8");
  if (Squeezed(hero) && grace == 0) return squeezedDeath("Dead 9");
  hero.DecayKnockbackX();
  hero.DecayKnockbackY();
  return STEP_ON;
}

int cSceneStage::StepCharas() {
  for (cChara& chara : CharaList) {
    if (!Takes(chara, false)) continue;
    chara.FireTrigger(FLOWTRIGGER_ALWAYS);
    if (chara.Run(0)) {
      if (chara.m_bVanished) {
        MarkCharaGone(chara);
        continue;
      }
      const STEPEND end = DefeatedByPass(*this, chara);
      if (end != STEP_ON) return end;
      continue;
    }
    if (chara.m_bGone) continue;
    if (m_bDefeatCheck) {
      const STEPEND end = Handled(CheckDefeats());
      if (end != STEP_ON) return end;
      if (chara.m_bGone) continue;
    }
    if (chara.m_bRiding) RideCarrier(chara, CharaList);
    const int mx = chara.MoveX();
    const int hx = HitBlocksX(chara);
    chara.ApplyGravity();
    const int my = chara.MoveY();
    const int hy = HitBlocksY(chara);
    const int contacts = ResolveSolidContacts(chara, CharaList);
    // The re-checks push it out again; their results are not used.
    HitBlocksXRightFirst(chara);
    HitBlocksYBottomFirst(chara);
    if (Squeezed(chara) || hx == 2 || my == 7 || hy == 2 || contacts == 2) {
      const STEPEND end = Crushed(*this, chara);
      if (end != STEP_ON) return end;
    } else if (mx == 4 || my == 8) {
      MarkCharaGone(chara);
    } else {
      chara.DecayKnockbackX();
      chara.DecayKnockbackY();
    }
  }
  return STEP_ON;
}

void cSceneStage::StepShots(int step) {
  for (cShot& shot : m_Shots) {
    if (shot.m_bGone) continue;
    if (shot.StepTrajectory()) {
      MarkShotGone(shot);
      continue;
    }
    shot.ApplyGravity();
    shot.StepVertical();
    shot.StepHorizontal();
    if (step == 0 && shot.m_nKind == SHOTKIND_SHOT &&
        shot.IsOutsideRemovalArea(shot.m_nController == 0 ? Stage.m_RuleHeroShot : Stage.m_RuleCharaShot)) {
      MarkShotGone(shot);
      continue;
    }
    if (shot.HitsBlock()) MarkShotGone(shot);
  }
}

void cSceneStage::RemoveOffScreenObjects() {
  for (cChara& chara : CharaList) {
    if (chara.m_bGone || chara.m_bDefeated || !chara.m_bPresent) continue;
    const bool block = chara.m_Def.m_bBlockChara != 0;
    if (block ? !m_bRemoveBlockCharas : !m_bRemoveCharas) continue;
    if (chara.IsOutsideRemovalArea(block ? Stage.m_RuleBlockChara : Stage.m_RuleChara)) MarkCharaGone(chara);
  }
  if (!m_bRemoveItems) return;
  for (cItem& item : ItemList)
    if (!item.m_bGone && item.IsOutsideRemovalArea(Stage.m_RuleItem)) MarkItemGone(item);
}

int cSceneStage::TickTimeLimit(int delta) {
  if (m_bNoTimeLimit) return 0;
  // Every 60 play frames, whatever the stage's frame rate.
  if (!EveryNth(1, 60)) return 0;
  m_nTimeLeft = SaturateToInt(int64_t{m_nTimeLeft} + delta);
  if (m_nTimeLeft >= 1000) m_nTimeLeft = 999;
  if (m_nTimeLeft <= 0) {
    m_nTimeLeft = 0;
    return 1;
  }
  return 0;
}

void cSceneStage::TickPlayTime() {
  if (m_nPlayTime > 599998) return;
  m_nPlayFrames = SaturateToInt(int64_t{m_nPlayFrames} + 1);
  m_nPlayTime = static_cast<int32_t>(std::min<int64_t>(int64_t{m_nPlayFrames} * 100 / 60, 599999));
}

void cSceneStage::ApplyBlockEffect(cHero& hero) {
  if (hero.m_bNoGravity) return;
  const int steps = Stage.StepsPerFrame();
  if (hero.m_pFootCell && hero.m_nGroundEffectSteps == 0 && GetHitAttr(hero.m_pFootCell, hero.m_nGroup)) {
    const cEdBlock& block = hero.m_pFootCell->Block;
    const int32_t x = block.m_nEffectValue;
    switch (block.m_nEffect) {
      case BLOCKEFFECT_JUMP: {
        PlaySe(10);
        const double v = hero.JumpSpeedForHeightDots(x * 16.0);
        hero.m_dVy = v;
        hero.m_bJumping = hero.m_bJumped = 1;
        hero.m_bJumpReady = 0;
        hero.m_nJumpHold = cCharaBase::JumpStepsToApex(v);
        break;
      }
      case BLOCKEFFECT_NO_JUMP:
        hero.m_bJumpForced = 1;
        break;
      case BLOCKEFFECT_SPEED:
        hero.m_nGroundEffect = BLOCKEFFECT_SPEED;
        hero.m_dGroundEffect = x * 0.01;
        hero.m_nGroundEffectSteps = steps;
        break;
      case BLOCKEFFECT_PUSH_LEFT:
      case BLOCKEFFECT_PUSH_RIGHT:
        hero.m_nGroundEffect = block.m_nEffect;
        hero.m_dGroundEffect = x * 0.1 / (Stage.m_dSteps > 0 ? Stage.m_dSteps : 1.0);
        hero.m_nGroundEffectSteps = steps;
        break;
      default:
        break;
    }
    // Set until the hero stands on an active cell of another kind.
    if (block.m_nEffect != BLOCKEFFECT_NO_JUMP) hero.m_bJumpForced = 0;
  }
  if (hero.m_nGroundEffectSteps == 0) return;
  if (hero.m_nGroundEffect == BLOCKEFFECT_SPEED) {
    hero.m_dVx *= hero.m_dGroundEffect;
  } else if (hero.m_nGroundEffect == BLOCKEFFECT_PUSH_LEFT) {
    hero.m_dVx -= hero.m_dGroundEffect;
    if (hero.m_dInertiaX > 0) hero.m_dInertiaX = 0;
  } else if (hero.m_nGroundEffect == BLOCKEFFECT_PUSH_RIGHT) {
    hero.m_dVx += hero.m_dGroundEffect;
    if (hero.m_dInertiaX < 0) hero.m_dInertiaX = 0;
  }
  if (--hero.m_nGroundEffectSteps == 0 && hero.m_dVy >= 0) hero.m_dVy += 1;
}

int cSceneStage::ApplyBlockItem(cHero& hero) {
  if (hero.m_bNoGravity) return 0;
  bool applied = false;
  if (hero.m_pFootCell && hero.m_nBlockItemWait == 0 && GetHitAttr(hero.m_pFootCell, hero.m_nGroup)) {
    const cEdBlock& block = hero.m_pFootCell->Block;
    const cEdItem* entry = block.m_nItemKind != 0 ? GetItemPaletteEntry(block.m_nItemKind, block.m_nItemIndex) : nullptr;
    if (entry) {
      cItem item;
      item.Init(OBJECT_NONE, *entry, 0);
      item.m_bPresent = 1;
      const int result = ApplyItemEffect(&item, hero);
      if (result != 0) return result;
      hero.m_nBlockItemWait = SaturateToInt(int64_t{60} * Stage.StepsPerFrame());
      applied = true;
    }
  }
  if (hero.m_nBlockItemWait != 0) {
    if (hero.m_bAirborne) {
      hero.m_nBlockItemWait = 0;
    } else {
      if (hero.m_nBlockItemWait > 0) --hero.m_nBlockItemWait;
      // A new ground cell gives its item at once.
      if (hero.m_pFootCell && hero.m_pGroundCell != hero.m_pPrevGroundCell && !applied) {
        hero.m_nBlockItemWait = 0;
        if (hero.m_dVy >= 0) hero.m_dVy += 1;
      }
    }
  }
  return 0;
}

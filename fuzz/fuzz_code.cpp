// Any text run as code by a character of a small stage: it never crashes,
// hangs or asks to close the program, and afterwards every status of both
// characters, every common and stage variable and every value of the stage
// and the run is inside its range. The first byte chooses the set-up: bit 0
// infinite lives, bit 1 the running character has no target, bit 2 the hero
// runs the code; the rest is the text.
#include <cstdint>
#include <string>

#include "base/crt_random.h"
#include "fuzz_support.h"
#include "game/characters.h"
#include "game/code_eval.h"
#include "game/game.h"
#include "game/stage_data.h"
#include "game/status_fields.h"
#include "platform/close_request.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

void SetUpChara(cCharaBase& chara, int id, int controller, int maxHp, int maxSp) {
  chara.m_nId = id;
  chara.m_nController = controller;
  chara.m_Def.m_nOperator = static_cast<int8_t>(controller);
  chara.m_Def.m_nMaxHp = maxHp;
  chara.m_Def.m_nMaxSp = maxSp;
  chara.m_nHp = maxHp;
  chara.m_nSp = maxSp;
  chara.m_vVars.assign(CHARA_VAR_COUNT, 0);
}

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool InRange(int32_t v, int32_t lo, int32_t hi) { return lo <= v && v <= hi; }

void CheckChara(const cCharaBase& chara) {
  for (int i = 0; i < STATUS_FIELD_COUNT; ++i) {
    int32_t lo, hi;
    StatusFieldRange(chara, i, lo, hi);
    Check(InRange(GetStatusField(chara, i), lo, hi));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder scratch;
  fuzz::Input in(data, size);
  const uint8_t setup = in.Byte();
  const std::string text = in.Rest();

  static cSceneStageData scene;
  CurStage = &scene;
  Stage.Reset();
  Stage.SetSpeedLevel(2);
  scene.m_nTimeLeft = 100;
  scene.m_bDefeatCheck = 0;
  scene.m_vStageVars.assign(STAGE_VAR_COUNT, 0);
  PlayData.Reset();
  PlayData.m_nLives = setup & 1 ? LIVES_INFINITE : 3;
  Player.clear();
  Player.resize(1);
  CharaList.clear();
  CharaList.resize(1);
  cHero& hero = Player[0];
  cChara& chara = CharaList.front();
  SetUpChara(hero, 0, 0, 30, 20);
  SetUpChara(chara, 1, 1, 25, 10);
  chara.m_nTargetId = setup & 2 ? OBJECT_NONE : hero.m_nId;
  hero.m_nTargetId = chara.m_nId;
  crt::srand(1);
  plat::ResetCloseRequests();

  RunCode(text, setup & 4 ? static_cast<cCharaBase&>(hero) : chara);

  Check(plat::CloseRequestCount() == 0);
  CheckChara(hero);
  CheckChara(chara);
  for (int32_t v : PlayData.m_vCommonVar) Check(InRange(v, -999999, 999999));
  for (int32_t v : scene.m_vStageVars) Check(InRange(v, -999999, 999999));
  Check(PlayData.m_vCommonVar.Size() == COMMON_VAR_COUNT && scene.m_vStageVars.Size() == STAGE_VAR_COUNT);
  Check(InRange(scene.m_nTimeLeft, 0, 999));
  Check(InRange(Stage.m_nAutoScrollSpeedX, -480, 480) && InRange(Stage.m_nAutoScrollSpeedY, -480, 480));
  Check(InRange(PlayData.m_nStageScore, 0, 999999));
  Check(setup & 1 ? PlayData.m_nLives == LIVES_INFINITE : InRange(PlayData.m_nLives, 0, 99));
  Check(PlayData.m_nTotalScore == 0);

  Player.clear();
  CharaList.clear();
  CurStage = nullptr;
  return 0;
}

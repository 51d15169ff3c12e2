// What a character and the stage look like: the graphic, basic animation
// set and play-animation commands (action types 26 to 28, item types 11 to
// 13) and the background command (action type 34, item type 19).
#include <climits>
#include <utility>

#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/stage.h"

namespace {

enum BACKGROUNDCHANGE { BACKGROUND_SHOW, BACKGROUND_HIDE, BACKGROUND_TOGGLE };

}  // namespace

int CmdChangeGraphic(cCharaBase& chara, cEdCommand& command) {
  chara.m_Def.m_nGraphicKind = static_cast<int8_t>(CmdParam(command, 0));
  chara.m_Def.m_nGraphic = static_cast<int16_t>(CmdParam(command, 1));
  chara.m_nGraphic = chara.m_Def.m_nGraphic;
  chara.m_Def.m_nGraphicOffset = static_cast<int16_t>(CmdParam(command, 2));
  return 0;
}

int CmdChangeBasicAnimeSet(cCharaBase& chara, cEdCommand& command) {
  chara.SetBasicAnimeSet(CmdParam(command, 0), 0);
  return 0;
}

int CmdPlayAnime(cCharaBase& chara, cEdCommand& command) {
  cVector<ANIMEPATTERN> patterns;
  patterns.push_back(AnimeStepTable.At(CmdParam(command, 0)));
  // Tagged with the flow that runs it, so that the flow operations reach it;
  // an item command run from another character's flow belongs to none.
  const cSceneStageData& stage = StageData();
  const cFlowInstance* flow = stage.m_lpCurChara == &chara ? stage.m_lpCurFlow : nullptr;
  chara.m_lAnimes.push_front(ATTACHEDANIME());
  ATTACHEDANIME& anime = chara.m_lAnimes.front();
  anime.bScheduled = 0;
  anime.nLength = INT32_MAX;  // no limit: it runs to its end
  anime.nHold = 0;
  anime.nKey = flow ? flow->m_nSerial : -1;
  anime.bPaused = 0;
  anime.m_Anime.SetPatterns(std::move(patterns));
  anime.m_Anime.SetPattern(0, 1);
  return 0;
}

int CmdChangeBackground(cCharaBase&, cEdCommand& command) {
  const int n = CmdParam(command, 0);
  if (n < 1 || n > Stage.m_vBackground.Size()) return 0;
  int32_t& visible = Stage.m_vBackground[n - 1].m_bVisible;
  switch (CmdParam(command, 1)) {
    case BACKGROUND_SHOW:
      visible = 1;
      break;
    case BACKGROUND_HIDE:
      visible = 0;
      break;
    case BACKGROUND_TOGGLE:
      visible = visible ? 0 : 1;
      break;
    default:
      break;
  }
  return 0;
}

int ActChangeGraphic(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdChangeGraphic(chara, *instance.m_pCommand);
  return 0;
}

int ActChangeBasicAnimeSet(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdChangeBasicAnimeSet(chara, *instance.m_pCommand);
  return 0;
}

int ActPlayAnime(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdPlayAnime(chara, *instance.m_pCommand);
  return 0;
}

int ActChangeBackground(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdChangeBackground(chara, *instance.m_pCommand);
  return 0;
}

int ItemCmdChangeGraphic(cHero& hero, cEdCommand& command) {
  CmdChangeGraphic(hero, command);
  return 0;
}

int ItemCmdChangeBasicAnimeSet(cHero& hero, cEdCommand& command) {
  CmdChangeBasicAnimeSet(hero, command);
  return 0;
}

int ItemCmdPlayAnime(cHero& hero, cEdCommand& command) {
  CmdPlayAnime(hero, command);
  return 0;
}

int ItemCmdChangeBackground(cHero& hero, cEdCommand& command) {
  CmdChangeBackground(hero, command);
  return 0;
}

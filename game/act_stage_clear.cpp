// The stage-clear command (action type 17, item type 2): where the game
// goes after this stage, and where the hero starts there.
#include <algorithm>
#include <string>

#include "base/boxes.h"
#include "base/path_util.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/save_data.h"
#include "records/world_map.h"

namespace {

// "ステージファイル %s が不正です。\nステージファイルとして認識できません。"
constexpr const char* kBadStageFile =
    "\x83\x58\x83\x65\x81\x5B\x83\x57\x83\x74\x83\x40\x83\x43\x83\x8B %s \x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7"
    "\x81\x42\n\x83\x58\x83\x65\x81\x5B\x83\x57\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC6\x82\xB5\x82\xC4\x94\x46"
    "\x8E\xAF\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x42";

enum STAGECLEARMODE { CLEARMODE_NEXT_AREA, CLEARMODE_AREA, CLEARMODE_FILE, CLEARMODE_WORLD };

// Within 0..size − 1 (0 for a map without cells).
int32_t InsideMap(int32_t v, int32_t size) { return std::max(0, std::min(v, size - 1)); }

}  // namespace

int CmdStageClear(cCharaBase&, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  switch (CmdParam(command, 0)) {
    case CLEARMODE_NEXT_AREA:
      stage.m_nNextStage = PlayData.m_nAreaNo == INT32_MAX ? INT32_MAX : PlayData.m_nAreaNo + 1;
      stage.m_strNextStage.clear();
      break;
    case CLEARMODE_AREA:
      stage.m_nNextStage = CmdParam(command, 1);
      stage.m_strNextStage.clear();
      break;
    case CLEARMODE_FILE:
      stage.m_nNextStage = PlayData.m_nAreaNo;
      if (command.m_strText.empty()) {
        ErrorBoxPrintf(kBadStageFile, "");
        stage.m_strNextStage.clear();
      } else {
        // The area-name builder takes the "." off again and puts the stage extension on.
        std::string name = command.m_strText;
        StripExtensionString(name);
        stage.m_strNextStage = name + ".";
      }
      break;
    case CLEARMODE_WORLD:
      stage.m_nNextStage = 0;
      stage.m_strNextStage.clear();
      break;
    default:
      break;
  }
  if (CmdParam(command, 2)) {
    PlayData.m_nMapX = InsideMap(CmdParam(command, 3), WorldMap.m_nWidth);
    PlayData.m_nMapY = InsideMap(CmdParam(command, 4), WorldMap.m_nHeight);
    PlayData.m_nWalkDir = 0;
  }
  if (CmdParam(command, 5)) {
    PlayData.m_bHeroStart = 1;
    PlayData.m_nHeroStartX = CmdParam(command, 6);
    PlayData.m_nHeroStartY = CmdParam(command, 7);
    const int32_t facing = CmdParam(command, 8);
    PlayData.m_nHeroStartDir = facing == 2 ? (Player.empty() ? 0 : Player[0].m_nDirection) : facing;
  } else {
    PlayData.m_bHeroStart = 0;
  }
  return STAGERESULT_CLEAR;
}

int ActStageClear(cCharaBase& chara, cCommandInstance& instance) {
  if (!instance.m_pCommand) return 0;
  const int result = CmdStageClear(chara, *instance.m_pCommand);
  StageData().m_nCommandResult = result;
  return result;
}

int ItemCmdStageClear(cHero& hero, cEdCommand& command) { return CmdStageClear(hero, command); }

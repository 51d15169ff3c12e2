// The get-item command (action type 25, item type 10): the hero takes an
// item of a palette as if it had picked it up, without the item itself.
#include "base/report_log.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/common_palette.h"
#include "records/stage.h"

namespace {

enum GETITEMPALETTE { GETITEM_COMMON, GETITEM_STAGE };

// Get-items running inside one another (an item that gives itself would
// never end), and the lists run below the outermost one (an item that
// gives itself twice would double them at every level).
int giveDepth = 0;
int runs = 0;
bool told = false;  // the refusal is noted once per outermost get-item

}  // namespace

int CmdGetItem(cCharaBase&, cEdCommand& command) {
  const int palette = CmdParam(command, 0);
  if (palette != GETITEM_COMMON && palette != GETITEM_STAGE) return 0;
  if (Player.empty()) return 0;
  if (giveDepth == 0) {
    runs = 0;
    told = false;
  }
  if (giveDepth >= GETITEM_MAX_DEPTH || runs >= GETITEM_MAX_RUNS) {
    if (!told) DebugLogPrintf("CmdGetItem: items given %d deep, %d in all, no more", giveDepth, runs);
    told = true;
    return 0;
  }
  ++runs;
  cVector<cEdItem>& items = palette == GETITEM_COMMON ? CommonPalette.m_vPaletteItem : Stage.m_vPaletteItem;
  cEdItem& item = items.At(CmdParam(command, 1));
  ++giveDepth;
  const int result = Player[0].RunItemCommands(item.m_vCommands);
  --giveDepth;
  // A clear or defeat asked for earlier in the step stands.
  if (result != STAGERESULT_NONE) StageData().m_nCommandResult = result;
  return 0;
}

int ActGetItem(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdGetItem(chara, *instance.m_pCommand);
  return 0;
}

int ItemCmdGetItem(cHero& hero, cEdCommand& command) {
  CmdGetItem(hero, command);
  return 0;
}

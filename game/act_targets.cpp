// The set-target command (action type 21, item type 6): the hero, the
// character itself, the nearest or the first character found becomes the
// target, and both targets' targeted-by lists follow.
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"

namespace {

enum SETTARGETKIND { SETTARGET_HERO, SETTARGET_SELF, SETTARGET_NEAREST, SETTARGET_FIRST };

// The search of kinds 2 and 3 with the command's filters.
struct TARGETSEARCH {
  int group, allGroups, mode, bExclude, bSkipInv1, bSkipInv2, bSkipBlock, bById, id;

  explicit TARGETSEARCH(const cEdCommand& c)
      : group(CmdParam(c, 1)), allGroups(CmdParam(c, 2)), mode(CmdParam(c, 3)), bExclude(CmdParam(c, 4)),
        bSkipInv1(CmdParam(c, 5)), bSkipInv2(CmdParam(c, 6)), bSkipBlock(CmdParam(c, 7)), bById(CmdParam(c, 8)),
        id(CmdParam(c, 9)) {}

  cCharaBase* Nearest(const cCharaBase& chara, const cList<cCharaBase*>& list) const {
    return chara.FindChara(chara.CentreX(), chara.CentreY(), list, mode, bById, id, bExclude, bSkipInv1, bSkipInv2,
                           bSkipBlock, chara.m_nId);
  }
  cCharaBase* First(const cCharaBase& chara, const cList<cCharaBase*>& list) const {
    return chara.FindFirstChara(list, bById, id, bExclude, bSkipInv1, bSkipInv2, bSkipBlock, chara.m_nId);
  }
};

cCharaBase* FindTarget(cCharaBase& chara, const cEdCommand& command) {
  cSceneStageData& stage = StageData();
  const TARGETSEARCH search(command);
  switch (CmdParam(command, 0)) {
    case SETTARGET_HERO:
      return Hero();
    case SETTARGET_SELF:
      return &chara;
    case SETTARGET_NEAREST: {
      if (chara.m_nController == 1) chara.UpdateScreenRect();
      if (!search.allGroups) return search.Nearest(chara, stage.m_CharaGroups.At(search.group));
      // The nearest of each group, then the nearest of those.
      cList<cCharaBase*> nearest;
      for (const cList<cCharaBase*>& group : stage.m_CharaGroups) {
        if (group.empty()) continue;
        if (cCharaBase* found = search.Nearest(chara, group)) nearest.push_back(found);
      }
      return search.Nearest(chara, nearest);
    }
    case SETTARGET_FIRST:
      if (!search.allGroups) return search.First(chara, stage.m_CharaGroups.At(search.group));
      for (const cList<cCharaBase*>& group : stage.m_CharaGroups)
        if (cCharaBase* found = search.First(chara, group)) return found;
      return nullptr;
    default:
      return nullptr;
  }
}

}  // namespace

int CmdSetTarget(cCharaBase& chara, cEdCommand& command) {
  if (cCharaBase* old = chara.Target()) old->m_vTargetedBy.Remove(chara.m_nId);
  cCharaBase* target = FindTarget(chara, command);
  chara.m_nTargetId = OBJECT_NONE;
  if (target) chara.SetTarget(*target);
  return 0;
}

int ActSetTarget(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdSetTarget(chara, *instance.m_pCommand);
  return 0;
}

int ItemCmdSetTarget(cHero& hero, cEdCommand& command) {
  CmdSetTarget(hero, command);
  return 0;
}

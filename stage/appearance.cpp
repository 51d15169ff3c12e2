// Which objects take part in a logic step: presence by their conditions,
// the view, the activity ranges and the link groups.
#include "game/characters.h"
#include "game/conditions.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kGroupFlagCount = 60;

}  // namespace

void cSceneStage::UpdateAppearance() {
  for (cHero& hero : Player) {
    hero.m_bPresent = 1;
    hero.m_bOnScreen = 1;
  }
  if (m_vGroupFlags.Size() < kGroupFlagCount) m_vGroupFlags.resize(kGroupFlagCount);
  m_vGroupFlags.Fill(0);
  for (cChara& chara : CharaList) {
    chara.m_bPresent = CheckCharaConditions(chara);
    if (chara.m_bPresent) {
      chara.m_bOnScreen = chara.IsOnScreen();
      chara.CheckActivityRange(m_vGroupFlags);
    } else {
      chara.m_bOnScreen = 0;
      chara.m_bInRange = 0;
    }
  }
  // After every range: a link group raised by one character wakes the others.
  for (cChara& chara : CharaList) chara.m_bActive = chara.m_bPresent && chara.CheckActive(m_vGroupFlags) ? 1 : 0;
  for (cItem& item : ItemList) {
    item.m_bPresent = CheckItemConditions(item);
    item.m_bOnScreen = item.m_bPresent ? item.IsOnScreen() : 0;
  }
  for (cShot& shot : m_Shots) {
    shot.m_bPresent = 1;
    shot.m_bOnScreen = shot.IsOnScreen();
  }
}

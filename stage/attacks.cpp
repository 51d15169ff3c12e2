// Who hurts whom in a logic step (shots against characters, bodies against
// bodies, shots against shots), the hero's pick-ups, and the defeats that
// follow. Damage, knock-back and invincibility are the characters' own; this
// decides when they happen, plays the hit and defeat sounds and takes away
// what must go. Taken-away objects are marked gone: later walks and look-ups
// skip them at once, and the play step sweeps them out of their lists.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/window_messages.h"
#include "game/characters.h"
#include "game/gone_objects.h"
#include "game/item_effect.h"
#include "records/command_vocab.h"
#include "records/item.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

// The members of a group list as the pass starts: item commands and death
// flows run inside the pass may add to the lists or unlink from them.
template <class T>
void Snapshot(const cList<T*>& list, std::vector<T*>& out) {
  out.assign(list.begin(), list.end());
}

bool InHitList(const cShot& shot, int id) {
  for (int32_t hit : shot.m_HitList)
    if (hit == id) return true;
  return false;
}

bool TakesBodyHits(const cCharaBase& c, bool onScreenOnly) {
  return !c.m_bGone && c.m_bPresent && !c.m_bDefeated && !c.m_Def.m_bBlockChara && (!onScreenOnly || c.m_bOnScreen);
}

bool HasBodyAttack(const cCharaBase& c) { return c.m_Def.m_nPower != 0 || c.m_Def.m_nImpact != 0; }

// The boxes of an inner walk, kept sorted by their left edges so that a box
// finds the ones it overlaps without testing them all. Candidates come back
// in the walk's own order, so hits happen in list order as before. Boxes
// that are not finite are all tested, one by one.
class cBoxSweep {
 public:
  void Build(std::vector<DRECT> boxes) {
    m_boxes = std::move(boxes);
    m_order.resize(m_boxes.size());
    m_bLinear = false;
    m_dWidest = 0;
    for (uint32_t k = 0; k < m_order.size(); ++k) {
      m_order[k] = k;
      const DRECT& b = m_boxes[k];
      if (!std::isfinite(b.dLeft) || !std::isfinite(b.dRight)) m_bLinear = true;
      else m_dWidest = std::max(m_dWidest, b.dRight - b.dLeft);
    }
    if (!m_bLinear)
      std::sort(m_order.begin(), m_order.end(),
                [this](uint32_t a, uint32_t b) { return m_boxes[a].dLeft < m_boxes[b].dLeft; });
  }
  // The indices of the boxes that overlap `q`, ascending.
  void Overlapping(const DRECT& q, std::vector<uint32_t>& out) const {
    out.clear();
    if (m_bLinear || !std::isfinite(q.dLeft) || !std::isfinite(q.dRight)) {
      for (uint32_t k = 0; k < m_boxes.size(); ++k)
        if (m_boxes[k].Overlaps(q)) out.push_back(k);
      return;
    }
    const double from = q.dLeft - m_dWidest;
    auto it = std::lower_bound(m_order.begin(), m_order.end(), from,
                               [this](uint32_t k, double x) { return m_boxes[k].dLeft < x; });
    for (; it != m_order.end() && m_boxes[*it].dLeft <= q.dRight; ++it)
      if (m_boxes[*it].Overlaps(q)) out.push_back(*it);
    std::sort(out.begin(), out.end());
  }

 private:
  std::vector<DRECT> m_boxes;
  std::vector<uint32_t> m_order;
  double m_dWidest = 0;
  bool m_bLinear = false;
};

}  // namespace

int cSceneStage::DefeatObject(cCharaBase& chara) {
  // The hero's defeat is the play step's.
  if (chara.m_nController == 0) return STAGERESULT_DEFEAT;
  if (!chara.m_bDefeated) return chara.Defeat();
  return 0;
}

int cSceneStage::DefeatAndCheckClear(cCharaBase& chara, cList<cChara>&) {
  const int result = DefeatObject(chara);
  if (result == STAGERESULT_CLEAR) {
    OnStageClear();
    m_nPhase = STAGESTATE_CLEAR;
  } else if (result == STAGERESULT_DEFEAT) {
    PlaySe(8);
    if (cHero* hero = Hero(); hero && hero->Defeat() == 1) {
      OnStageClear();
      m_nPhase = STAGESTATE_CLEAR;
    }
  }
  return result;
}

int cSceneStage::CheckDefeats() {
  if (cHero* hero = Hero(); hero && hero->m_nHp <= 0) {
    PlaySe(8);
    if (hero->Defeat() == 1) {
      OnStageClear();
      m_nPhase = STAGESTATE_CLEAR;
    }
    return 1;
  }
  for (cChara& chara : CharaList) {
    if (chara.m_bGone) continue;
    if (chara.m_bVanished) {
      MarkCharaGone(chara);
      continue;
    }
    // One already defeated stays for its defeat display; it is not defeated
    // (nor its sound played) again at every check.
    if (chara.m_nHp > 0 || chara.m_bDefeated) continue;
    const int result = DefeatAndCheckClear(chara, CharaList);
    if (SystemData.bShowDefeat()) {
      if (result == STAGERESULT_CLEAR) {
        MarkCharaGone(chara);
        return 1;
      }
      PlaySe(9);
    } else {
      MarkCharaGone(chara);
    }
    if (result != 0) return 1;
  }
  return 0;
}

int cSceneStage::ResolveAttacks(cList<cChara>&) {
  const bool onScreenOnly = Stage.m_bHitOnScreen != 0;
  cHero* hero = Hero();
  const int groups = STAGE_GROUP_COUNT;
  std::vector<cShot*> shots, others;
  std::vector<cCharaBase*> charas, rivals;
  std::vector<DRECT> boxes;   // of the inner walk's members, by index
  std::vector<size_t> clash;  // the inner shots that can be shot down
  cBoxSweep sweep;
  std::vector<uint32_t> met;
  const auto shotContacts = [&] {
    std::vector<DRECT> contacts(charas.size());
    for (size_t k = 0; k < charas.size(); ++k) contacts[k] = charas[k]->m_ShotContact.rc;
    sweep.Build(std::move(contacts));
  };
  const auto bodyContacts = [&] {
    boxes.resize(rivals.size());
    for (size_t k = 0; k < rivals.size(); ++k) boxes[k] = rivals[k]->m_Contact.rc;
  };

  // Shots against characters, on the chosen logic steps of the frame. The
  // boxes are read again after anything that runs commands (a hit, a
  // defeat, an item), which may move characters.
  const int stepIndex = m_nStepInFrame - 1;
  const bool hitStep = Stage.m_nHitChecks == 0 ||
                       (stepIndex >= 0 && stepIndex < m_vHitSteps.Size() && m_vHitSteps[stepIndex] != 0);
  for (int g = 0; hitStep && g < groups; ++g) {
    if (m_ShotGroups.At(g).empty()) continue;
    for (int h = 0; h < groups; ++h) {
      if (h == g || m_CharaGroups.At(h).empty()) continue;
      Snapshot(m_ShotGroups.At(g), shots);
      Snapshot(m_CharaGroups.At(h), charas);
      shotContacts();
      for (cShot* shot : shots) {
        if (shot->m_bGone || (onScreenOnly && !shot->m_bOnScreen)) continue;
        const cEdShot& def = shot->m_ShotDef;
        bool usedUp = false;
        sweep.Overlapping(shot->m_Box.rc, met);
        for (size_t m = 0; m < met.size(); ++m) {
          const uint32_t k = met[m];
          cCharaBase& o = *charas[k];
          if (!o.m_ShotContact.rc.Overlaps(shot->m_Box.rc)) continue;
          if (o.m_bGone || (onScreenOnly && !o.m_bOnScreen) || !o.m_bPresent || o.m_bDefeated) continue;
          if (o.m_Def.m_bInvincible == 2 || InHitList(*shot, o.m_nId)) continue;
          o.FireTrigger(FLOWTRIGGER_HIT_SHOT);
          if ((def.m_nPower == 0 && def.m_nImpact == 0 && def.m_nItemKind == 0) || o.IsInvincible()) continue;
          o.TakeShotHit(*shot);
          if (o.m_nHp <= 0) {
            if (o.m_nController == 1) PlaySe(9);
            const int result = DefeatObject(o);
            if (result == STAGERESULT_CLEAR || result == STAGERESULT_DEFEAT) return result;
          } else {
            PlaySe(7);
            o.StartInvincibility();
          }
          const bool pierces = o.m_Def.m_bBlockChara ? def.m_bPierceBlockChara : def.m_bPierce;
          if (shot->m_nKind == SHOTKIND_SWORD || pierces)
            shot->m_HitList.push_back(o.m_nId);
          else
            usedUp = true;
          if (def.m_nItemKind != 0 && hero) {
            if (const cEdItem* entry = GetItemPaletteEntry(def.m_nItemKind, def.m_nItemIndex)) {
              cItem item;
              item.Init(OBJECT_NONE, *entry, 0);
              item.m_bPresent = 1;
              const int result = ApplyItemEffect(&item, *hero);
              if (result != 0) return result;
            }
          }
          // Commands ran: the characters after this one are found again.
          shotContacts();
          std::vector<uint32_t> rest;
          sweep.Overlapping(shot->m_Box.rc, rest);
          met.resize(m + 1);
          for (uint32_t r : rest)
            if (r > k) met.push_back(r);
        }
        if (usedUp) MarkShotGone(*shot);
      }
    }
  }

  // Bodies against bodies, every logic step.
  for (int i = 0; i < groups; ++i) {
    if (m_CharaGroups.At(i).empty()) continue;
    for (int j = i + 1; j < groups; ++j) {
      if (m_CharaGroups.At(j).empty()) continue;
      Snapshot(m_CharaGroups.At(i), charas);
      Snapshot(m_CharaGroups.At(j), rivals);
      bodyContacts();
      for (cCharaBase* pp : charas) {
        for (size_t k = 0; k < rivals.size(); ++k) {
          cCharaBase& p = *pp;
          if (!boxes[k].Overlaps(p.m_Contact.rc)) continue;
          cCharaBase& r = *rivals[k];
          if (!TakesBodyHits(p, onScreenOnly) || !TakesBodyHits(r, onScreenOnly)) continue;
          p.FireTrigger(FLOWTRIGGER_HIT_CHARA);
          r.FireTrigger(FLOWTRIGGER_HIT_CHARA);
          const bool pHit = HasBodyAttack(r) && !p.IsInvincibleTo(r.m_nId);
          if (pHit) p.TakeBodyHit(r);
          const bool rHit = HasBodyAttack(p) && !r.IsInvincibleTo(p.m_nId);
          if (rHit) r.TakeBodyHit(p);
          if (pHit || rHit) PlaySe(7);
          const auto after = [this](cCharaBase& hit, const cCharaBase& by) {
            if (hit.m_nHp > 0) {
              hit.StartInvincibilityFrom(by.m_nId);
              return 0;
            }
            if (hit.m_nController == 1) PlaySe(9);
            const int result = DefeatObject(hit);
            return result == STAGERESULT_CLEAR || result == STAGERESULT_DEFEAT ? result : 0;
          };
          if (pHit)
            if (const int result = after(p, r)) return result;
          if (rHit)
            if (const int result = after(r, p)) return result;
          if (pHit || rHit) bodyContacts();
        }
      }
    }
  }

  // Shots against shots: of two that clash the weaker goes, both when equal.
  // A pair where neither can be shot down is never tested.
  for (int i = 0; i < groups; ++i) {
    for (int j = i + 1; j < groups; ++j) {
      if (m_ShotGroups.At(i).empty() || m_ShotGroups.At(j).empty()) continue;
      Snapshot(m_ShotGroups.At(i), shots);
      Snapshot(m_ShotGroups.At(j), others);
      std::vector<DRECT> all(others.size()), clashing;
      clash.clear();
      for (size_t k = 0; k < others.size(); ++k) {
        all[k] = others[k]->m_rcHit;
        if (others[k]->m_ShotDef.m_bClash) {
          clash.push_back(k);
          clashing.push_back(all[k]);
        }
      }
      cBoxSweep sweepAll, sweepClash;
      sweepAll.Build(std::move(all));
      sweepClash.Build(std::move(clashing));
      for (cShot* w : shots) {
        if (w->m_bGone) continue;
        bool removeW = false;
        const bool wClash = w->m_ShotDef.m_bClash != 0;
        if (wClash) {
          sweepAll.Overlapping(w->m_rcHit, met);
        } else {
          // Only those that can be shot down; clash is ascending, so the order holds.
          sweepClash.Overlapping(w->m_rcHit, met);
          for (uint32_t& k : met) k = static_cast<uint32_t>(clash[k]);
        }
        for (uint32_t k : met) {
          cShot* v = others[k];
          if (v->m_bGone || !w->m_rcHit.Overlaps(v->m_rcHit)) continue;
          const bool vClash = v->m_ShotDef.m_bClash != 0;
          bool removeV = false;
          if (wClash && vClash) {
            const int ws = w->m_ShotDef.m_nVanish;
            const int vs = v->m_ShotDef.m_nVanish;
            removeW = removeW || vs >= ws;
            removeV = ws >= vs;
          } else {
            removeW = removeW || wClash;
            removeV = vClash;
          }
          if (removeV) MarkShotGone(*v);
        }
        if (removeW) MarkShotGone(*w);
      }
    }
  }
  return 0;
}

int cSceneStage::CheckItemPickup(cHero& hero) {
  for (cItem& item : ItemList) {
    if (item.m_bGone || !item.m_bPresent || item.m_bHeld || item.m_Def.m_nPickupMode == PICKUPMODE_NEVER) continue;
    const int mode = item.m_Def.m_nPickupMode;
    if (!hero.m_PickupBox.rc.Overlaps(item.m_rcHit)) {
      // Left behind: it acts again on the next touch.
      if (mode == PICKUPMODE_ALWAYS) hero.ForgetItemTouch(item);
      continue;
    }
    hero.FireTrigger(FLOWTRIGGER_HIT_ITEM);
    if (mode == PICKUPMODE_ALWAYS) {
      if (!hero.IsNewItemTouch(item)) continue;
      hero.m_lTouched.push_back(item.m_nId);
    }
    const int result = ApplyItemEffect(&item, hero);
    if (mode == PICKUPMODE_ONCE) MarkItemGone(item);
    if (result != 0) return result;
  }
  return 0;
}

// Key conditions: one condition at a moment in the past, the sequence
// matched back from the present with a tolerance, the edge and continuous
// gates of the trigger, and the keys as they are now.
#include "game/key_conditions.h"

#include "game/chara_base.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"

namespace {

constexpr int kLastRun = INPUT_RUN_COUNT - 1;

// Facing left, a condition relative to the facing reads left for right:
// 1 <-> 2, 5 <-> 7, 6 <-> 8.
constexpr int kMirrored[KEY_DIR_HISTORIES] = {0, 2, 1, 3, 4, 7, 8, 5, 6, 9};

int64_t RunLength(const cInput& input, int h, int k) { return KeyRun(input, h, k).nFrames; }

int KeyState(const cEdKeyCondition& condition, int slot) {
  return slot < condition.m_vKeys.Size() ? condition.m_vKeys[slot] : static_cast<int>(KEYSTATE_IGNORED);
}

int ByMode(int mode, int hits, int misses) {
  switch (mode) {
    case KEYMODE_ALL: return misses == 0;
    case KEYMODE_ANY: return hits >= 1;
    case KEYMODE_ONE: return hits == 1;
    default: return 1;
  }
}

}  // namespace

KEYCURSOR KEYCURSOR::Start(const cInput& input) {
  KEYCURSOR cursor;
  cursor.pInput = &input;
  for (int h = 0; h < KEY_HISTORIES; ++h) cursor.r[h] = RunLength(input, h, 0);
  return cursor;
}

INPUTRUN KeyRun(const cInput& input, int h, int k) {
  const cVector<INPUTRUNS>& histories = h < KEY_DIR_HISTORIES ? input.m_vDirRuns : input.m_vButtonRuns;
  const int i = h < KEY_DIR_HISTORIES ? h : h - KEY_DIR_HISTORIES;
  if (i < 0 || i >= histories.Size() || k < 0 || k >= histories[i].Size()) return INPUTRUN{0, 0};
  return histories[i][k];
}

int GetHeldDirection(const cInput& input) {
  for (int h = 0; h < KEY_DIR_HISTORIES; ++h)
    if (KeyRun(input, h, 0).bOn) return h;
  return 0;
}

int cCharaBase::TestKeyRun(const INPUTRUN& run, int64_t frames, const cEdKeyCondition& condition, int state) {
  if (state == KEYSTATE_PRESSED) {
    if (!run.bOn) return 0;
    if (condition.m_bAnyLength) return frames > 0;
    return condition.m_nMinFrames <= frames && frames <= condition.m_nMaxFrames;
  }
  if (state == KEYSTATE_RELEASED) return !run.bOn && frames > 0;
  return 0;
}

int cCharaBase::MatchKeyCondition(const cEdKeyCondition& condition, const KEYCURSOR& cursor, int64_t& span) {
  span = 0;
  if (!cursor.pInput) return 0;
  const cCharaBase* current = StageData().m_lpCurChara;
  const bool mirror = condition.m_bFacingRelative && current && current->m_nDirection == 0;
  int hits = 0, misses = 0;
  for (int slot = 0; slot < KEY_HISTORIES; ++slot) {
    const int state = KeyState(condition, slot);
    if (state == KEYSTATE_IGNORED) continue;
    const int h = mirror && slot < KEY_DIR_HISTORIES ? kMirrored[slot] : slot;
    const int64_t r = cursor.r[h];
    if (!TestKeyRun(KeyRun(*cursor.pInput, h, cursor.k[h]), r, condition, state)) {
      ++misses;
      continue;
    }
    ++hits;
    // All keys: the shortest run; any key: the longest; otherwise the last.
    if (condition.m_nMode == KEYMODE_ALL) {
      if (span == 0 || r < span) span = r;
    } else if (condition.m_nMode == KEYMODE_ANY) {
      if (span == 0 || r > span) span = r;
    } else {
      span = r;
    }
  }
  return ByMode(condition.m_nMode, hits, misses);
}

void cCharaBase::ShiftKeyCursor(KEYCURSOR& cursor, int64_t d) {
  if (!cursor.pInput) return;
  const cInput& input = *cursor.pInput;
  for (int h = 0; h < KEY_HISTORIES; ++h) {
    int32_t& k = cursor.k[h];
    int64_t& r = cursor.r[h];
    if (d <= 0) {
      r += d;
      while (r < 0 && k < kLastRun) {
        ++k;
        r += RunLength(input, h, k);
      }
      // On the boundary of two runs: the end of the older one.
      if (r == 0 && k < kLastRun) {
        ++k;
        r = RunLength(input, h, k);
      }
    } else {
      int64_t left = d;
      while (k > 0 && r + left > RunLength(input, h, k)) {
        left -= RunLength(input, h, k) - r;
        --k;
        r = 0;
      }
      r += left;
    }
  }
}

int cCharaBase::MatchKeySequence(const cVector<cEdKeyCondition*>& conditions, int tolerance) {
  if (conditions.empty()) return 0;
  const int t = tolerance > 0 ? tolerance : 0;
  KEYCURSOR cursor = KEYCURSOR::Start(Input.At(0));
  const int last = conditions.Size() - 1;
  int64_t span = 0;
  for (int i = last;; --i) {
    const cEdKeyCondition* condition = conditions[i];
    if (!condition) return 0;
    // The last condition holds now; an earlier one where the later began,
    // or up to t frames before, or one frame after where the later does not yet hold.
    if (!MatchKeyCondition(*condition, cursor, span)) {
      if (i == last || t == 0) return 0;
      bool found = false;
      for (int n = 0; n < t && !found; ++n) {
        ShiftKeyCursor(cursor, -1);
        found = MatchKeyCondition(*condition, cursor, span);
      }
      if (!found) {
        ShiftKeyCursor(cursor, t);
        ShiftKeyCursor(cursor, 1);
        if (!MatchKeyCondition(*condition, cursor, span)) return 0;
        int64_t later = 0;
        if (conditions[i + 1] && MatchKeyCondition(*conditions[i + 1], cursor, later)) return 0;
      }
    }
    if (i == 0) return 1;
    ShiftKeyCursor(cursor, -span);
  }
}

int cCharaBase::CheckKeyConditions(cFlowInstance& flow) {
  if (flow.m_vKeyConds.empty() || !flow.m_pFlow) return 1;
  // The tolerance is a signed byte; below 0 it means none.
  const int tolerance = static_cast<int8_t>(flow.m_pFlow->m_nKeySlack);
  const int match = MatchKeySequence(flow.m_vKeyConds, tolerance);
  if (flow.m_pFlow->m_bKeyRepeat) return match;
  if (!match) {
    flow.m_bKeyLatched = 0;
    return 0;
  }
  if (flow.m_bKeyLatched) {
    // Still held: the letter stays blocked for later flows of this pass.
    const int letter = flow.SwitchLetter();
    if (flow.Trigger() == FLOWTRIGGER_ALWAYS && letter != 0) {
      m_vSwitchTaken.At(letter) = 1;
      m_vSwitchReleased.At(letter) = 1;
      m_bSwitchRelease = 1;
    }
    return 0;
  }
  flow.m_bKeyLatched = 1;
  return 1;
}

int cCharaBase::CheckKeyNow(const cInput& input, const cEdKeyCondition& condition) {
  int hits = 0, misses = 0;
  for (int slot = 0; slot < KEY_HISTORIES; ++slot) {
    const int state = KeyState(condition, slot);
    if (state == KEYSTATE_IGNORED) continue;
    const int on = KeyRun(input, slot, 0).bOn != 0;
    const int pass = state == KEYSTATE_PRESSED ? on : state == KEYSTATE_RELEASED ? !on : 0;
    if (!pass) {
      ++misses;
      continue;
    }
    ++hits;
    if (condition.m_nMode == KEYMODE_ANY) break;
  }
  return ByMode(condition.m_nMode, hits, misses);
}

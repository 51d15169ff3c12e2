#pragma once
// The timing state of a character effect and of a screen effect. Start-up
// precomputes one normal and one reversed state per database entry
// (BuildCharaEffectStates, BuildScrEffectStates); starting an effect copies
// one of them. Effect parameters come from files and are never trusted here:
// an unknown kind is no effect, and a run time below 1 is taken as 1 where it
// divides.
#include <cstdint>

class cEdCharaEffect;
class cEdScrEffect;

// Kinds of CharaEffect.dat entries (the index of their draw routine).
enum CHARAEFFECT {
  CHARAEFFECT_NONE = 0,
  CHARAEFFECT_BURST,
  CHARAEFFECT_SPLIT_H,
  CHARAEFFECT_SPLIT_V,
  CHARAEFFECT_WAVE_H,
  CHARAEFFECT_WAVE_V,
  CHARAEFFECT_BLINK,
  CHARAEFFECT_ROTATE_A,
  CHARAEFFECT_ROTATE_B,
  CHARAEFFECT_ROTATE_DEPTH,
  CHARAEFFECT_CIRCLE,
  CHARAEFFECT_ZOOM,
  CHARAEFFECT_LENS,
  CHARAEFFECT_COLOR,
  CHARAEFFECT_TRANSLUCENT,
  CHARAEFFECT_MOSAIC,
  CHARAEFFECT_BLUR,
  CHARAEFFECT_COUNT
};

// Screen effect kinds run 0 (none) to 13.
constexpr int SCREFFECT_COUNT = 14;

// A stored count, step or divisor as it may be used: below 1 becomes 1.
inline int EffectCount(int value) { return value < 1 ? 1 : value; }

class cCharaEffectState {
 public:
  int16_t m_sEffect = 0;              // CharaEffect.dat entry; 0 none
  cEdCharaEffect* m_lpDef = nullptr;  // that entry (the working copy for the reversed state)
  int32_t m_nRunMode = 0;             // 0 normal, 1 reversed, 2 back and forth
  int32_t m_bLoop = 0;
  int32_t m_bReversed = 0;
  int32_t m_nStart = 0;
  int32_t m_nEnd = 0;
  double m_dValue = 0;
  double m_dStep = 0;     // change of the value per drawn frame
  double m_dElapsed = 0;  // tenths of a second, when start equals end
  int32_t m_nTime = 0;    // parameter 0, tenths of a second
  int32_t m_nCounter = 0; // wave phase in degrees, or blink frame counter
  int32_t m_bShown = 0;

  // Precomputes entry n of Database.m_vCharaEffect (bReversed 0) or of its
  // working copy (bReversed 1, whose start and end parameters are exchanged
  // in place first). Called once per entry and variant at start-up.
  void Init(int n, int bReversed);
  // The kind of the entry: CHARAEFFECT_NONE without an entry or for a kind
  // outside 0..16.
  int Kind() const;
  // No effect runs: effect 0, no entry, no loop, not reversed. Characters
  // clear their state when they are reset.
  void Clear();

  // Running an effect is the game's: these four are defined on the game
  // floor (game/effect_timing.cpp) and called only from there and above.
  //
  // The timing part of src: entry, range, value, step, elapsed time, time,
  // counter and blink turn (not the number, mode, loop or direction).
  void CopyFrom(const cCharaEffectState& src);
  // Starts effect n (CharaEffect.dat) with run mode 0 normal, 1 reversed,
  // 2 back and forth, from its precomputed state (CharaFxInstB for mode 1,
  // else CharaFxInstA). A number outside the table is reported as a bad
  // index and starts entry 0 (no effect). Called by a character's reset for
  // its start effect, by the character-effect command and by the defeat.
  void Start(int n, int runMode, int bLoop);
  // The precomputed state again; a back-and-forth effect turns round first.
  void Restart();
  // One drawn frame of the running effect (never while play is frozen): 1
  // when it has ended; a looping effect, or a back-and-forth one at the end
  // of its forward run, restarts instead and gives 0.
  int Step();
};

class cScreenEffectState {
 public:
  int16_t m_sEffect = 0;
  cEdScrEffect* m_lpDef = nullptr;
  int32_t m_nRunMode = 0;
  int32_t m_bLoop = 0;
  int32_t m_bReversed = 0;
  int32_t m_nTick = 0;
  double m_dValue = 0;
  double m_dAux = 0;   // shake offset (kinds 2, 3)
  double m_dStep = 0;
  int32_t m_nAuxA = 0; // x of kind 1; direction of kinds 2, 3; frame counter of 6..8
  int32_t m_nAuxB = 0; // y of kind 1; toggle of kind 8
  int32_t m_bTimed = 0;  // counts time instead of a value
  double m_dElapsed = 0;
  int32_t m_nTime = 0;

  // As cCharaEffectState::Init, for Database.m_vScrEffect and its working
  // copy; the move kind exchanges both coordinates of start and end.
  void Init(int n, int bReversed);
  // The kind of the entry: 0 without an entry or for a kind outside 0..13.
  int Kind() const;
  // No screen effect runs (as cCharaEffectState::Clear, and not timed). The
  // stage set-up clears its state with it.
  void Clear();

  // Defined on the game floor (game/effect_timing.cpp), as for the
  // character state. CopyFrom takes the entry and every member from the
  // value to the time.
  void CopyFrom(const cScreenEffectState& src);
  // From ScrFxInstB (mode 1) or ScrFxInstA; the frame tick restarts at 0.
  void Start(int n, int runMode, int bLoop);
  void Restart();
  // Once a drawn frame, by the stage's screen-effect handlers: the value
  // moves by `step` from `from` toward `to` (a timed effect counts its time
  // instead); 1 when it has passed `to`, compared truncated to an int.
  // Looping and back-and-forth effects restart as the character state does.
  int Step(int from, int to, double step);
};

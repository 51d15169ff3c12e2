#pragma once
// Effect instances of a running stage (m_Effects): one animation of the
// effect database (Effect.dat) played once at a world position, for the
// effect command or where the boxes of a hit meet. Made on the game thread;
// Draw runs on the thread that runs the frame loop. Positions are world
// dots, sizes dots.
#include <cstdint>

#include "game/anime_player.h"
#include "game/geometry.h"

struct DDSURFACEDATA;

// The effect command's values.
struct EFFECTSPAWN {
  int32_t nEffect = 0;  // Effect.dat entry; its low 16 bits count
  double dX = 0;        // top-left
  double dY = 0;
  int32_t nWidth = 0;  // drawn size
  int32_t nHeight = 0;
  int32_t bWait = 0;  // the command waits for the end
};

class cEffectInstance {
 public:
  // Effect.dat entry. A number outside the table is reported (the game goes
  // on) and entry 0 is used.
  int16_t m_sEffect = 0;
  double m_dX = 0;  // top-left
  double m_dY = 0;
  int32_t m_nWidth = 0;  // drawn size
  int32_t m_nHeight = 0;
  int32_t m_bScaled = 0;  // drawn stretched from the effect's frame size
  cAnimePlayer m_Anime;   // one pattern: the effect's frames
  int32_t m_bWait = 0;    // its command waits for it: it animates while play is frozen

  cEffectInstance() = default;
  explicit cEffectInstance(const EFFECTSPAWN& spawn);
  // The hit effect between the receiver's box a and the attacker's box b,
  // centred on where they meet and jittered by up to 4 dots (times the
  // attacker's scale when the effect scales with it).
  cEffectInstance(int effect, const DRECT& a, const DRECT& b, int scale);

  // The player holds exactly the effect's pattern, started.
  void SetupAnime(int effect);
  // Once per frame onto `surface`; bFrozen while play is frozen. 1 when the
  // effect is over (the caller removes it).
  int Draw(DDSURFACEDATA* surface, int bFrozen);
};

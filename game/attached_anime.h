#pragma once
// An animation attached to a character by a flow (for the command it runs)
// or by the play-anime command; shown instead of the character's own
// animation while it runs. A character keeps them newest first.
#include <cstdint>

#include "game/anime_player.h"

struct ATTACHEDANIME {
  cAnimePlayer m_Anime;    // one pattern
  int32_t bScheduled = 0;  // 1 a flow's command animation, 0 the play-anime command
  int32_t nLength = 0;     // frames still to run; may go below 0
  int32_t nHold = 0;       // frames the action frame is held
  int32_t nKey = -1;       // m_nSerial of the flow that started it; -1 outside flows
  int32_t bPaused = 0;
};

#pragma once
// The link from a character to the shots aimed at it (its m_vShots, by shot
// serial): when the character goes (defeat, erasure) each of those shots
// loses its target and flies on without one. The shots fill this in; until
// then it notes "ShotLosesTarget <serial> <chara id>" in the debug log.
#include <cstdint>

void ReleaseAimedShot(int32_t shotSerial, int32_t charaId);

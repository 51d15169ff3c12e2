#pragma once
// The link from a character to the shots aimed at it (its m_vShots, by shot
// serial): when the character goes (defeat, erasure) each of those shots
// loses its target and flies on without one. A shot that is gone, or that
// aims at someone else by now, is left alone.
#include <cstdint>

void ReleaseAimedShot(int32_t shotSerial, int32_t charaId);

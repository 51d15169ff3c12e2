#pragma once
// The link from a character to the shots aimed at it (its m_vShots, by shot
// serial): when the character goes (defeat, erasure) each of those shots
// loses its target and flies on without one.
#include <cstdint>

// The live shot with that serial forgets its target when the target is
// `charaId`; nothing when no such shot lives. Called by the character as it
// goes, on the game thread.
void ReleaseAimedShot(int32_t shotSerial, int32_t charaId);

#pragma once
// The seventeen ways a character's picture is put on the screen, one small
// routine per character-effect kind (CHARAEFFECT), in a table indexed by the
// kind of the running effect. cCharaBase::Draw, DrawDefeated and
// StepCharaEffect call them once a drawn frame on the game thread.
//
// A routine draws the character's graphic (src, from SetGraphicSource with
// the tint of GetGraphicColumn) at its view rectangle on `target` when bDraw
// is 1, and with bDraw 0 only advances. Unless bFrozen it then steps the
// effect's timing and returns 1 when the effect has ended; while frozen
// nothing advances and the result is 0. The plain drawing never ends.
//
// Scaled pictures and the effects that need one are first copied into the
// effect work surfaces (lpEffectWork1, lpEffectWork2 of SelectCharaSurfaces,
// and system images 67, 68, 69). Parameters that count or divide (bands,
// circle step, blink interval) are taken as at least 1.
#include "game/graphic_source.h"
#include "records/effect_state.h"

class cCharaBase;

using CHARAFXDRAW = int (*)(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen,
                            int bDraw);

int DrawFxNone(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxBurst(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxSplitH(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxSplitV(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxWaveH(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxWaveV(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxBlink(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxRotateA(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxRotateB(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxRotateDepth(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxCircle(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxZoom(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxLens(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxColor(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxTranslucent(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxMosaic(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);
int DrawFxBlur(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw);

// The routines in CHARAEFFECT order.
extern const CHARAFXDRAW CharaFxDrawTable[CHARAEFFECT_COUNT];

// The kind whose routine draws a character: CHARAEFFECT_NONE while no
// effect runs (effect number 0, which an ended effect is set back to).
int RunningCharaEffectKind(const cCharaEffectState& state);

// The character's current graphic (W x H) copied opaque to (0, 0) of a work
// surface: stretched from the chosen copy set when scaled, else from the
// second copy set; with the tint values when src is tinted.
void CopyGraphicToWork(const cCharaBase& chara, DDSURFACEDATA* work, const GRAPHICSOURCE& src);
// The same from the first copy set, never stretched.
void CopyTintedGraphicToWork(const cCharaBase& chara, DDSURFACEDATA* work, const GRAPHICSOURCE& src);

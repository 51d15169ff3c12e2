#pragma once
// The bodies of the action commands from the stage clear onward that flows
// and item lists share: stage clear, set target, status operation 2,
// vanish, get item, graphic, basic animation set, play animation,
// background, sound effect, music and arrange. Each takes the character and
// the command record; a flow's executor (action_commands.h) passes its
// running command's record, an item executor (item_commands.h) the hero and
// the item's command. They run on the game thread inside a logic step, on
// every step of a flow command's duration.
//
// Parameters are read as the command holds them, p0, p1, ...; one the
// vector does not hold reads as 0.
#include <cstdint>

#include "game/command_params.h"
#include "records/command.h"

class cCharaBase;

// The command's sound unless it plays only on screen and the character is
// off screen.
void PlayCommandSe(const cCharaBase& chara, const cEdCommand& command);

// Stage clear: the next area or stage file for the stage scene (p0: 0 the
// next area, 1 area p1, 2 the stage file of the text, 3 the world cleared),
// the world-map position (p2: cell p3, p4, kept inside the map) and the
// next area's hero start (p5: cell p6, p7, facing p8, 2 the hero's facing
// now) in the progress record. Returns 1.
int CmdStageClear(cCharaBase& chara, cEdCommand& command);
// The character's target by p0 (0 the hero, 1 itself, 2 the nearest, 3 the
// first found) in character group p1 (p2 every group) with the search
// filters p3..p9; none found leaves it without one. The targeted-by lists
// of the old and the new target follow.
int CmdSetTarget(cCharaBase& chara, cEdCommand& command);
// State p1 of object p0 (0 itself, 1 its target, 2 the system) becomes p2:
// vanish, transparent, fixed facing, fly mode, invincibility, scale (kept
// within 1..127), scroll sync; the system's horizontal and vertical
// auto-scroll.
int CmdStatusOp2(cCharaBase& chara, cEdCommand& command);
// Every present character (p0 0) or shot (p0 1) of group p1, on screen
// unless p2 is 1, vanishes.
int CmdVanish(cCharaBase& chara, cEdCommand& command);
// The hero runs the command list of item p1 of the common (p0 0) or the
// stage (p0 1) palette; a result other than 0 becomes the stage's command
// result. Other palettes run nothing. Get-items nested deeper than
// GETITEM_MAX_DEPTH, or past GETITEM_MAX_RUNS below one outermost
// get-item, run nothing and note it in the debug log.
int CmdGetItem(cCharaBase& chara, cEdCommand& command);
constexpr int GETITEM_MAX_DEPTH = 16;
constexpr int GETITEM_MAX_RUNS = 1000;
// Graphic kind p0, number p1 and offset p2 of the character.
int CmdChangeGraphic(cCharaBase& chara, cEdCommand& command);
// The character's basic animation set becomes p0 (nothing when it is already).
int CmdChangeBasicAnimeSet(cCharaBase& chara, cEdCommand& command);
// Animation p0 attached in front of the character's own, tagged with the
// character's running flow.
int CmdPlayAnime(cCharaBase& chara, cEdCommand& command);
// The stage's background p0 (1-based) shown (p1 0), hidden (1) or toggled (2).
int CmdChangeBackground(cCharaBase& chara, cEdCommand& command);
// Project sound p0, with the command's on-screen rule.
int CmdPlaySe(cCharaBase& chara, cEdCommand& command);
// The stage music p0 with loop flag p1 (cSceneStageData::RequestStageBgm).
int CmdPlayBgm(cCharaBase& chara, cEdCommand& command);
// p0..p4 as one pending arrange operation: an item command's for the hero's
// next item commands, a flow command's for the next command its flow starts.
int CmdArrange(cCharaBase& chara, cEdCommand& command);

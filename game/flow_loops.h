#pragma once
// LOOP expansion. A LOOP command (action type 39, item type 24) repeats the
// commands after it: parameter 0 is the number of times in all, parameter 1
// the number of commands. Flows and item command lists are expanded once,
// when they are built, so that no LOOP is left to run.
#include <cstdint>

#include "base/container.h"

class cEdCommand;

// Caps of one expansion: past them the LOOPs left are removed unexpanded.
constexpr int LOOP_MAX_COMMANDS = 65536;
constexpr int LOOP_MAX_PASSES = 4096;

// Expands the LOOPs of `commands` in place, the first LOOP of the list
// first, so that a LOOP inside a repeated range is copied with it and each
// copy expanded later; a range reaching past the end repeats what exists.
// When the list would grow past LOOP_MAX_COMMANDS, or more than
// LOOP_MAX_PASSES LOOPs are expanded, the remaining LOOPs are removed and a
// report-log line names `owner` (what the list belongs to). Called by
// cCharaBase::BuildFlows for each flow and by the item set-up. Returns the
// commands the expansion made (0 when there was no LOOP), or -1 with the
// list unchanged when that would be more than `limit`.
int64_t ExpandLoops(cVector<cEdCommand>& commands, const char* owner, int64_t limit = INT64_MAX);

#pragma once
// What flow changes may build on a character: a flow change copies the
// flows it carries, each expanded up to the LOOP caps, so an item list that
// repeats such changes (through get-items, or queued while the hero's flows
// step) could build millions of commands in one frame.
#include <cstdint>

#include "base/container.h"
#include "game/flow_loops.h"

class cEdFlow;

// Flows a character may hold; a change past it builds no more flows.
constexpr int CHARA_MAX_FLOWS = 1024;
// Commands the flow changes of one frame may make for one character: every
// command its carried flows expand to, every command copied into the queue,
// every command built into its flows (those moved from the queue are not
// counted again). Each costs a record copy (with its
// move and shot records), so this bounds the frame's time and memory; what
// does not fit is not built, in no later frame either.
constexpr int64_t FLOWCHANGE_MAX_COMMANDS = LOOP_MAX_COMMANDS / 8;

// What one character's flow changes made in the frame it was counted for.
struct FLOWBUDGET {
  int32_t nFrame = -1;
  int64_t nCommands = 0;
  int32_t bTold = 0;  // a cut was noted in this frame
};

// The commands of the flows.
int64_t FlowCommandCount(const cVector<cEdFlow>& flows);

#pragma once
// The list of story save slots that the title's continue and the map menu's
// save show.
#include "base/container.h"
#include "records/save_slots.h"

// `rows` rows of the summaries from `top` in a 320-wide box of the second
// system font at (x, y): a line under each row but the last, the slot
// number and the save date of a used slot.
void DrawSaveSlotList(DDSURFACEDATA* surface, int x, int y, const cVector<cSaveSlotInfo>& summaries, int top,
                      int rows);

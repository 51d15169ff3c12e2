#pragma once
// The summaries of the story save slots that the slot lists show: whether a
// slot holds a save, and when it was saved.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "platform/local_time.h"

struct DDSURFACEDATA;
class cSaveData;

class cSaveSlotInfo {
 public:
  int32_t m_bUsed = 0;
  plat::SYSTEMTIME m_Time;

  // Takes the save time of a record.
  void CopyTimeFrom(const cSaveData& record);
  // "YYYY/MM/DD hh:mm" of the save time with the second system font at
  // (x, y); nothing for an unused slot. Drawn by the front end
  // (frontend/save_slot_list.cpp).
  void DrawDate(DDSURFACEDATA* surface, int x, int y) const;
};

// SAVE_SLOT_COUNT summaries, slot 0 first.
extern cVector<cSaveSlotInfo> SlotSummary;

// The file of slot n: "user_data\story\Story" and n + 1 with at least two
// digits, ".dat" (slot 0 is Story01.dat).
void MakeSlotFileName(std::string& out, int n);

// Each summary from its slot file: used with the file's save time when the
// file reads whole; unused when it is missing, damaged or not a file.
void ScanSaveSlots(cVector<cSaveSlotInfo>& summaries);

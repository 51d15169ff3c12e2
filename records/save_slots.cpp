#include "records/save_slots.h"

#include "base/number_text.h"
#include "records/path_table.h"
#include "records/save_data.h"
#include "records/user_file.h"

void cSaveSlotInfo::CopyTimeFrom(const cSaveData& record) { m_Time = record.m_SaveTime; }

void MakeSlotFileName(std::string& out, int n) {
  std::string number;
  IntToText(number, n + 1, 2, true, false);
  out = std::string(PathTable[41]) + number + ".dat";
}

void ScanSaveSlots(cVector<cSaveSlotInfo>& summaries) {
  summaries.resize(SAVE_SLOT_COUNT);
  std::string path;
  for (int n = 0; n < SAVE_SLOT_COUNT; ++n) {
    cSaveSlotInfo& summary = summaries[n];
    MakeSlotFileName(path, n);
    cSaveData slot;
    summary.m_bUsed = LoadUserRecord(slot, path) == 1 ? 1 : 0;
    summary.m_Time = summary.m_bUsed ? slot.m_SaveTime : plat::SYSTEMTIME();
  }
}

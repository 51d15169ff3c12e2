#pragma once
// The layout of a record class for one data version, built once and shared
// by every record of that class: where each registered block and string lies
// inside the object. RegisterFields states the layout; the cache only spares
// running it for every record, so the bytes read and written are the same.
//
// A layout is trusted once two records of the class at different addresses
// registered the same blocks at the same distances from their own start.
// A class that registers anything else than its own members or the scratch
// values (a list's contents, another global) never gets a layout and simply
// registers on every use, as does a class with one record only.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <typeinfo>
#include <vector>

#include "base/container.h"
#include "records/record.h"

enum RECORDSLOTKIND : int8_t {
  SLOT_MEMBER,         // at nOffset from the record
  SLOT_DISCARD_DWORD,  // the calling thread's DiscardDword
  SLOT_DISCARD_WORD,   // the calling thread's DiscardWord
};

struct RECORDSLOT {
  std::ptrdiff_t nOffset = 0;  // bytes from the cRecord part of the object
  int32_t nCount = 0;
  int8_t cbSize = 0;
  RECORDSLOTKIND nKind = SLOT_MEMBER;
};

struct RECORDLAYOUT {
  const std::type_info* pType = nullptr;  // the class (the most derived one)
  int nVersion = 0;
  std::vector<RECORDSLOT> vFields;
  std::vector<std::ptrdiff_t> vStrings;  // one per registered string, in order
};

// When set, every use of a cached layout registers again and compares; a
// class whose registration depends on anything but the version ends the
// program with a message naming it. The test programs set it at start.
extern std::atomic<bool> bCheckRecordLayouts;

// The trusted layout of `type` at `version`, or null while there is none.
// Any thread; lock-free once the calling thread has asked for it before.
const RECORDLAYOUT* FindRecordLayout(const std::type_info& type, int version);

// Offers what `record` has just registered for `version` (its own tables).
void OfferRecordLayout(const std::type_info& type, int version, const cRecord* record,
                       const cVector<FIELDDESC>& fields, const cVector<STRINGDESC>& strings);

// Whether the tables that `record` registered are the layout, resolved for
// that record (checked mode).
bool TablesMatchLayout(const RECORDLAYOUT& layout, const cRecord* record,
                       const cVector<FIELDDESC>& fields, const cVector<STRINGDESC>& strings);

// Ends the program: the class's registration depends on more than the version.
[[noreturn]] void LayoutDependsOnContent(const std::type_info& type, int version);

// Where a slot's bytes lie for `record` on the calling thread.
inline void* SlotData(cRecord* record, const RECORDSLOT& slot) {
  if (slot.nKind == SLOT_DISCARD_DWORD) return &DiscardDword;
  if (slot.nKind == SLOT_DISCARD_WORD) return &DiscardWord;
  return reinterpret_cast<char*>(record) + slot.nOffset;
}

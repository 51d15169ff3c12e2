#include "records/record_layout.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "records/record.h"

std::atomic<bool> bCheckRecordLayouts{false};

namespace {

// Members lie within this distance of the record; anything farther is
// another object's memory, whatever the two records agree on.
constexpr std::ptrdiff_t kMaxMemberOffset = std::ptrdiff_t{1} << 20;

// What one (class, version) has got so far.
struct LayoutEntry {
  std::atomic<const RECORDLAYOUT*> pTrusted{nullptr};
  std::atomic<bool> bRefused{false};  // registers on every use for good
  std::mutex mutex;                   // guards the first offer
  std::unique_ptr<RECORDLAYOUT> pFirst;
  const void* pFirstRecord = nullptr;
  std::unique_ptr<RECORDLAYOUT> pKept;  // owns the trusted layout
};

using EntryKey = std::pair<const std::type_info*, int>;

// Entries live as long as the process: records in global objects are built
// before main and used until the very end. Reached from a static pointer, so
// never reported as lost.
std::mutex g_entriesMutex;

std::map<EntryKey, LayoutEntry*>& Entries() {
  static auto* entries = new std::map<EntryKey, LayoutEntry*>();
  return *entries;
}

LayoutEntry* EntryLocked(const std::type_info& type, int version) {
  LayoutEntry*& entry = Entries()[EntryKey(&type, version)];
  if (!entry) entry = new LayoutEntry();
  return entry;
}

// A small per-thread memory of the entries asked for, so that the common
// case takes no lock.
struct RecentEntry {
  const std::type_info* pType = nullptr;
  int nVersion = 0;
  LayoutEntry* pEntry = nullptr;
};
constexpr size_t kRecentEntries = 64;
thread_local RecentEntry t_recent[kRecentEntries];

LayoutEntry* Entry(const std::type_info& type, int version) {
  const size_t hash = (reinterpret_cast<uintptr_t>(&type) >> 4) ^ static_cast<size_t>(version) * 31;
  RecentEntry& slot = t_recent[hash % kRecentEntries];
  if (slot.pType == &type && slot.nVersion == version) return slot.pEntry;
  LayoutEntry* entry;
  {
    std::lock_guard<std::mutex> lock(g_entriesMutex);
    entry = EntryLocked(type, version);
  }
  slot = RecentEntry{&type, version, entry};
  return entry;
}

std::unique_ptr<RECORDLAYOUT> Describe(const std::type_info& type, int version,
                                       const cRecord* record, const cVector<FIELDDESC>& fields,
                                       const cVector<STRINGDESC>& strings) {
  auto layout = std::make_unique<RECORDLAYOUT>();
  layout->pType = &type;
  layout->nVersion = version;
  const char* base = reinterpret_cast<const char*>(record);
  for (const FIELDDESC& d : fields) {
    RECORDSLOT slot;
    slot.nCount = d.nCount;
    slot.cbSize = d.cbSize;
    if (d.lpData == &DiscardDword) {
      slot.nKind = SLOT_DISCARD_DWORD;
    } else if (d.lpData == &DiscardWord) {
      slot.nKind = SLOT_DISCARD_WORD;
    } else {
      slot.nOffset = static_cast<const char*>(d.lpData) - base;
    }
    layout->vFields.push_back(slot);
  }
  for (const STRINGDESC& d : strings)
    layout->vStrings.push_back(reinterpret_cast<const char*>(d.lpString) - base);
  return layout;
}

bool SameShape(const RECORDLAYOUT& a, const RECORDLAYOUT& b) {
  if (a.vFields.size() != b.vFields.size() || a.vStrings.size() != b.vStrings.size()) return false;
  for (size_t i = 0; i < a.vFields.size(); ++i) {
    const RECORDSLOT& x = a.vFields[i];
    const RECORDSLOT& y = b.vFields[i];
    if (x.nCount != y.nCount || x.cbSize != y.cbSize || x.nKind != y.nKind) return false;
  }
  return true;
}

bool Inside(std::ptrdiff_t offset) { return offset > -kMaxMemberOffset && offset < kMaxMemberOffset; }

// Same shape, and every member at the same distance from its record, near it.
bool SameMembers(const RECORDLAYOUT& a, const RECORDLAYOUT& b) {
  for (size_t i = 0; i < a.vFields.size(); ++i) {
    const RECORDSLOT& x = a.vFields[i];
    if (x.nKind == SLOT_MEMBER && (x.nOffset != b.vFields[i].nOffset || !Inside(x.nOffset)))
      return false;
  }
  for (size_t j = 0; j < a.vStrings.size(); ++j)
    if (a.vStrings[j] != b.vStrings[j] || !Inside(a.vStrings[j])) return false;
  return true;
}

}  // namespace

const RECORDLAYOUT* FindRecordLayout(const std::type_info& type, int version) {
  return Entry(type, version)->pTrusted.load(std::memory_order_acquire);
}

void OfferRecordLayout(const std::type_info& type, int version, const cRecord* record,
                       const cVector<FIELDDESC>& fields, const cVector<STRINGDESC>& strings) {
  LayoutEntry* entry = Entry(type, version);
  if (entry->bRefused.load(std::memory_order_relaxed) ||
      entry->pTrusted.load(std::memory_order_acquire))
    return;
  std::unique_ptr<RECORDLAYOUT> offered = Describe(type, version, record, fields, strings);
  std::lock_guard<std::mutex> lock(entry->mutex);
  if (entry->pTrusted.load(std::memory_order_relaxed) || entry->bRefused.load()) return;
  if (!entry->pFirst) {
    entry->pFirst = std::move(offered);
    entry->pFirstRecord = record;
    return;
  }
  if (entry->pFirstRecord == record) return;  // the same record again proves nothing
  if (!SameShape(*entry->pFirst, *offered)) {
    if (bCheckRecordLayouts.load(std::memory_order_relaxed)) LayoutDependsOnContent(type, version);
    entry->bRefused.store(true);
    return;
  }
  if (!SameMembers(*entry->pFirst, *offered)) {
    entry->bRefused.store(true);
    return;
  }
  entry->pKept = std::move(entry->pFirst);
  entry->pTrusted.store(entry->pKept.get(), std::memory_order_release);
}

bool TablesMatchLayout(const RECORDLAYOUT& layout, const cRecord* record,
                       const cVector<FIELDDESC>& fields, const cVector<STRINGDESC>& strings) {
  if (fields.size() != layout.vFields.size() || strings.size() != layout.vStrings.size())
    return false;
  cRecord* self = const_cast<cRecord*>(record);
  for (size_t i = 0; i < fields.size(); ++i) {
    const RECORDSLOT& slot = layout.vFields[i];
    const FIELDDESC& d = fields[i];
    if (d.lpData != SlotData(self, slot) || d.nCount != slot.nCount || d.cbSize != slot.cbSize)
      return false;
  }
  const char* base = reinterpret_cast<const char*>(record);
  for (size_t j = 0; j < strings.size(); ++j)
    if (reinterpret_cast<const char*>(strings[j].lpString) != base + layout.vStrings[j]) return false;
  return true;
}

void LayoutDependsOnContent(const std::type_info& type, int version) {
  std::fprintf(stderr,
               "record layout: class %s registers other members for version %d than other "
               "records of its class did; its RegisterFields must depend on the version alone\n",
               type.name(), version);
  std::abort();
}

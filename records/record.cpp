#include "records/record.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "records/record_layout.h"

constinit thread_local int32_t DiscardDword = 0;
constinit thread_local int16_t DiscardWord = 0;

namespace {
size_t BlockSize(int32_t count, int8_t size) {
  if (size <= 0 || count <= 0) return 0;
  return static_cast<size_t>(size) * static_cast<size_t>(count);
}
size_t BlockSize(const FIELDDESC& d) { return BlockSize(d.nCount, d.cbSize); }
}  // namespace

cRecord& cRecord::operator=(const cRecord& source) {
  if (this != &source) Register(CurVersion);
  return *this;
}

void cRecord::Register(int version) {
  const std::type_info& type = typeid(*this);
  const RECORDLAYOUT* layout = m_pLayout;
  if (!layout || layout->nVersion != version || *layout->pType != type)
    layout = FindRecordLayout(type, version);
  if (layout) {
    if (bCheckRecordLayouts.load(std::memory_order_relaxed)) {
      RegisterFields(version);
      if (!TablesMatchLayout(*layout, this, m_vFields, m_vStrings))
        LayoutDependsOnContent(type, version);
    }
    m_pLayout = layout;
    return;
  }
  RegisterFields(version);
  m_pLayout = nullptr;
  OfferRecordLayout(type, version, this, m_vFields, m_vStrings);
}

void cRecord::MaterialiseTables() const {
  const RECORDLAYOUT* layout = m_pLayout;
  if (!layout) return;
  cRecord* self = const_cast<cRecord*>(this);
  m_vFields.clear();
  for (const RECORDSLOT& slot : layout->vFields)
    m_vFields.push_back(FIELDDESC{self, SlotData(self, slot), slot.nCount, slot.cbSize});
  m_vStrings.clear();
  for (std::ptrdiff_t offset : layout->vStrings)
    m_vStrings.push_back(
        STRINGDESC{self, reinterpret_cast<std::string*>(reinterpret_cast<char*>(self) + offset)});
}

const cVector<FIELDDESC>& cRecord::Fields() const {
  MaterialiseTables();
  return m_vFields;
}

const cVector<STRINGDESC>& cRecord::Strings() const {
  MaterialiseTables();
  return m_vStrings;
}

inline size_t cRecord::FieldCount() const {
  return m_pLayout ? m_pLayout->vFields.size() : m_vFields.size();
}

inline void* cRecord::FieldData(size_t i, size_t* bytes) {
  if (const RECORDLAYOUT* layout = m_pLayout) {
    const RECORDSLOT& slot = layout->vFields[i];
    *bytes = BlockSize(slot.nCount, slot.cbSize);
    return SlotData(this, slot);
  }
  const FIELDDESC& d = m_vFields[i];
  *bytes = BlockSize(d);
  return d.lpData;
}

inline size_t cRecord::StringCount() const {
  return m_pLayout ? m_pLayout->vStrings.size() : m_vStrings.size();
}

inline std::string* cRecord::StringAt(size_t i) {
  if (const RECORDLAYOUT* layout = m_pLayout)
    return reinterpret_cast<std::string*>(reinterpret_cast<char*>(this) + layout->vStrings[i]);
  return m_vStrings[i].lpString;
}

// Called only from RegisterFields: the tables become this record's own again.
void cRecord::ClearFields() {
  m_pLayout = nullptr;
  m_vFields.clear();
  m_vStrings.clear();
}

void cRecord::AddBlock(void* p, int count, int size) {
  m_pLayout = nullptr;
  FIELDDESC d;
  d.lpOwner = this;
  d.lpData = p;
  d.nCount = count;
  d.cbSize = static_cast<int8_t>(size);
  m_vFields.push_back(d);
}

void cRecord::AddString(std::string* p, int count) {
  m_pLayout = nullptr;
  for (int i = 0; i < count; ++i) m_vStrings.push_back(STRINGDESC{this, p});
}

void cRecord::Clear() {
  Register(CurVersion);
  size_t size = 0;
  for (size_t i = 0, n = FieldCount(); i < n; ++i) {
    void* data = FieldData(i, &size);
    if (size) std::memset(data, 0, size);
  }
  for (size_t j = 0, m = StringCount(); j < m; ++j) StringAt(j)->clear();
}

int cRecord::CopyFrom(const cRecord& source) {
  if (typeid(*this) != typeid(source)) return 0;
  if (this == &source) return 1;
  cRecord& src = const_cast<cRecord&>(source);  // registering only rebuilds its tables
  Register(CurVersion);
  src.Register(CurVersion);
  for (size_t i = 0, n = FieldCount(); i < n; ++i) {
    if (i >= src.FieldCount()) {
      src.Fields().At(static_cast<int>(i));  // a layout that depends on the content: report, copy no more
      break;
    }
    size_t toSize = 0, fromSize = 0;
    void* to = FieldData(i, &toSize);
    const void* from = src.FieldData(i, &fromSize);
    // Never read past the source's own block, whatever this one's size.
    std::memmove(to, from, toSize < fromSize ? toSize : fromSize);
  }
  for (size_t j = 0, m = StringCount(); j < m; ++j) {
    if (j >= src.StringCount()) {
      src.Strings().At(static_cast<int>(j));
      break;
    }
    *StringAt(j) = *src.StringAt(j);
  }
  return 1;
}

void cRecord::StripRegisteredStrings() {
  for (size_t j = 0, m = StringCount(); j < m; ++j) {
    std::string& s = *StringAt(j);
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  }
}

void cRecord::StripCR() {
  Register(CurVersion);
  StripRegisteredStrings();
}

// Strings of the segment. A length word of 0 or 1 is the empty string; a
// text is the bytes before the first NUL among the len bytes. A length that
// the rest of the file cannot hold comes from a damaged or cut file: the read
// ends there, as at the end of the file, and the string keeps its value.
void cRecord::LoadStrings(cDataReader& r) {
  uint32_t m = r.ReadU32();
  if (r.Strict() && m != StringCount()) {
    r.End();
    return;
  }
  for (uint32_t j = 0; j < m && !r.Ended(); ++j) {
    if (j >= StringCount()) {
      // More strings than this layout has: a file of another layout. Report
      // it once and read nothing more of the file.
      Strings().At(static_cast<int>(j));
      r.End();
      return;
    }
    if (!r.ReadString(*StringAt(j))) return;
  }
}

// The segment: n blocks, then the strings. The tables come from the class and
// never from the file, so a count n or m beyond them only reports (the
// checked access: "err V[...]" and the close request) and ends the read; a
// strict read ends quietly on any count other than the registration's.
void cRecord::Load(cDataReader& r) {
  const int version = r.Version();
  FileVersion = version;
  Register(version);
  uint32_t n = r.ReadU32();
  const size_t fields = FieldCount();
  if (r.Strict() && n != fields) r.End();
  for (uint32_t i = 0; i < n && !r.Ended(); ++i) {
    if (i >= fields) {
      Fields().At(static_cast<int>(i));
      r.End();
      break;
    }
    size_t size = 0;
    void* data = FieldData(i, &size);
    r.ReadBytes(data, size);
  }
  LoadStrings(r);
  if (bStripCR) StripRegisteredStrings();
  if (version != CurVersion) Register(CurVersion);
}

void cRecord::SaveStrings(cDataWriter& w) {
  const size_t m = StringCount();
  w.WriteU32(static_cast<uint32_t>(m));
  for (size_t j = 0; j < m; ++j) w.WriteString(*StringAt(j));
}

void cRecord::Save(cDataWriter& w) {
  Register(CurVersion);
  const size_t n = FieldCount();
  w.WriteU32(static_cast<uint32_t>(n));
  size_t size = 0;
  for (size_t i = 0; i < n; ++i) {
    const void* data = FieldData(i, &size);
    w.WriteBytes(data, size);
  }
  SaveStrings(w);
}

int cRecord::LoadFromFile(const std::string& path) {
  cDataReader r;
  if (!r.Open(path)) return 0;
  // A file too short for its version word reads nothing and runs no upgrades.
  if (r.HasVersion()) Load(r);
  return 1;
}

int cRecord::SaveToFile(const std::string& path) {
  cDataWriter w;
  Save(w);
  return w.Commit(path) ? 1 : 0;
}

void LoadIntList(cVector<int32_t>& list, cDataReader& r) {
  uint32_t n = r.ReadCount(4);
  list.resize(n, 0);
  for (uint32_t i = 0; i < n; ++i) list[i] = r.ReadI32();
}

void SaveIntList(const cVector<int32_t>& list, cDataWriter& w) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  for (int32_t v : list) w.WriteI32(v);
}

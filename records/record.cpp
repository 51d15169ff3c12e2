#include "records/record.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

int32_t DiscardDword = 0;
int16_t DiscardWord = 0;

namespace {
size_t BlockSize(const FIELDDESC& d) {
  if (d.cbSize <= 0 || d.nCount <= 0) return 0;
  return static_cast<size_t>(d.cbSize) * static_cast<size_t>(d.nCount);
}
}  // namespace

cRecord& cRecord::operator=(const cRecord& source) {
  if (this != &source) Register(CurVersion);
  return *this;
}

void cRecord::ClearFields() {
  m_vFields.clear();
  m_vStrings.clear();
}

void cRecord::AddBlock(void* p, int count, int size) {
  FIELDDESC d;
  d.lpOwner = this;
  d.lpData = p;
  d.nCount = count;
  d.cbSize = static_cast<int8_t>(size);
  m_vFields.push_back(d);
}

void cRecord::AddString(std::string* p, int count) {
  for (int i = 0; i < count; ++i) m_vStrings.push_back(STRINGDESC{this, p});
}

void cRecord::Clear() {
  Register(CurVersion);
  for (const FIELDDESC& d : m_vFields)
    if (size_t size = BlockSize(d)) std::memset(d.lpData, 0, size);
  for (const STRINGDESC& d : m_vStrings) d.lpString->clear();
}

int cRecord::CopyFrom(const cRecord& source) {
  if (typeid(*this) != typeid(source)) return 0;
  if (this == &source) return 1;
  cRecord& src = const_cast<cRecord&>(source);  // registering only rebuilds its tables
  Register(CurVersion);
  src.Register(CurVersion);
  for (int i = 0; i < m_vFields.Size(); ++i) {
    if (i >= src.m_vFields.Size()) {
      src.m_vFields.At(i);  // a layout that depends on the content: report, copy no more
      break;
    }
    const FIELDDESC& to = m_vFields[i];
    const FIELDDESC& from = src.m_vFields[i];
    // Never read past the source's own block, whatever this one's size.
    size_t size = BlockSize(to) < BlockSize(from) ? BlockSize(to) : BlockSize(from);
    std::memmove(to.lpData, from.lpData, size);
  }
  for (int j = 0; j < m_vStrings.Size(); ++j) {
    if (j >= src.m_vStrings.Size()) {
      src.m_vStrings.At(j);
      break;
    }
    *m_vStrings[j].lpString = *src.m_vStrings[j].lpString;
  }
  return 1;
}

void cRecord::StripRegisteredStrings() {
  for (const STRINGDESC& d : m_vStrings) {
    std::string& s = *d.lpString;
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
  for (uint32_t j = 0; j < m && !r.Ended(); ++j) {
    if (j >= static_cast<uint32_t>(m_vStrings.Size())) {
      // More strings than this layout has: a file of another layout. Report
      // it once and read nothing more of the file.
      m_vStrings.At(static_cast<int>(j));
      r.End();
      return;
    }
    if (!r.ReadString(*m_vStrings[j].lpString)) return;
  }
}

// The segment: n blocks, then the strings. The tables come from the class and
// never from the file, so a count n or m beyond them only reports (the
// checked access: "err V[...]" and the close request) and ends the read.
void cRecord::Load(cDataReader& r) {
  const int version = r.Version();
  FileVersion = version;
  Register(version);
  uint32_t n = r.ReadU32();
  for (uint32_t i = 0; i < n && !r.Ended(); ++i) {
    if (i >= static_cast<uint32_t>(m_vFields.Size())) {
      m_vFields.At(static_cast<int>(i));
      r.End();
      break;
    }
    const FIELDDESC& d = m_vFields[i];
    r.ReadBytes(d.lpData, BlockSize(d));
  }
  LoadStrings(r);
  if (bStripCR) StripRegisteredStrings();
  if (version != CurVersion) Register(CurVersion);
}

void cRecord::SaveStrings(cDataWriter& w) {
  w.WriteU32(static_cast<uint32_t>(m_vStrings.size()));
  for (const STRINGDESC& d : m_vStrings) w.WriteString(*d.lpString);
}

void cRecord::Save(cDataWriter& w) {
  Register(CurVersion);
  w.WriteU32(static_cast<uint32_t>(m_vFields.size()));
  for (const FIELDDESC& d : m_vFields)
    w.WriteBytes(d.lpData, BlockSize(d));
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

#include "records/record.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

int32_t DiscardDword = 0;
int16_t DiscardWord = 0;

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
    std::memset(d.lpData, 0, static_cast<size_t>(d.cbSize) * static_cast<size_t>(d.nCount));
  for (const STRINGDESC& d : m_vStrings) d.lpString->clear();
}

int cRecord::CopyFrom(const cRecord& source) {
  if (typeid(*this) != typeid(source)) return 0;
  if (this == &source) return 1;
  cRecord& src = const_cast<cRecord&>(source);  // registering only rebuilds its tables
  Register(CurVersion);
  src.Register(CurVersion);
  for (int i = 0; i < m_vFields.Size(); ++i) {
    const FIELDDESC& to = m_vFields.At(i);
    const FIELDDESC& from = src.m_vFields.At(i);
    std::memmove(to.lpData, from.lpData, static_cast<size_t>(to.cbSize) * static_cast<size_t>(to.nCount));
  }
  for (int j = 0; j < m_vStrings.Size(); ++j) *m_vStrings.At(j).lpString = *src.m_vStrings.At(j).lpString;
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
    std::string* s = m_vStrings.At(static_cast<int>(j)).lpString;
    uint32_t len = r.ReadU32();
    if (r.Ended()) return;  // the file ends inside the length word
    if (len <= 1) {
      s->clear();
      continue;
    }
    if (len > r.Remaining()) {
      r.End();  // a length the file cannot hold: damaged, end as a short file
      return;
    }
    std::string bytes(len, '\0');
    r.ReadBytes(bytes.data(), len);
    s->assign(bytes.c_str());
  }
}

void cRecord::Load(cDataReader& r) {
  const int version = r.Version();
  Register(version);
  uint32_t n = r.ReadU32();
  for (uint32_t i = 0; i < n && !r.Ended(); ++i) {
    if (i >= static_cast<uint32_t>(m_vFields.Size())) {
      m_vFields.At(static_cast<int>(i));  // reports and asks to close
      r.End();
      break;
    }
    const FIELDDESC& d = m_vFields.At(static_cast<int>(i));
    r.ReadBytes(d.lpData, static_cast<size_t>(d.cbSize) * static_cast<size_t>(d.nCount));
  }
  LoadStrings(r);
  if (bStripCR) StripRegisteredStrings();
  if (version != CurVersion) Register(CurVersion);
}

void cRecord::SaveStrings(cDataWriter& w) {
  w.WriteU32(static_cast<uint32_t>(m_vStrings.size()));
  for (const STRINGDESC& d : m_vStrings) {
    const char* text = d.lpString->c_str();
    size_t len = std::strlen(text);
    w.WriteU32(static_cast<uint32_t>(len + 1));
    if (len) w.WriteBytes(text, len + 1);
  }
}

void cRecord::Save(cDataWriter& w) {
  Register(CurVersion);
  w.WriteU32(static_cast<uint32_t>(m_vFields.size()));
  for (const FIELDDESC& d : m_vFields)
    w.WriteBytes(d.lpData, static_cast<size_t>(d.cbSize) * static_cast<size_t>(d.nCount));
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

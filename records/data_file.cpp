#include "records/data_file.h"

#include <cstring>

#include "platform/host_path.h"

int CurVersion = DATA_VERSION;
constinit thread_local int FileVersion = DATA_VERSION;
int bStripCR = 0;

cDataReader::cDataReader(std::string bytes) : m_bytes(std::move(bytes)) { TakeVersion(); }

bool cDataReader::Open(const std::string& path) {
  std::string bytes;
  bool opened = plat::ReadWholeFile(path.empty() ? "err" : path, bytes);
  m_bytes = opened ? std::move(bytes) : std::string();
  TakeVersion();
  return opened;
}

void cDataReader::TakeVersion() {
  m_pos = 0;
  m_ended = false;
  if (m_bytes.size() < 4) {
    m_version = CurVersion;
    m_hasVersion = false;
    m_ended = true;
    FileVersion = m_version;
    return;
  }
  uint32_t v = ReadU32();
  m_version = v > static_cast<uint32_t>(CurVersion) ? CurVersion : static_cast<int>(v);
  m_hasVersion = true;
  FileVersion = m_version;
}

size_t cDataReader::ReadBytes(void* out, size_t size) {
  size_t n = size < Remaining() ? size : Remaining();
  if (n) std::memcpy(out, m_bytes.data() + m_pos, n);
  m_pos += n;
  if (n < size) m_ended = true;
  return n;
}

uint32_t cDataReader::ReadU32() {
  unsigned char b[4];
  if (ReadBytes(b, 4) < 4) return 0;
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

int16_t cDataReader::ReadI16() {
  unsigned char b[2];
  if (ReadBytes(b, 2) < 2) return 0;
  return static_cast<int16_t>(b[0] | (b[1] << 8));
}

uint8_t cDataReader::ReadU8() {
  unsigned char b = 0;
  ReadBytes(&b, 1);
  return b;
}

bool cDataReader::ReadString(std::string& out) {
  uint32_t len = ReadU32();
  if (m_ended) return false;
  if (len <= 1) {
    out.clear();
    return true;
  }
  if (len > Remaining()) {
    End();  // a length the file cannot hold: damaged, end as a short file
    return false;
  }
  std::string bytes(len, '\0');
  ReadBytes(bytes.data(), len);
  out.assign(bytes.c_str());
  return true;
}

uint32_t cDataReader::ReadCount(size_t minBytesEach) {
  uint32_t count = ReadU32();
  if (minBytesEach == 0) minBytesEach = 1;
  if (count > Remaining() / minBytesEach) {
    End();
    return 0;
  }
  return count;
}

cDataWriter::cDataWriter() { WriteU32(static_cast<uint32_t>(CurVersion)); }

void cDataWriter::WriteU32(uint32_t v) {
  unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                        static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
  WriteBytes(b, 4);
}

void cDataWriter::WriteI16(int16_t v) {
  auto u = static_cast<uint16_t>(v);
  unsigned char b[2] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8)};
  WriteBytes(b, 2);
}

void cDataWriter::WriteString(const std::string& s) {
  const char* text = s.c_str();
  size_t len = std::strlen(text);
  WriteU32(static_cast<uint32_t>(len + 1));
  if (len) WriteBytes(text, len + 1);
}

bool cDataWriter::Commit(const std::string& path) const {
  return plat::WriteFileAtomic(path, m_bytes.data(), m_bytes.size());
}

#pragma once
// Bounded reading and atomic writing of the record files. Every project and
// user file is a u32 data version followed by record segments, little-endian.
//
// A reader holds the whole file and never reads past it. A read that runs
// past the end gets what is there (missing count and length words read as 0)
// and ends the file. A count or a string length that cannot fit in the bytes
// that are left ends the read the same way, as if the file stopped there:
// such a number comes from a damaged file, and nothing may be allocated from
// it. Once a read has ended, every later read yields nothing, so the members
// that the load did not get to keep their values and later lists stay empty.
#include <cstddef>
#include <cstdint>
#include <string>

// The data version of this program, written at the head of every file.
extern int CurVersion;
// The version of the file being read on the calling thread. Each reader
// carries its own version; this mirrors it for the class upgrades: it is set
// when a reader opens and again when a record starts loading from it, so a
// failed or short read never leaves another file's version behind. Each
// thread has its own, so a stage read on the loader thread and a file read on
// the main thread at the same time never see each other's version.
// (constinit: a plain thread-local read, without an initialisation call.)
extern constinit thread_local int FileVersion;
// When non-zero, carriage returns are removed from every loaded string.
extern int bStripCR;

constexpr int DATA_VERSION = 734;

class cDataReader {
 public:
  cDataReader() = default;
  // Reads from bytes that start with the version word.
  explicit cDataReader(std::string bytes);

  // Opens a file and reads its version word (a version above CurVersion reads
  // as CurVersion). False when the file does not open. A file shorter than
  // its version word opens without a version (HasVersion) and reads nothing.
  // An empty path is read as "err".
  bool Open(const std::string& path);

  // The file's version; CurVersion when the file has no version word (a read
  // that gets nothing has nothing to upgrade).
  int Version() const { return m_version; }
  bool HasVersion() const { return m_hasVersion; }
  // True once the end was reached or the read was ended.
  bool Ended() const { return m_ended; }
  size_t Remaining() const { return m_ended ? 0 : m_bytes.size() - m_pos; }
  // Bytes read so far, the version word included.
  size_t Offset() const { return m_pos; }
  // Stops the read: every later read yields nothing.
  void End() { m_ended = true; }

  // A strict read (the player's own files): a record segment whose counts
  // differ from the record's registration for the file's version is damage.
  // It ends the read quietly, as a short file does, so the caller that finds
  // the read ended can drop what it read.
  void SetStrict(bool strict) { m_strict = strict; }
  bool Strict() const { return m_strict; }

  // Copies up to size bytes; a block the file holds only in part receives the
  // bytes that are there. Returns the count copied.
  size_t ReadBytes(void* out, size_t size);
  uint32_t ReadU32();  // 0 when not held in full
  int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
  int16_t ReadI16();
  uint8_t ReadU8();
  // Reads one string of the record format: u32 len = bytes + 1, then (unless
  // len is 0 or 1) the bytes and their NUL; the text ends at its first NUL.
  // False, with `out` unchanged, when the file ends inside it or its length
  // cannot fit in the rest of the file (the read then ends).
  bool ReadString(std::string& out);
  // Reads a u32 count of elements that take at least minBytesEach bytes each;
  // a count that cannot fit in the rest of the file ends the read and gives 0.
  uint32_t ReadCount(size_t minBytesEach);

 private:
  void TakeVersion();
  std::string m_bytes;
  size_t m_pos = 0;
  int m_version = CurVersion;
  bool m_hasVersion = false;
  bool m_ended = false;
  bool m_strict = false;
};

class cDataWriter {
 public:
  // Starts a file with the version word CurVersion.
  cDataWriter();
  void WriteBytes(const void* data, size_t size) { m_bytes.append(static_cast<const char*>(data), size); }
  void WriteU32(uint32_t v);
  void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
  void WriteI16(int16_t v);
  void WriteU8(uint8_t v) { m_bytes.push_back(static_cast<char>(v)); }
  // One string of the record format: the text up to its first NUL.
  void WriteString(const std::string& s);
  const std::string& Bytes() const { return m_bytes; }
  // Replaces the file atomically; false (and the old file intact) on failure.
  bool Commit(const std::string& path) const;

 private:
  std::string m_bytes;
};

#pragma once
// The base of every versioned record of the project and of the user data.
//
// A record class states its file layout once, in RegisterFields(version):
// one registration call per member, in file order, gated by the versions that
// stored it. The generic reader, writer, Clear and CopyFrom walk the tables
// that this builds. Every operation registers the record's own members first,
// so a table always names members of the record that owns it: copies start
// with empty tables and assignment re-registers the target.
//
// Registering is the hot part of every load and save, so each class's layout
// for a version is built once and shared by its records (record_layout.h);
// RegisterFields then runs only for the first records of a class.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "records/data_file.h"

class cRecord;

// One registered block of numbers: nCount elements of cbSize bytes at lpData.
struct FIELDDESC {
  cRecord* lpOwner = nullptr;
  void* lpData = nullptr;
  int32_t nCount = 0;
  int8_t cbSize = 0;
};

// One registered string.
struct STRINGDESC {
  cRecord* lpOwner = nullptr;
  std::string* lpString = nullptr;
};

// Scratch targets for members that older versions stored and this one
// dropped; one pair per thread, so that loads on two threads never share them.
extern constinit thread_local int32_t DiscardDword;
extern constinit thread_local int16_t DiscardWord;

struct RECORDLAYOUT;

class cRecord {
 public:
  cRecord() = default;
  // A copy takes the members (in the derived class) but not the tables: they
  // would name the source's members. They are rebuilt on first use (the
  // class's shared layout names no record and is kept).
  cRecord(const cRecord& source) : m_pLayout(source.m_pLayout) {}
  // The same for a move, which lets a growing list move its records.
  cRecord(cRecord&& source) noexcept : m_pLayout(source.m_pLayout) {}
  cRecord& operator=(const cRecord&);
  virtual ~cRecord() = default;

  // Registers the members stored by files of `version` (always overridden).
  virtual void RegisterFields(int version) { (void)version; }
  // Reads the record segment for the reader's version and registers for
  // CurVersion again. An override calls it first, then reads its tail and
  // runs its upgrades, testing r.Version() (FileVersion holds the same value
  // while a load runs). Members the file does not store keep their values.
  virtual void Load(cDataReader& r);
  // Writes the record segment, then the class's tail.
  virtual void Save(cDataWriter& w);

  // Registers for CurVersion and zeroes every registered block and string.
  void Clear();
  // Copies the registered content of a record of the same class; 0 (and
  // nothing copied) when the source is of another class.
  int CopyFrom(const cRecord& source);
  // Removes every carriage return from every registered string.
  void StripCR();

  // 1 when the file opened (a file too short for its version word reads
  // nothing); 0 when it did not. Loads into this record in place.
  int LoadFromFile(const std::string& path);
  // 1 when the whole file was written; on failure 0 and the old file stays.
  int SaveToFile(const std::string& path);

  // The string segment alone (for classes that split their segment).
  void LoadStrings(cDataReader& r);
  void SaveStrings(cDataWriter& w);

  // The tables as last registered, each descriptor naming this record's own
  // member (for tests and tools; the operations above do not need them).
  const cVector<FIELDDESC>& Fields() const;
  const cVector<STRINGDESC>& Strings() const;

 protected:
  void ClearFields();
  void RegisterNoFields() { ClearFields(); }
  void AddDword(int32_t* p, int count = 1) { AddBlock(p, count, 4); }
  void AddDword(uint32_t* p, int count = 1) { AddBlock(p, count, 4); }
  void AddWord(int16_t* p, int count = 1) { AddBlock(p, count, 2); }
  void AddWord(uint16_t* p, int count = 1) { AddBlock(p, count, 2); }
  void AddByte(uint8_t* p, int count = 1) { AddBlock(p, count, 1); }
  void AddByte(int8_t* p, int count = 1) { AddBlock(p, count, 1); }
  void AddByte(char* p, int count = 1) { AddBlock(p, count, 1); }
  void AddQword(double* p, int count = 1) { AddBlock(p, count, 8); }
  void AddString(std::string* p, int count = 1);

  // Registers for a version: the class's shared layout for it, or its
  // RegisterFields while there is none.
  void Register(int version);

 private:
  void AddBlock(void* p, int count, int size);
  void StripRegisteredStrings();
  // The current tables, from the shared layout or from this record's own.
  size_t FieldCount() const;
  void* FieldData(size_t i, size_t* bytes);
  size_t StringCount() const;
  std::string* StringAt(size_t i);
  // Fills the tables from the shared layout when that is in use.
  void MaterialiseTables() const;

  mutable cVector<FIELDDESC> m_vFields;
  mutable cVector<STRINGDESC> m_vStrings;
  // The class's layout for the version last registered; null when the
  // tables above are the current ones.
  const RECORDLAYOUT* m_pLayout = nullptr;
};

// Reads a list segment: a u32 count, then each element's Load. The vector
// is emptied first; each element starts as a copy of `prototype` (a default
// element of the class) and loads from its own segment. Each element takes at
// least its two count words, so a count that the rest of the file cannot hold
// is damage: the read ends there and the list stays empty. In a cut file the
// element that runs into the end keeps what it read (or, with
// bKeepCutElement false, is dropped) and no element is made after it, so the
// memory a list takes follows the bytes the file really holds.
template <class T>
void LoadRecordList(cVector<T>& list, cDataReader& r, const T& prototype,
                    bool bKeepCutElement = true) {
  uint32_t count = r.ReadCount(8);
  list.clear();
  // Room for the count up front, but never more than a megabyte's worth on
  // the word of a file that may yet end early.
  constexpr size_t kMaxReserve = (size_t{1} << 20) / sizeof(T) + 1;
  list.reserve(count < kMaxReserve ? count : kMaxReserve);
  for (uint32_t i = 0; i < count; ++i) {
    list.push_back(prototype);
    list.back().Load(r);
    if (r.Ended()) {
      if (!bKeepCutElement) list.pop_back();
      return;
    }
  }
}

template <class T>
void LoadRecordList(cVector<T>& list, cDataReader& r) {
  LoadRecordList(list, r, T());
}

// The same, keeping only the elements that the file holds whole.
template <class T>
void LoadWholeRecordList(cVector<T>& list, cDataReader& r) {
  LoadRecordList(list, r, T(), false);
}

// Writes a list segment: the u32 count, then each element's Save.
template <class T>
void SaveRecordList(cVector<T>& list, cDataWriter& w) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  for (T& element : list) element.Save(w);
}

// A list of numbers: a u32 count, then the int32 values. A count that the
// rest of the file cannot hold ends the read and leaves the list empty.
void LoadIntList(cVector<int32_t>& list, cDataReader& r);
void SaveIntList(const cVector<int32_t>& list, cDataWriter& w);

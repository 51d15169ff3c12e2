// The layout a record class shares between its records: it must give every
// record its own members, fall back to registering where the members are not
// the record's own, and (in the checked mode the tests run in) stop a class
// whose registration depends on more than the version.
#include <gtest/gtest.h>

#include <string>

#include "record_test_env.h"
#include "records/record.h"
#include "records/record_layout.h"

using namespace std::string_literals;

namespace {

// Registers the contents of its own list: pointers that differ per record
// and per allocation, never a shareable layout.
class cListContents : public cRecord {
 public:
  cListContents() : m_vValues(2, 0) { Clear(); }
  void RegisterFields(int) override {
    ClearFields();
    AddDword(m_vValues.data(), 2);
    AddString(&m_strName);
  }
  cVector<int32_t> m_vValues;
  std::string m_strName;
};

// Registers one member more while its flag is set: a layout that depends on
// the record's content.
class cContentGated : public cRecord {
 public:
  cContentGated() { Clear(); }
  void RegisterFields(int) override {
    ClearFields();
    AddDword(&m_bExtra);
    if (m_bExtra) AddDword(&m_nExtra);
  }
  int32_t m_bExtra = 0;
  int32_t m_nExtra = 0;
};

std::string File(int32_t a, int32_t b, const std::string& name) {
  std::string bytes = "\xDE\x02\x00\x00" "\x01\x00\x00\x00"s;  // version 734, n = 1
  bytes.append(reinterpret_cast<const char*>(&a), 4);
  bytes.append(reinterpret_cast<const char*>(&b), 4);
  bytes += "\x01\x00\x00\x00"s;  // m = 1
  const uint32_t len = static_cast<uint32_t>(name.size() + 1);
  bytes.append(reinterpret_cast<const char*>(&len), 4);
  return bytes + name + '\0';
}

class RecordLayout : public RecordTest {};

}  // namespace

TEST_F(RecordLayout, RecordsWhoseMembersLieOutsideThemRegisterEachTime) {
  // Many records, loaded one after another, each into its own list.
  cVector<cListContents> records(6);
  for (int i = 0; i < records.Size(); ++i) {
    cDataReader r(File(10 * i, 10 * i + 1, "r" + std::to_string(i)));
    records[i].Load(r);
  }
  for (int i = 0; i < records.Size(); ++i) {
    EXPECT_EQ(records[i].m_vValues, (cVector<int32_t>{10 * i, 10 * i + 1})) << i;
    EXPECT_EQ(records[i].m_strName, "r" + std::to_string(i));
    cDataWriter w;
    records[i].Save(w);
    EXPECT_EQ(w.Bytes(), File(10 * i, 10 * i + 1, "r" + std::to_string(i))) << i;
  }
  // A list that moved to other memory is still the one registered.
  records[2].m_vValues.reserve(100);
  records[2].Clear();
  EXPECT_EQ(records[2].m_vValues, (cVector<int32_t>{0, 0}));
  EXPECT_EQ(records[3].m_vValues, (cVector<int32_t>{30, 31}));
}

TEST_F(RecordLayout, ARegistrationThatDependsOnTheContentStopsTheProgram) {
  ASSERT_TRUE(bCheckRecordLayouts.load());
  // Two alike records give the class its layout; a third that registers
  // more must not go unnoticed.
  auto useThree = [] {
    cContentGated a, b;
    a.Clear();
    b.Clear();
    cContentGated c;
    c.m_bExtra = 1;
    c.Clear();
  };
  EXPECT_DEATH(useThree(), "cContentGated.*version 734.*RegisterFields must depend on the version alone");
}

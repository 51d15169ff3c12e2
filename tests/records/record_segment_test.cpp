#include <gtest/gtest.h>

#include "records/record.h"

namespace {

// The smallest record of the user data: four int32 and one string.
class cFourAndName : public cRecord {
 public:
  int32_t a = 0, b = 0, c = 0, d = 0;
  std::string name;
  cFourAndName() { Clear(); }
  void RegisterFields(int) override {
    ClearFields();
    AddDword(&a);
    AddDword(&b);
    AddDword(&c);
    AddDword(&d);
    AddString(&name);
  }
};

const char kWorkedExample[] =
    "\xDE\x02\x00\x00" "\x04\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00"
    "\x0A\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00" "\x04\x00\x00\x00" "abc";

}  // namespace

TEST(RecordSegment, WritesAndReadsTheFourIntsAndAName) {
  cFourAndName r;
  r.b = 1;
  r.c = 10;
  r.name = "abc";
  cDataWriter w;
  r.Save(w);
  EXPECT_EQ(w.Bytes(), std::string(kWorkedExample, 36));

  cDataReader in(std::string(kWorkedExample, 36));
  cFourAndName back;
  back.Load(in);
  EXPECT_EQ(back.b, 1);
  EXPECT_EQ(back.c, 10);
  EXPECT_EQ(back.name, "abc");
}

TEST(RecordSegment, CopiesNeverWriteThroughTheSourcesTables) {
  cVector<cFourAndName> list;
  for (int i = 0; i < 20; ++i) {  // growth moves the elements
    cFourAndName e;
    e.a = i;
    e.name = std::to_string(i);
    list.push_back(e);
    list.back().Clear();  // through its own tables only
    list.back().a = i;
  }
  for (int i = 0; i < 20; ++i) EXPECT_EQ(list[i].a, i);

  auto* source = new cFourAndName;
  source->a = 7;
  source->name = "seven";
  cFourAndName copy(*source);
  delete source;
  cFourAndName target;
  target = copy;
  target.Clear();
  EXPECT_EQ(copy.a, 7);
  EXPECT_EQ(copy.name, "seven");
}

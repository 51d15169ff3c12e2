// Which file draws a face name, and what the report log is told.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/bdf_font.h"
#include "support/test_support.h"

using testsupport::BdfFont;
using testsupport::BdfText;
using testsupport::ScopedWorkDir;
using testsupport::Sjis;
using testsupport::TestCellFont;

namespace {

class FaceResolution : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir.WriteFile("cell10.bdf", BdfText(TestCellFont(10)));
    ASSERT_TRUE(plat::text::RegisterFontFile(m_dir.Path() + "/cell10.bdf"));
  }
  void TearDown() override {
    plat::text::ForgetRegisteredFonts();
    plat::text::UseSystemFonts(true);
  }
  ScopedWorkDir m_dir;
};

struct ResolutionCase {
  const char* name;    // UTF-8 of the Shift-JIS face name
  const char* family;  // family of the face that draws it
};

TEST_F(FaceResolution, NamesLeadToTheirStandInsInOrder) {
  const ResolutionCase cases[] = {
      // Registered files come first, by family, in any letter case.
      {"TestCell", "TestCell"},
      {"testCELL", "TestCell"},
      // The Japanese faces of the project's list: fixed pitch and proportional.
      {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"MS UI Gothic", "IPAPGothic"},
      {"ms ui gothic", "IPAPGothic"},
      {"ＭＳ 明朝", "IPAMincho"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},
      {"メイリオ", "IPAPGothic"},
      {"HGｺﾞｼｯｸE", "IPAGothic"},
      {"HGPｺﾞｼｯｸM", "IPAPGothic"},
      {"HGS創英角ｺﾞｼｯｸUB", "IPAPGothic"},
      {"HG明朝B", "IPAMincho"},
      {"HGS明朝E", "IPAPMincho"},
      {"ipamincho", "IPAMincho"},
      // A family fontconfig has, blanks and case aside.
      {"IPA P Mincho", "IPAPMincho"},
      {"ipa p gothic", "IPAPGothic"},
      // Anything else: IPA Gothic, not whatever fontconfig offers for it.
      {"Arial", "IPAGothic"},
      {"HG創英角ﾎﾟｯﾌﾟ体", "IPAGothic"},
      {"", "IPAGothic"},
  };
  for (const ResolutionCase& c : cases) {
    std::shared_ptr<plat::text::Face> face = plat::text::OpenFace(Sjis(c.name), 16, 0);
    ASSERT_NE(face, nullptr) << c.name;
    EXPECT_EQ(face->Family(), c.family) << c.name;
  }
  // Bytes that are no Shift-JIS at all.
  auto face = plat::text::OpenFace("\xFF\x81\x82", 16, 0);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->Family(), "IPAGothic");
}

TEST_F(FaceResolution, RegisteredFileBeatsTheStandIn) {
  BdfFont font = TestCellFont(10);
  font.family = "ＭＳ ゴシック";
  m_dir.WriteFile("gothic.bdf", BdfText(font));
  ASSERT_TRUE(plat::text::RegisterFontFile(m_dir.Path() + "/gothic.bdf"));
  auto face = plat::text::OpenFace(Sjis("ＭＳ ゴシック"), 10, 0);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->File(), m_dir.Path() + "/gothic.bdf");
  EXPECT_TRUE(face->IsBitmap());
}

TEST_F(FaceResolution, ReportLineNamesTheFile) {
  std::string line;
  auto face = plat::text::OpenFace(Sjis("ＭＳ Ｐゴシック"), 16, 0, &line);
  ASSERT_NE(face, nullptr);
  EXPECT_NE(line.find(Sjis("ＭＳ Ｐゴシック")), std::string::npos) << line;
  EXPECT_NE(line.find(face->File()), std::string::npos) << line;
  EXPECT_NE(line.find("stand-in"), std::string::npos) << line;

  auto cell = plat::text::OpenFace("TestCell", 10, 0, &line);
  ASSERT_NE(cell, nullptr);
  EXPECT_NE(line.find(m_dir.Path() + "/cell10.bdf"), std::string::npos) << line;
}

TEST_F(FaceResolution, WithoutAnyFaceTheReportNamesThePackages) {
  plat::text::UseSystemFonts(false);
  std::string line;
  EXPECT_EQ(plat::text::OpenFace(Sjis("ＭＳ ゴシック"), 16, 0, &line), nullptr);
  EXPECT_NE(line.find("fonts-ipafont-gothic"), std::string::npos) << line;
  EXPECT_NE(line.find("fonts-ipafont-mincho"), std::string::npos) << line;
  int w = -1, h = -1;
  EXPECT_FALSE(plat::text::MeasureText(plat::text::kDialogFace, 12, "abc", &w, &h));
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  uint32_t pixel = 0x11223344;
  EXPECT_FALSE(plat::text::DrawTextPixels32(&pixel, 1, 1, 1, 0, 0, plat::text::kDialogFace, 12,
                                            "abc", 0xFFFFFF));
  EXPECT_EQ(pixel, 0x11223344u);

  // Registered files are still there.
  EXPECT_NE(plat::text::OpenFace("TestCell", 10, 0), nullptr);
}

// The start-up's warm-up runs beside the first faces; they come out as
// they would without it.
TEST_F(FaceResolution, FacesOpenedDuringTheWarmUpAreTheSame) {
  plat::text::WarmUp();
  plat::text::WarmUp();  // starts nothing more
  std::string line;
  auto face = plat::text::OpenFace(Sjis("ＭＳ Ｐゴシック"), 16, 0, &line);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->Family(), "IPAPGothic");
  EXPECT_NE(line.find("stand-in"), std::string::npos) << line;
  auto cell = plat::text::OpenFace("TestCell", 10, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->Family(), "TestCell");
}

TEST_F(FaceResolution, UnreadableFilesAreRefused) {
  m_dir.WriteFile("broken.bdf", "STARTFONT 2.1\nFONT x\nCHARS 99999999\n");
  m_dir.WriteFile("empty.ttf", "");
  EXPECT_FALSE(plat::text::RegisterFontFile(m_dir.Path() + "/broken.bdf"));
  EXPECT_FALSE(plat::text::RegisterFontFile(m_dir.Path() + "/empty.ttf"));
  EXPECT_FALSE(plat::text::RegisterFontFile(m_dir.Path() + "/missing.bdf"));
}

}  // namespace

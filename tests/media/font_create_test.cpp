// Making fonts: the font list, the face and its report line, what becomes
// of caches that cannot be made, the definitions and the surface table, the
// digit sheets, and the system fonts of start-up and shutdown.
#include <cstring>

#include "font_test_env.h"
#include "media/dd_frame.h"
#include "media/dd_restore.h"
#include "media/system_surfaces.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "records/system_text_table.h"

using Picture = std::vector<std::string>;
using testsupport::Sjis;

namespace {

class FontCreate : public FontTest {
 protected:
  static int Listed(Font* font) {
    int n = 0;
    for (int i = 0; i < FontList.Count(); ++i) n += FontList.At(i) == font;
    return n;
  }
  static bool HasInk(DDSURFACEDATA* sd) {
    for (const std::string& row : InkOf(sd))
      if (row.find('#') != std::string::npos) return true;
    return false;
  }
};

// "※フォントクラスで文字間が未設定！"
const char kNoCellSize[] =
    "\x81\xA6\x83\x74\x83\x48\x83\x93\x83\x67\x83\x4E\x83\x89\x83\x58\x82\xC5\x95\xB6\x8E\x9A\x8A\xD4\x82\xAA"
    "\x96\xA2\x90\xDD\x92\xE8\x81\x49";

}  // namespace

TEST_F(FontCreate, EachFontIsListedOnceInCreationOrderUntilReleased) {
  ASSERT_TRUE(StartWithPalette(32));
  const int before = FontList.Count();
  Font a, b;
  Make(a, 10, 10, 10, 1);
  Make(b, 16, 16, 16, 0);
  Make(a, 10, 10, 10, 0);  // made again: caches gone, still one entry
  EXPECT_EQ(FontList.Count(), before + 2);
  EXPECT_EQ(FontList.At(before), &a);
  EXPECT_EQ(FontList.At(before + 1), &b);
  EXPECT_EQ(a.m_lpFastFont_Half, nullptr);
  a.Release();
  a.Release();
  EXPECT_EQ(Listed(&a), 0);
  EXPECT_EQ(Listed(&b), 1);
  EXPECT_EQ(a.m_hFont, nullptr);
  EXPECT_EQ(a.m_sdWork.lpDDS, nullptr);
  DDSURFACEDATA t = Blank(10, 10);
  EXPECT_EQ(a.DrawText(&t, 0, 0, "A", 0), 0);
  {
    Font c;
    Make(c, 10, 10, 10, 0);
    EXPECT_EQ(Listed(&c), 1);
  }
  EXPECT_EQ(FontList.Count(), before + 1);
}

TEST_F(FontCreate, TheReportLogNamesTheFileThatDrawsTheFace) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 0);
  EXPECT_TRUE(ReportHas(m_dir.Path() + "/cell10.bdf")) << Report();
  EXPECT_EQ(font.m_nID, 0);
  Font next;
  Make(next, 10, 10, 10, 0);
  EXPECT_EQ(next.m_nID, 1);
}

TEST_F(FontCreate, WithoutAnyFaceNoFontIsMadeAndTheReportNamesThePackages) {
  ASSERT_TRUE(StartWithPalette(32));
  plat::text::UseSystemFonts(false);
  // "ＭＳ ゴシック" has no face without the system's fonts.
  FONTDEF defs[2] = {{"TestCell", 0, 10, 10, 10, kText, 0, 1, kFrame, 0, 1},
                     {"\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E", 0, 16, 16, 16, kText, 0, 1,
                      kFrame, 0, 1}};
  Font fonts[2];
  EXPECT_EQ(CreateFonts(fonts, defs, 2), 0);
  EXPECT_NE(fonts[0].m_hFont, nullptr);
  EXPECT_EQ(fonts[1].m_hFont, nullptr);
  EXPECT_TRUE(ReportHas("fonts-ipafont-gothic")) << Report();
  DDSURFACEDATA t = Blank(10, 10);
  EXPECT_EQ(fonts[1].DrawText(&t, 0, 0, "A", 0), 0);
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(FontCreate, CachesThatCannotBeMadeLeaveTheFontDrawingWithoutThem) {
  ASSERT_TRUE(StartWithPalette(16));
  struct Case {
    int cellW, cellH, cache;
    const char* line;  // in the debug log ("" none)
    bool caches;
  };
  const Case cases[] = {
      {10, 10, 1, "", true},
      {10, 10, 0, "", false},
      {0, 10, 1, kNoCellSize, false},
      {10, 0, 1, kNoCellSize, false},
      {-5, 10, 2, kNoCellSize, false},
      {2000, 10, 1, "m_lpFastFont_Half Err", false},     // a 32000-dot sheet
      {10, 1100, 1, "m_lpFastFont_Half Err", false},
      {700, 10, 1, "m_lpFastFont_FullAdd Err", false},   // no column fits the screen
      {10, 500, 1, "m_lpFastFont_FullAdd Err", false},
  };
  for (const Case& c : cases) {
    DebugLogInit(1, m_debugPath.c_str());
    Font font;
    Make(font, 10, c.cellW, c.cellH, c.cache);
    EXPECT_EQ(font.m_lpFastFont_Half != nullptr, c.caches) << c.cellW << " " << c.cellH;
    EXPECT_EQ(font.m_lpFastFont_FullAdd != nullptr, c.caches) << c.cellW << " " << c.cellH;
    EXPECT_EQ(font.m_nCache != 0, c.caches) << c.cellW << " " << c.cellH;
    for (const char* line : {kNoCellSize, "m_lpFastFont_Half Err", "m_lpFastFont_FullAdd Err"})
      EXPECT_EQ(DebugHas(line), line == std::string(c.line)) << c.cellW << " " << c.cellH << " " << line;
    DDSURFACEDATA t = Blank(300, 100);
    EXPECT_EQ(font.DrawText(&t, 0, 0, "A", 0), 1);
    EXPECT_TRUE(HasInk(&t)) << c.cellW << " " << c.cellH;
  }
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(FontCreate, DefinitionsTakeTheirImagesFromTheSurfaceTableAndTheirNamesWithinBounds) {
  m_defs[3].szFileName = "E";
  m_defs[3].nWidth = m_defs[3].nHeight = 8;
  ASSERT_TRUE(Start(32, false, m_table, m_defs, 8));
  const int three[] = {3};
  ASSERT_TRUE(DDLoadSurfaces(m_table, three, 1));
  FONTDEF defs[2] = {{"TestCell", 0, 10, 10, 10, 300, 3, 1, -4, 7, 1},
                     {"", 0, 10, 10, 10, -1, 8, 1, 999, -1, 1}};
  // A name that fills its 256 bytes, without an end.
  std::memset(defs[1].szFaceName, 'x', sizeof defs[1].szFaceName);
  Font fonts[2];
  EXPECT_EQ(CreateFonts(fonts, defs, 2), 1);
  EXPECT_EQ(fonts[0].m_lpBoxSD, &m_table[3]);
  EXPECT_EQ(fonts[0].m_lpIconSD, &m_table[7]);
  EXPECT_EQ(fonts[0].m_bIcon, 1);
  EXPECT_EQ(fonts[1].m_lpBoxSD, nullptr);  // 8 and -1 lie outside the table
  EXPECT_EQ(fonts[1].m_lpIconSD, nullptr);
  EXPECT_EQ(fonts[1].m_bIcon, 0);
  EXPECT_EQ(fonts[0].m_hFont->Family(), "TestCell");
  EXPECT_EQ(fonts[1].m_hFont->Family(), "IPAGothic");
  // Palette numbers held to the palette.
  EXPECT_EQ(fonts[0].m_nColorNum, 255);
  EXPECT_EQ(fonts[0].m_nFrameColor, 0);
  EXPECT_EQ(fonts[1].m_nColorNum, 0);
  EXPECT_EQ(fonts[1].m_nFrameColor, 255);
}

TEST_F(FontCreate, DigitSheetsHoldTheTenDigitsAndComeBackAfterALoss) {
  ASSERT_TRUE(StartWithPalette(16));
  FONTDEF defs[2] = {{"TestCell", 0, 10, 10, 10, kText, 0, 1, kFrame, 0, 1},
                     {"TestCell", 0, 16, 16, 16, kText, 0, 1, kFrame, 0, 0}};
  DDSURFACEDEF sheetDefs[2];
  sheetDefs[0].bColorKey = sheetDefs[1].bColorKey = 1;
  Font fonts[2];
  ASSERT_EQ(CreateFonts(fonts, defs, 2), 1);
  DDSURFACEDATA sheets[2];
  EXPECT_EQ(CreateDigitSurfaces(sheets, sheetDefs, 2, fonts, defs), 1);
  EXPECT_EQ(sheets[0].nWidth, 100);
  EXPECT_EQ(sheets[0].nHeight, 10);
  EXPECT_EQ(sheets[1].nWidth, 160);
  EXPECT_EQ(sheets[1].nHeight, 16);
  std::vector<Picture> drawn[2];
  for (int i = 0; i < 2; ++i) {
    const int cell = defs[i].nCellWidth;
    for (int d = 0; d < 10; ++d) {
      const char digit[2] = {static_cast<char>('0' + d), 0};
      DDSURFACEDATA alone = Blank(cell, cell);
      fonts[i].DrawText(&alone, 0, 0, digit, 0);
      EXPECT_TRUE(HasInk(&alone)) << d;
      drawn[i].push_back(InkOf(&sheets[i], d * cell, 0, cell, cell));
      EXPECT_EQ(drawn[i].back(), InkOf(&alone)) << "font " << i << " digit " << d;
    }
  }
  plat::LoseVideoSurfaces();
  ASSERT_EQ(sheets[0].lpDDS->lpSurface->IsLost(), plat::DDERR_SURFACELOST);
  // As the frame loop does: the layer and the fonts' caches, then the sheets.
  EXPECT_TRUE(DDRestore());
  EXPECT_EQ(RestoreDigitSurfaces(sheets, fonts, 2), 1);
  for (int i = 0; i < 2; ++i)
    for (int d = 0; d < 10; ++d) {
      const int cell = defs[i].nCellWidth;
      EXPECT_EQ(InkOf(&sheets[i], d * cell, 0, cell, cell), drawn[i][static_cast<size_t>(d)]) << i << " " << d;
    }
}

namespace {

// Start-up's fonts change globals; each test puts them back.
class SystemFontStartUp : public FontCreate {
 protected:
  void SetUp() override {
    FontCreate::SetUp();
    std::copy(std::begin(FontSpec), std::end(FontSpec), m_spec);
    m_ini = SystemIni;
    SystemData.Reset();
  }
  void TearDown() override {
    ReleaseSystemFonts();
    for (Font& f : SysFont) {
      f.m_bCentre = 0;
      f.m_bIcon = 0;
    }
    std::copy(std::begin(m_spec), std::end(m_spec), FontSpec);
    SystemIni = m_ini;
    SystemData.Reset();
    FontCreate::TearDown();
  }
  FONTDEF m_spec[3];
  SYSTEMINI m_ini;
};

}  // namespace

TEST_F(SystemFontStartUp, StartUpMakesTheThreeFontsInTheProjectsFaceAndShutdownReleasesThem) {
  // The project's face, as a file of that family ("ＭＳ 明朝").
  const std::string mincho = Sjis("ＭＳ 明朝");
  int index = -1;
  for (int i = 0; i < static_cast<int>(FontNameTable().size()); ++i)
    if (FontNameTable()[i] == mincho) index = i;
  ASSERT_GE(index, 0);
  testsupport::BdfFont face = testsupport::TestCellFont(16);
  face.family = "ＭＳ 明朝";
  m_dir.WriteFile("mincho.bdf", testsupport::BdfText(face));
  ASSERT_TRUE(plat::text::RegisterFontFile(m_dir.Path() + "/mincho.bdf"));
  SystemData.m_nFont = index;
  SystemData.m_bCentreGlyphs = 1;
  SystemData.m_bIconLetters = 0;
  SystemIni.nDD_FontCache = 1;
  SystemIni.nD3D_FontCache = 0;
  ASSERT_TRUE(StartWithPalette(32));

  EXPECT_TRUE(CreateSystemFonts());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::string(FontSpec[i].szFaceName), mincho) << i;
    EXPECT_EQ(SysFont[i].m_hFont->File(), m_dir.Path() + "/mincho.bdf") << i;
    EXPECT_EQ(Off_Digit[i].nWidth, FontSpec[i].nCellWidth * 10);
  }
  EXPECT_EQ(FontSpec[0].nCache, 1);  // 2 became DD_FontCache
  EXPECT_EQ(FontSpec[2].nCache, 0);
  EXPECT_NE(SysFont[1].m_lpFastFont_Half, nullptr);
  EXPECT_EQ(SysFont[2].m_lpFastFont_Half, nullptr);
  EXPECT_EQ(SysFont[1].m_bCentre, 1);
  EXPECT_EQ(SysFont[1].m_bIcon, 0);
  EXPECT_TRUE(DebugHas("3"));
  // Font 1's cached glyphs are centred like the others: its A cell is the
  // A a centring font draws without caches.
  Font plain;
  ASSERT_TRUE(plain.Create(mincho.c_str(), 0, 16, 16, 16, kText, nullptr, 1, kFrame, nullptr, 0));
  plain.m_bCentre = 1;
  DDSURFACEDATA alone = Blank(16, 16);
  plain.DrawText(&alone, 0, 0, "A", 0);
  EXPECT_EQ(InkOf(&SysFont[1].m_lpFastFont_Half->m_sdCache, 16, 64, 16, 16), InkOf(&alone));

  // The frame-rate text goes through them onto the back buffer.
  DDFillSurface(&BackBuffer, 1);
  FrameDrawing->DrawText(1, 0, 0, "A");
  EXPECT_EQ(InkOf(&BackBuffer, 0, 0, 16, 16), InkOf(&alone));
  FrameDrawing->DrawText(3, 0, 0, "A");
  FrameDrawing->DrawTextBox(1, 100, 100, 0, 0, "A");
  EXPECT_EQ(InkOf(&BackBuffer, 100, 100, 16, 16), InkOf(&alone));
  EXPECT_EQ(Get(&BackBuffer, 99, 99), 0xFF0000u);  // its frame

  FrameDrawing->DrawTextBox(-1, 0, 0, 0, 0, "A");
  ReportFontCacheUse();
  EXPECT_TRUE(ReportHas("Font10 : 256")) << Report();
  EXPECT_TRUE(ReportHas("Font16 : 256")) << Report();
  const int listed = FontList.Count();
  ReleaseSystemFonts();
  EXPECT_EQ(FontList.Count(), listed - 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(SysFont[i].m_hFont, nullptr);
    EXPECT_EQ(Off_Digit[i].lpDDS, nullptr);
  }
}

TEST_F(SystemFontStartUp, OnThe3DDeviceTheCacheSettingComesFromD3D_FontCache) {
  SystemIni.nDD_FontCache = 0;
  SystemIni.nD3D_FontCache = 1;
  ASSERT_TRUE(Start3DWithPalette(32));
  EXPECT_TRUE(CreateSystemFonts());
  EXPECT_EQ(FontSpec[0].nCache, 1);
  EXPECT_EQ(FontSpec[1].nCache, 1);
  EXPECT_NE(SysFont[0].m_lpFastFont_FullAdd, nullptr);
  // 1024 / 10 columns, at most 32; 1024 / 10 rows, at most 32.
  EXPECT_EQ(SysFont[0].m_lpFastFont_FullAdd->m_nCapacity, 32 * 32);
  EXPECT_NE(SysFont[0].m_lpFont, nullptr);
  EXPECT_EQ(Off_Digit[2].nWidth, 320);
  ReleaseSystemFonts();
  EXPECT_EQ(SysFont[0].m_lpFont, nullptr);
}

// System.ini read against the keys of System.dat.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "base/report_log.h"
#include "records/system_ini.h"
#include "records/system.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

// The settings as one comparable row: the nine ints in key order, then the start stage.
struct Settings {
  int32_t d3d, window, bpp, vsync, d3dCache, ddCache, stretch, fps, english;
  std::string stage;
  bool operator==(const Settings&) const = default;
};

Settings Of(const SYSTEMINI& ini) {
  return {ini.nDirect3D,     ini.nWindowMode,      ini.nBpp,     ini.nVSync, ini.nD3D_FontCache,
          ini.nDD_FontCache, ini.nDD_VideoStretch, ini.nShowFps, ini.nEnglish, ini.szFreeStage};
}

std::ostream& operator<<(std::ostream& os, const Settings& s) {
  return os << s.d3d << "," << s.window << "," << s.bpp << "," << s.vsync << "," << s.d3dCache << ","
            << s.ddCache << "," << s.stretch << "," << s.fps << "," << s.english << ",\"" << s.stage << "\"";
}

// A new project's keys give these.
const Settings kDefaults{2, 0, 0, 2, 0, 1, 0, 1, 0, ""};

Settings With(std::initializer_list<std::pair<int32_t Settings::*, int32_t>> changes, std::string stage = "") {
  Settings s = kDefaults;
  for (auto [member, value] : changes) s.*member = value;
  s.stage = stage;
  return s;
}

class SystemIniFile : public ::testing::Test {
 protected:
  void SetUp() override { ReportOpen("Report_Game.txt"); }
  cEdSystem m_system;  // a new project's keys
  testsupport::ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(SystemIniFile, TableOfFiles) {
  const std::string all =
      "Direct3D=1\nWindowMode=1\nBpp=16\nVSync=0\nD3D_FontCache=1\nDD_FontCache=0\n"
      "DD_VideoStretch=1\nShowFps=2\nFreeStage=stg4\\a.stg4\nEnglish=1\nExit\n";
  std::string crlf;
  for (char c : all) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Settings allSet{1, 1, 16, 0, 1, 0, 1, 2, 1, "stg4\\a.stg4"};
  struct Case {
    const char* name;
    std::string file;
    int result;
    Settings expected;
  };
  const Case cases[] = {
      {"every key, LF", all, 1, allSet},
      {"every key, CR LF", crlf, 1, allSet},
      {"blank after = ends the value", "WindowMode = 1\nExit\n", 1, kDefaults},
      {"blanks and tabs in the key", " Bpp\t=16 \r\n\tVSync=1\nExit\n", 1, With({{&Settings::bpp, 16}, {&Settings::vsync, 1}})},
      {"comments after values", "ShowFps=0 // note\nVSync=1/2\nBpp=8\t; x=y\nExit\n", 1,
       With({{&Settings::fps, 0}, {&Settings::vsync, 1}, {&Settings::bpp, 8}})},
      {"comment line with = is read as a key", "// WindowMode=1\nExit\n", 1, kDefaults},
      {"unknown and differently cased keys", "Fullscreen=1\nwindowmode=1\nBPP=16\nExit\n", 1, kDefaults},
      {"blank lines and key-less lines", "\n\r\n   \nhello\nBpp=32\n\nExit\n", 1, With({{&Settings::bpp, 32}})},
      {"no Exit line", "WindowMode=1\n", 0, With({{&Settings::window, 1}})},
      {"Exit without its line feed", "WindowMode=1\nExit", 0, With({{&Settings::window, 1}})},
      {"empty file", "", 0, kDefaults},
      {"value running into the end", "WindowMode=1", 0, kDefaults},
      {"Exit with a value is a key", "Exit=1\nWindowMode=1\nExit\n", 1, With({{&Settings::window, 1}})},
      {"NUL ends the file", std::string("WindowMode=1\n\0Bpp=16\n", 22), 1, With({{&Settings::window, 1}})},
      {"text key", "FreeStage=stage.stg4\nExit\n", 1, With({}, "stage.stg4")},
      {"one-character stage ignored", "FreeStage=a\nExit\n", 1, kDefaults},
      {"two-character stage kept", "FreeStage=ab\nExit\n", 1, With({}, "ab")},
      {"259-character stage kept", "FreeStage=" + std::string(259, 's') + "\nExit\n", 1, With({}, std::string(259, 's'))},
      {"260-character stage ignored", "FreeStage=" + std::string(260, 's') + "\nExit\n", 1, kDefaults},
      {"numbers as atoi reads them", "Bpp=16bit\nVSync=abc\nShowFps=-3\nWindowMode=+2\nExit\n", 1,
       With({{&Settings::bpp, 16}, {&Settings::vsync, 0}, {&Settings::fps, -3}, {&Settings::window, 2}})},
      {"numbers beyond int32 saturate", "Bpp=99999999999999999999\nVSync=-2147483649\nShowFps=2147483647\nExit\n", 1,
       With({{&Settings::bpp, INT32_MAX}, {&Settings::vsync, INT32_MIN}, {&Settings::fps, INT32_MAX}})},
      {"later lines win", "Bpp=8\nBpp=32\nExit\n", 1, With({{&Settings::bpp, 32}})},
      {"overlong key and value are ignored",
       std::string(5000, 'K') + "=1\nBpp=" + std::string(3000, '7') + "\nVSync=1\nExit\n", 1,
       With({{&Settings::vsync, 1}})},
      {"a 2047-byte value is read", "Bpp=" + std::string(2046, '0') + "8\nExit\n", 1, With({{&Settings::bpp, 8}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_dir.WriteFile("System.ini", c.file);
    SYSTEMINI ini;
    SetIniDefaults(ini, m_system.m_vIniKeys);
    EXPECT_EQ(ReadSystemIni("System.ini", ini, m_system.m_vIniKeys), c.result);
    EXPECT_EQ(Of(ini), c.expected);
  }
}

TEST_F(SystemIniFile, ReadsAtMostTenThousandLines) {
  std::string file;
  for (int i = 0; i < 9999; ++i) file += "\n";
  m_dir.WriteFile("System.ini", file + "Bpp=16\nVSync=1\n");
  SYSTEMINI ini;
  SetIniDefaults(ini, m_system.m_vIniKeys);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, m_system.m_vIniKeys), 1);
  EXPECT_EQ(ini.nBpp, 16);   // line 10000
  EXPECT_EQ(ini.nVSync, 2);  // line 10001 is not read
}

TEST_F(SystemIniFile, KeyNamesAndPositionsComeFromSystemDat) {
  m_system.m_vIniKeys[0].SetNumber("D3D", 0);
  m_system.m_vIniKeys[9].SetNumber("Lang", 5);
  cEdIniKey extra;
  extra.SetNumber("Extra", 3);
  m_system.m_vIniKeys.push_back(extra);  // a position beyond 9 sets nothing
  m_system.m_vIniKeys[1].SetNumber("Bpp", 0);  // the first of two equal names decides
  m_dir.WriteFile("System.ini", "Direct3D=1\nD3D=1\nLang=1\nExtra=7\nBpp=1\nExit\n");
  SYSTEMINI ini;
  SetIniDefaults(ini, m_system.m_vIniKeys);
  EXPECT_EQ(ReadSystemIni("System.ini", ini, m_system.m_vIniKeys), 1);
  EXPECT_EQ(Of(ini), (Settings{1, 1, 0, 2, 0, 1, 0, 1, 1, ""}));
}

TEST_F(SystemIniFile, DefaultsComeFromTheKeyList) {
  m_system.m_vIniKeys[3].SetNumber("VSync", 1);
  m_system.m_vIniKeys[8].SetText("FreeStage", "data\\stg4\\s.stg4");
  m_system.m_vIniKeys[9].SetNumber("English", 1);  // English is always 0 by default
  SYSTEMINI ini;
  std::memset(&ini, 0x55, sizeof ini);
  SetIniDefaults(ini, m_system.m_vIniKeys);
  EXPECT_EQ(Of(ini), (Settings{2, 0, 0, 1, 0, 1, 0, 1, 0, "data\\stg4\\s.stg4"}));
  // A default stage too long for the field is refused, not cut.
  m_system.m_vIniKeys[8].SetText("FreeStage", std::string(300, 'x'));
  SetIniDefaults(ini, m_system.m_vIniKeys);
  EXPECT_STREQ(ini.szFreeStage, "");
}

TEST_F(SystemIniFile, UnreadableFileShowsTheBoxAndKeepsEveryDefault) {
  for (const char* file : std::initializer_list<const char*>{"WindowMode=1\nBpp=16\nFreeStage=ab\n", nullptr}) {
    SCOPED_TRACE(file ? "no Exit line" : "missing file");
    if (file)
      m_dir.WriteFile("System.ini", file);
    else
      std::remove("System.ini");
    testsupport::ScriptedBoxes boxes;
    SYSTEMINI ini;
    EXPECT_EQ(LoadSystemIni("System.ini", ini, m_system.m_vIniKeys), 0);
    EXPECT_EQ(Of(ini), kDefaults);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, Sjis("System.ini の読み込みに失敗しました！"));
    EXPECT_EQ(boxes.shown[0].caption, Sjis("エラー"));
  }
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find(Sjis("System.ini の読み込みに失敗しました！")), std::string::npos);

  m_dir.WriteFile("System.ini", "WindowMode=1\nExit\n");
  testsupport::ScriptedBoxes boxes;
  SYSTEMINI ini;
  EXPECT_EQ(LoadSystemIni("System.ini", ini, m_system.m_vIniKeys), 1);
  EXPECT_EQ(ini.nWindowMode, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

// The texts of message windows: variable codes replaced by the values of
// common and stage variables, and the size a text takes in the message font.
#include <climits>

#include "display_objects_env.h"
#include "game/message_window.h"

namespace {

using testsupport::EventKind;

class MessageText : public DisplayObjects {
 protected:
  void SetUp() override {
    DisplayObjects::SetUp();
    PlayData.m_vCommonVar.At(1) = 120;
    PlayData.m_vCommonVar.At(5) = 42;
    PlayData.m_vCommonVar.At(6) = 0;
    PlayData.m_vCommonVar.At(7) = INT_MAX;
    PlayData.m_vCommonVar.At(8) = INT_MIN;
    PlayData.m_vCommonVar.At(255) = 3;
    world.Scene().m_vStageVars.At(2) = -7;
    world.Scene().m_vStageVars.At(5) = 99;
  }
  void TearDown() override {
    PlayData.Reset();
    DisplayObjects::TearDown();
  }
};

struct SubstCase {
  const char* what;
  const char* text;
  const char* expected;
};

TEST_F(MessageText, SubstitutesTheVariableCodesOfAText) {
  const SubstCase cases[] = {
      {"common variable", "#C5", "42"},
      {"lower-case letter", "#c5 and #s2", "42 and -7"},
      {"stage variable", "HP #S5!", "HP 99!"},
      {"number before the letter", "#5S", "99"},
      {"both letters: common wins", "#S5C", "42"},
      {"both letters the other way", "#C5S", "42"},
      {"leading zeros of the number", "#C005", "42"},
      {"common variable 255", "#C255", "3"},
      {"width with blanks", "#C5_4.", "  42"},
      {"width with zeros", "#C5_4Z.", "0042"},
      {"the last width digit wins", "#C5_24.", "  42"},
      {"a later narrower width wins", "#C5_42.", "42"},
      {"width narrower than the number", "#C1_1.", "120"},
      {"width 0", "#C5_0.", "42"},
      {"plus after the underscore", "#C5_P.", "+42"},
      {"plus and zeros, either case and order", "#C5_z4p", "+0042"},
      {"plus before the underscore stays", "#C5P.", "42P."},
      {"zero letter before the underscore stays", "#C5Z4", "42Z4"},
      {"the dot ends the code", "#C5.5", "425"},
      {"no dot: the next character stays", "#C5x", "42x"},
      {"only one dot belongs to the code", "#C5_3..", " 42."},
      {"another letter after the underscore ends the code", "#C5_3C", " 42C"},
      {"a second underscore ends the code", "#C5__3", "42_3"},
      {"negative", "#S2", "-7"},
      {"negative with blanks: the sign first", "#S2_3", "-  7"},
      {"negative with zeros", "#S2_3Z", "-007"},
      {"no plus on a negative value", "#S2_P", "-7"},
      {"zero", "#C6", "0"},
      {"zero with width", "#C6_3.", "  0"},
      {"zero with plus", "#C6_P.", "+0"},
      {"zero with zeros", "#C6_3Z.", "000"},
      {"largest int", "#C7", "2147483647"},
      {"smallest int", "#C8", "-2147483648"},
      {"smallest int with a width of 9", "#C8_9Z.", "-2147483648"},
      {"no letter", "#5.", "#5."},
      {"no number", "#C.", "#C."},
      {"variable 0", "#C0", "#C0"},
      {"variable 256", "#C256", "#C256"},
      {"a number past the int range", "#C99999999999999999999", "#C99999999999999999999"},
      {"another letter", "#X5", "#X5"},
      {"width without a variable", "#_3.", "#_3."},
      {"# at the end", "ab#", "ab#"},
      {"# alone", "#", "#"},
      {"codes back to back", "#C5#S2", "42-7"},
      {"codes back to back with dots", "#C5.#C5.", "4242"},
      {"a # before a code", "##C5", "#42"},
      {"a # after a code", "#C5#", "42#"},
      {"a left code before a code", "#C0#C5", "#C042"},
      {"# as the trail byte of a double-byte character", "\x81#C5", "\x81#C5"},
      {"a double-byte character before a code", "\x82\xA0#C5", "\x82\xA0" "42"},
      {"a lead byte at the end", "#C5\x81", "42\x81"},
      {"a lead byte alone", "\x82", "\x82"},
      {"no code", "text", "text"},
      {"empty", "", ""},
  };
  for (const SubstCase& c : cases) {
    std::string text = c.text;
    SubstituteVariables(text);
    EXPECT_EQ(text, c.expected) << c.what;
  }
  EXPECT_TRUE(world.events.Texts(EventKind::Log).empty());
}

TEST_F(MessageText, StageVariable255IsReportedAndReadsVariable0) {
  world.Scene().m_vStageVars.At(0) = 11;
  std::string text = "[#S255]";
  SubstituteVariables(text);
  EXPECT_EQ(text, "[11]");
  // The report line; the game goes on (a close request would fail the test).
  EXPECT_EQ(world.events.Texts(EventKind::Log), std::vector<std::string>{"err V[255] ( 255 , 4 )"});
  EXPECT_NE(ReadFile("Report_Game.txt").find("err V[255] ( 255 , 4 )"), std::string::npos);
}

struct MeasureCase {
  const char* what;
  const char* text;
  int fixedW, fixedH;  // 16 × 16 cells
  int propW, propH;    // the face: 8 dots a half-width character, 16 a line
};

TEST_F(MessageText, MeasuresByCellsOrLineByLinePlusTwo) {
  const MeasureCase cases[] = {
      {"empty", "", 2, 2, 2, 18},
      {"one line", "AgA", 50, 18, 26, 18},
      {"double-byte characters", "A\x82\xA0", 34, 18, 26, 18},
      {"two lines, the widest counts", "A\nAgA", 50, 34, 26, 34},
      {"an empty line between", "A\n\nA", 18, 50, 10, 50},
      {"a trailing line feed", "Ag\n", 34, 18, 18, 34},
      {"only a line feed", "\n", 2, 18, 2, 34},
  };
  ASSERT_TRUE(Start(16));
  MakeMessageFont(16);
  for (const MeasureCase& c : cases) {
    int w = -1, h = -1;
    MeasureMessageText(w, h, c.text);
    EXPECT_EQ(w, c.fixedW) << c.what;
    EXPECT_EQ(h, c.fixedH) << c.what;
  }
  SysFont[1].Release();
  MakeMessageFont(0);
  for (const MeasureCase& c : cases) {
    int w = -1, h = -1;
    MeasureMessageText(w, h, c.text);
    EXPECT_EQ(w, c.propW) << c.what;
    EXPECT_EQ(h, c.propH) << c.what;
  }
}

}  // namespace

// The message command on a harness stage: the window it makes from its
// parameters, windows found again by ID (rewritten in place, replaced at
// their place, closed), the surfaces that come and go with them, and the
// item lists' opening-sound rule. The waits themselves are the thread tests'.
#include <string>
#include <vector>

#include "display_objects_env.h"
#include "game/display_commands.h"
#include "game/item_commands.h"
#include "game/message_window.h"
#include "records/save_data.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"

namespace {

using testsupport::CommandDef;
using testsupport::EventKind;

class MessageCommand : public DisplayObjects {
 protected:
  void SetUp() override {
    DisplayObjects::SetUp();
    ASSERT_TRUE(Start(16));
    MakeMessageFont(16);  // cells of 16 × 16: a text of n bytes is 16n + 2 wide
    PlayData.m_vCommonVar.At(5) = 42;
    hero = &PlaceHero(400, 300);
    chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  }
  void TearDown() override {
    PlayData.Reset();
    DisplayObjects::TearDown();
  }

  // A window until the stage ends (p6 1) that does not stop the game.
  static cEdCommand Message(const char* text, int useId = 0, int id = 0, int close = 0) {
    cEdCommand c = CommandDef(ACTCMDTYPE_MESSAGE).Param(6, MESSAGEDISPLAY_STAGE).Param(12, useId).Param(13, id)
                       .Param(15, close);
    c.m_strText = text;
    return c;
  }

  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const cMessageWindow& w : world.Scene().m_Messages) texts.push_back(w.m_strText);
    return texts;
  }

  // Every text window owns a surface of its size in Off_Msg and no surface
  // there is left without its window.
  void ExpectSurfacesMatchWindows(const char* what) {
    size_t owned = 0;
    for (const cMessageWindow& w : world.Scene().m_Messages) {
      ASSERT_NE(w.m_lpSurface, nullptr) << what;
      bool listed = false;
      for (const DDSURFACEDATA& sd : Off_Msg) listed = listed || &sd == w.m_lpSurface;
      EXPECT_TRUE(listed) << what;
      EXPECT_EQ(w.m_lpSurface->nWidth, w.m_nWidth) << what;
      EXPECT_EQ(w.m_lpSurface->nHeight, w.m_nHeight) << what;
      ++owned;
    }
    EXPECT_EQ(Off_Msg.size(), owned) << what;
    EXPECT_EQ(Off_MsgDef.size(), owned) << what;
  }

  cHero* hero = nullptr;
  cChara* chara = nullptr;
};

TEST_F(MessageCommand, TheWindowTakesTheParametersInTheirPlaces) {
  cEdCommand c = CommandDef(ACTCMDTYPE_MESSAGE);
  const int values[18] = {2, 3, 4, 5, 6, 1, MESSAGEDISPLAY_STAGE, 7, 1, 1, 1, 1, 1, 8, 1, 0, 9, 0};
  for (int i = 0; i < 18; ++i) c.m_vParams.At(i) = values[i];
  c.m_strText = "#C5";
  CmdMessage(*chara, c, 1);
  ASSERT_EQ(world.Scene().m_Messages.size(), 1u);
  const cMessageWindow& w = world.Scene().m_Messages.back();
  EXPECT_EQ(w.m_nMode, MESSAGEMODE_TEXT);
  EXPECT_EQ(w.m_strSource, "#C5");
  EXPECT_EQ(w.m_strText, "42");
  const int fields[][2] = {
      {w.m_nPlacement, 2},    {w.m_nCellX, 3},        {w.m_nCellY, 4},      {w.m_nOffX, 5},
      {w.m_nOffY, 6},         {w.m_bKeepOnScreen, 1}, {w.m_nDisplayMode, 1}, {w.m_nFrames, 42},
      {w.m_bStopsGame, 1},    {w.m_bSubstitute, 1},   {w.m_bFixed, 1},       {w.m_bRefresh, 1},
      {w.m_bUseId, 1},        {w.m_nWindowId, 8},     {w.m_bFramed, 1},      {w.m_nRefreshFrames, 9},
      {w.m_nAnchorId, chara->m_nId},
  };
  for (size_t i = 0; i < std::size(fields); ++i) EXPECT_EQ(fields[i][0], fields[i][1]) << "field " << i;

  struct AnchorCase {
    int placement, noTimeLimit;
    int anchor, frames;
  };
  const AnchorCase anchors[] = {
      {0, 0, 0, 42}, {1, 0, chara->m_nId, 42}, {3, 1, chara->m_nId, 1}, {4, 0, hero->m_nId, 42},
      {6, 1, hero->m_nId, 1}, {7, 0, 0, 42}, {8, 0, 0, 42},
  };
  for (const AnchorCase& a : anchors) {
    c.m_vParams.At(0) = a.placement;
    c.m_vParams.At(17) = a.noTimeLimit;
    c.m_vParams.At(12) = 0;
    CmdMessage(*chara, c, 0);
    EXPECT_EQ(world.Scene().m_Messages.back().m_nAnchorId, a.anchor) << "placement " << a.placement;
    EXPECT_EQ(world.Scene().m_Messages.back().m_nFrames, a.frames) << "placement " << a.placement;
  }
}

struct ByIdCase {
  const char* what;
  int useId, id, close;
  const char* text;
  std::vector<std::string> texts;  // the windows afterwards, in list order
  bool sameFirst;                  // the first window keeps the surface it had
};

// Before each case: "one1" with ID 1, "xx" without an ID, "two2" with ID 2.
TEST_F(MessageCommand, WindowsFoundByIdAreRewrittenReplacedOrClosed) {
  const ByIdCase cases[] = {
      {"the same size is rewritten in place", 1, 1, 0, "ONE!", {"ONE!", "xx", "two2"}, true},
      {"a substituted text measures as shown", 1, 1, 0, "#C5##", {"42##", "xx", "two2"}, true},
      {"another size is replaced at its place", 1, 1, 0, "longer", {"longer", "xx", "two2"}, false},
      {"closed by its ID", 1, 2, 1, "", {"one1", "xx"}, true},
      {"closing an ID nobody has does nothing", 1, 9, 1, "", {"one1", "xx", "two2"}, true},
      {"an ID nobody has is a new window", 1, 9, 0, "new", {"one1", "xx", "two2", "new"}, true},
      {"a window without an ID is never found, not by 0", 1, 0, 0, "zero", {"one1", "xx", "two2", "zero"}, true},
      {"without an ID a window is added", 0, 1, 0, "plain", {"one1", "xx", "two2", "plain"}, true},
      {"closing without an ID does nothing", 0, 1, 1, "", {"one1", "xx", "two2"}, true},
  };
  for (const ByIdCase& c : cases) {
    world.Scene().m_Messages.clear();
    DDReleaseSurfaceList(Off_Msg);
    Off_Msg.clear();
    Off_MsgDef.clear();
    for (cEdCommand m : {Message("one1", 1, 1), Message("xx"), Message("two2", 1, 2)}) CmdMessage(*chara, m, 0);
    // A mark on the first window's surface record tells it from a new one.
    world.Scene().m_Messages.front().m_lpSurface->szFileName = "first";

    cEdCommand command = Message(c.text, c.useId, c.id, c.close);
    command.m_vParams.At(9) = 1;  // substitute
    CmdMessage(*chara, command, 0);

    EXPECT_EQ(Texts(), c.texts) << c.what;
    ExpectSurfacesMatchWindows(c.what);
    EXPECT_EQ(world.Scene().m_Messages.front().m_lpSurface->szFileName == "first", c.sameFirst) << c.what;
  }
}

TEST_F(MessageCommand, AnItemListOpensOnceAndEachWaitTakesItsWindowAway) {
  cEdCommand keyWait = CommandDef(ACTCMDTYPE_MESSAGE).Param(6, MESSAGEDISPLAY_KEY).Param(8, 1);
  keyWait.m_strText = "hi";
  keyWait.m_bItemCommand = 1;
  keyWait.m_nType = ITEMCMDTYPE_MESSAGE;
  cEdCommand permanent = Message("stays");
  CmdMessage(*chara, permanent, 0);
  world.Scene().m_bItemMessage = 0;
  for (int i = 0; i < 3; ++i) RunItemCommand(*hero, keyWait);
  EXPECT_EQ(world.events.Texts(EventKind::Sound), (std::vector<std::string>{"11"})) << "the first opens with sound 11";
  EXPECT_EQ(world.Scene().m_bItemMessage, 1);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"stays"}));
  ExpectSurfacesMatchWindows("after the waits");
  EXPECT_EQ(world.Scene().m_Wait.nDelay, 0) << "a continued key wait takes a key at once";
}

TEST_F(MessageCommand, OnlyAKeyWaitThatStopsTheGameContinuesTheFlowsNextMessage) {
  // A key-display message (p8 as the case says), then one that stops the
  // game: the second plays the opening sound and ignores keys for 10 frames
  // unless the first continued it.
  struct Case {
    int firstStops;
    std::vector<std::string> sounds;
    int delay;  // of the second message's wait
  } cases[] = {{0, {"11"}, 10}, {1, {"11"}, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firstStops);
    world.events.Clear();
    CommandDef first = CommandDef(ACTCMDTYPE_MESSAGE).Param(6, MESSAGEDISPLAY_KEY).Param(8, c.firstStops);
    first.Def().m_strText = "a";
    CommandDef second = CommandDef(ACTCMDTYPE_MESSAGE).Param(6, MESSAGEDISPLAY_KEY).Param(8, 1);
    second.Def().m_strText = "b";
    cChara& talker = world.AddChara(testsupport::CharaDef().Flow(testsupport::FlowDef().Command(first).Command(second)),
                                    {6, 5});
    world.UpdatePresence();
    world.Scene().m_Wait = cModalWait();
    testsupport::PlayFlowFrames(world, 2, {&talker});  // a message a frame
    EXPECT_EQ(world.events.Texts(EventKind::Sound), c.sounds);
    EXPECT_EQ(world.Scene().m_Wait.nDelay, c.delay);
  }
}

TEST_F(MessageCommand, NothingWhileTheProgramCloses) {
  world.Scene().m_bCloseRequested = 1;
  cEdCommand keyWait = CommandDef(ACTCMDTYPE_MESSAGE).Param(6, MESSAGEDISPLAY_KEY).Param(8, 1);
  keyWait.m_strText = "hi";
  CmdMessage(*chara, keyWait, 0);
  EXPECT_TRUE(world.Scene().m_Messages.empty());
  EXPECT_TRUE(Off_Msg.empty());
  EXPECT_TRUE(world.events.Texts(EventKind::Sound).empty());
}

}  // namespace

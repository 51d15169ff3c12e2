// The options screen on the sample: each value wraps both ways, palette and
// volume act at once and come back on cancel, the name comes from the
// name-entry dialog, leaving keeps Option.dat (or says in the report log why
// it could not) and the music switch ends or restarts the music manager.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "front_end_rig.h"
#include "frontend/scene_option.h"
#include "game/menu_cursor.h"
#include "media/bgm.h"
#include "media/dd_surface.h"
#include "media/palette_scheme.h"
#include "media/sound_effect.h"
#include "media/system_surfaces.h"
#include "platform/virtual_keys.h"
#include "records/user_settings.h"

using frontendtest::Le32;
using testsupport::Sjis;

namespace {

// Option.dat as the format lays it out: version 734, four fields, one
// string (its length + 1, then its bytes and a NUL unless it is empty).
std::string OptionDat(int palette, int music, int volume, int mode, const std::string& name) {
  return Le32(734) + Le32(4) + Le32(static_cast<uint32_t>(palette)) + Le32(static_cast<uint32_t>(music)) +
         Le32(static_cast<uint32_t>(volume)) + Le32(static_cast<uint32_t>(mode)) + Le32(1) +
         Le32(static_cast<uint32_t>(name.size() + 1)) + (name.empty() ? "" : name + std::string(1, '\0'));
}

// A folder the program cannot write into, also for root (through the
// immutable attribute); cleared again at the end.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const std::string& path) : m_path(path) {
    chmod(path.c_str(), 0555);
    if (Writable()) SetImmutable(true);
  }
  ~ReadOnlyFolder() {
    if (m_immutable) SetImmutable(false);
    chmod(m_path.c_str(), 0755);
  }
  bool Writable() const {
    const std::string probe = m_path + "/probe";
    const int fd = open(probe.c_str(), O_CREAT | O_WRONLY, 0644);
    if (fd < 0) return false;
    close(fd);
    unlink(probe.c_str());
    return true;
  }

 private:
  void SetImmutable(bool on) {
    const int fd = open(m_path.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    int flags = 0;
    if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      if (ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0) m_immutable = on;
    }
    close(fd);
  }
  std::string m_path;
  bool m_immutable = false;
};

}  // namespace

class OptionScreen : public frontendtest::FrontEnd {
 protected:
  // The program up, the options screen entered as the title enters it, its
  // fade-in over.
  void Open(const Start& start = Start()) {
    StartProgram(start);
    Game.m_nPlayCommand = GAMEMODE_OPTION;
    Game.m_nScene = SCENE_OPTION;
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();  // the menu's first frame
  }
  // Moves the cursor down to the row of `id` (every sample row is visible).
  void GoToRow(int id) {
    for (int i = 0; i < 6 && MenuCursor.Cur()->nRow != id; ++i) Tap(VK_DOWN);
    ASSERT_EQ(MenuCursor.Cur()->nRow, id);
  }
  // Leaves by cancel and runs the fade-out.
  void Leave() {
    Tap('X');
    for (int i = 0; i < 30 && Game.m_nScene == SCENE_OPTION; ++i) Frame();
    ASSERT_EQ(Game.m_nScene, SCENE_TITLE);
    EXPECT_EQ(Game.m_nPrevScene, SCENE_OPTION);
  }
  static cSceneOption& Scene() { return *Running<cSceneOption>(); }
};

TEST_F(OptionScreen, EnteringAsksForItsMusicAndShowsEveryVisibleRow) {
  Open();
  EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"music 3 0"}));
  EXPECT_EQ(Scene().m_nItems, 6);
  EXPECT_EQ(Scene().m_nItemIds, (cVector<int32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Off_Scene.Size(), 1);
}

TEST_F(OptionScreen, EachValueWrapsBothWaysAndKeepsWhatWasConfirmed) {
  Open();
  struct Edit {
    int id, start, key, expected;
  } edits[] = {
      {OPTION_PALETTE, 23, VK_UP, 0},      {OPTION_PALETTE, 0, VK_DOWN, 23},   {OPTION_PALETTE, 4, VK_UP, 5},
      {OPTION_MUSIC, 1, VK_UP, 0},         {OPTION_MUSIC, 0, VK_DOWN, 1},      {OPTION_VOLUME, 10, VK_UP, 0},
      {OPTION_VOLUME, 0, VK_DOWN, 10},     {OPTION_VOLUME, 7, VK_DOWN, 6},     {OPTION_RANKING_MODE, 3, VK_UP, 0},
      {OPTION_RANKING_MODE, 0, VK_DOWN, 3},
  };
  int32_t* const values[] = {&OptionData.m_nPalette, &OptionData.m_bBgm, &OptionData.m_nSeVolume,
                             &OptionData.m_nRankingMode};
  for (const Edit& e : edits) {
    *values[e.id] = e.start;
    GoToRow(e.id);
    Tap('Z');
    ASSERT_EQ(Scene().m_nSubState, 2) << "row " << e.id;
    EXPECT_EQ(MenuCursor.m_Stack.Size(), 2);
    Tap(e.key);
    EXPECT_EQ(*values[e.id], e.expected) << "row " << e.id << " from " << e.start;
    Tap('Z');
    EXPECT_EQ(Scene().m_nSubState, 1);
    EXPECT_EQ(*values[e.id], e.expected) << "confirmed";
    EXPECT_EQ(MenuCursor.Cur()->nRow, e.id) << "back on its row";
  }
  // Opening and confirming each edit: the decision sound twice.
  EXPECT_EQ(TakeSounds(), std::vector<int>(2 * std::size(edits), 1));
}

TEST_F(OptionScreen, PaletteAndVolumeActWhileEditedAndComeBackOnCancel) {
  Start start;
  start.bpp = 8;  // the palette schemes act in the 256-colour display only
  Open(start);
  std::vector<PALETTEENTRY> before(BasePalette, BasePalette + 256);

  GoToRow(OPTION_PALETTE);
  Tap('Z');
  Tap(VK_UP);
  EXPECT_EQ(OptionData.m_nPalette, 1);
  std::vector<PALETTEENTRY> edited(BasePalette, BasePalette + 256);
  EXPECT_NE(std::memcmp(edited.data(), before.data(), 256 * sizeof(PALETTEENTRY)), 0) << "scheme 1 in force";
  Tap('X');
  EXPECT_EQ(OptionData.m_nPalette, 0);
  EXPECT_EQ(std::memcmp(BasePalette, before.data(), 256 * sizeof(PALETTEENTRY)), 0) << "scheme 0 back";
  ASSERT_EQ(SetPaletteScheme(1), 1);
  EXPECT_EQ(std::memcmp(BasePalette, edited.data(), 256 * sizeof(PALETTEENTRY)), 0) << "the edit showed scheme 1";
  ASSERT_EQ(SetPaletteScheme(0), 1);

  auto volumes = [] {
    std::vector<int32_t> v;
    for (SEDATA& entry : SeBank)
      if (entry.lpBuffers) v.push_back(DS_GetVolume(&entry, 0));
    return v;
  };
  const std::vector<int32_t> full = volumes();
  ASSERT_FALSE(full.empty());
  GoToRow(OPTION_VOLUME);
  Tap('Z');
  const int32_t step = OptionData.m_nSeVolume;
  Tap(VK_DOWN);
  EXPECT_EQ(volumes(), std::vector<int32_t>(full.size(), SeVolumeTable[step - 1])) << "every sound at once";
  Tap(VK_DOWN);
  EXPECT_EQ(volumes(), std::vector<int32_t>(full.size(), SeVolumeTable[step - 2]));
  Tap('X');
  EXPECT_EQ(OptionData.m_nSeVolume, step);
  EXPECT_EQ(volumes(), std::vector<int32_t>(full.size(), SeVolumeTable[step]));
  EXPECT_EQ(Scene().m_nSubState, 1);
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  EXPECT_EQ(MenuCursor.Cur()->nRow, OPTION_VOLUME);
}

TEST_F(OptionScreen, TheNameComesFromTheNameEntryDialogAndShowsOnItsRow) {
  m_dialogs.name = Sjis("あいう");
  Open();
  GoToRow(OPTION_NAME);
  TakeRequests();
  const std::string shownBefore = frontendtest::Pixels(&Off_Scene[0], 208, 96 + 16 * OPTION_NAME, 64, 16);
  Tap('Z');
  EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"sound 1", "name"}));
  EXPECT_EQ(OptionData.m_strRankingName, Sjis("あいう"));
  EXPECT_EQ(Scene().m_nSubState, 1) << "no value is edited";
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  EXPECT_EQ(MenuCursor.Cur()->nRow, OPTION_NAME);
  EXPECT_NE(frontendtest::Pixels(&Off_Scene[0], 208, 96 + 16 * OPTION_NAME, 64, 16), shownBefore);
}

TEST_F(OptionScreen, LeavingKeepsOptionDatAsTheFormatLaysItOut) {
  Open();
  EXPECT_FALSE(Exists("user_data/Option.dat"));
  struct Step {
    const char* what;
    int row;
    std::vector<int> keys;  // after opening the row
    std::string name;       // what the name-entry dialog leaves
    std::string expected;
  };
  const std::string kana = Sjis("あいう");
  const Step steps[] = {
      {"a volume step up", OPTION_VOLUME, {VK_UP, 'Z'}, "aaa", OptionDat(0, 1, 8, 0, "aaa")},
      {"a new name", OPTION_NAME, {}, kana, OptionDat(0, 1, 8, 0, kana)},
      {"the ranking mode", OPTION_RANKING_MODE, {VK_DOWN, 'Z'}, kana, OptionDat(0, 1, 8, 3, kana)},
      {"an empty name", OPTION_NAME, {}, "", OptionDat(0, 1, 8, 3, "")},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (Game.m_nScene != SCENE_OPTION) {
      Game.m_nScene = SCENE_OPTION;
      ASSERT_TRUE(RunUntilPhase(1));
    }
    m_dialogs.name = step.name;
    GoToRow(step.row);
    Tap('Z');
    for (int key : step.keys) Tap(key);
    Leave();
    EXPECT_EQ(Read("user_data/Option.dat"), step.expected);
  }
}

TEST_F(OptionScreen, MusicOffEndsTheMusicManagerAndOnStartsItAgain) {
  Open();
  ASSERT_EQ(Bgm.m_bInit, 1);
  GoToRow(OPTION_MUSIC);
  Tap('Z');
  Tap(VK_DOWN);
  Tap('Z');
  EXPECT_EQ(Bgm.m_bInit, 1) << "the switch acts when the screen is left";
  Leave();
  EXPECT_EQ(Bgm.m_bInit, 0);
  EXPECT_EQ(Game.m_nBgm, 0);

  Game.m_nScene = SCENE_OPTION;
  ASSERT_TRUE(RunUntilPhase(1));
  GoToRow(OPTION_MUSIC);
  Tap('Z');
  Tap(VK_UP);
  Tap('Z');
  Leave();
  EXPECT_EQ(Bgm.m_bInit, 1);
  EXPECT_EQ(Game.m_nBgm, 0) << "the next screen starts its music";
  EXPECT_STREQ(Bgm.m_lpMidiNames[0], "bgm\\Title.mid");
  TakeRequests();
  Frame();
  EXPECT_EQ(TakeRequests(), std::vector<std::string>{"music 0 0"}) << "the title asks for its music";
  EXPECT_NE(Bgm.m_vActive.At(0), 0) << "and it plays";
}

TEST_F(OptionScreen, AnOptionDatThatCannotBeWrittenIsReportedAndTheOldOneStays) {
  Start start;
  start.optionsFile = true;
  start.options = OptionDat(0, 1, 7, 0, "old");
  Open(start);
  ReadOnlyFolder readOnly(GameFolder() + "/user_data");
  if (readOnly.Writable()) GTEST_SKIP() << "user_data cannot be made read-only here";
  GoToRow(OPTION_VOLUME);
  Tap('Z');
  Tap(VK_UP);
  Tap('Z');
  Leave();
  EXPECT_EQ(Read("user_data/Option.dat"), start.options);
  EXPECT_NE(Report().find(Sjis("user_data\\Option.dat の保存に失敗！")), std::string::npos) << Report();
  EXPECT_EQ(OptionData.m_nSeVolume, 8) << "the new value stays in force for this run";
}

TEST_F(OptionScreen, ValuesFromAnEditedFileShowAsTheNearestOnes) {
  Start start;
  start.optionsFile = true;
  start.options = OptionDat(0, 1, 7, 9, "aaa");  // ranking mode 9 has no label
  Open(start);
  cSceneOption& scene = Scene();
  const int y = 96 + 16 * OPTION_RANKING_MODE;
  auto shown = [&](int32_t mode) {
    OptionData.m_nRankingMode = mode;
    scene.DrawMenuSurface();
    return frontendtest::Pixels(&Off_Scene[0], 208, y, 400, 16);
  };
  const std::string nine = shown(9);
  EXPECT_EQ(nine, shown(3));
  EXPECT_NE(nine, shown(2));
  EXPECT_EQ(shown(-4), shown(0));
}

TEST_F(OptionScreen, CancelOrTheBackRowLeaveForTheTitle) {
  struct Case {
    const char* what;
    std::vector<int> keys;
    std::vector<int> sounds;
  };
  const Case cases[] = {
      {"cancel", {'X'}, {2}},
      {"the back row", {VK_UP, 'Z'}, {1}},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (Game.m_nScene != SCENE_OPTION) {
      Game.m_nScene = SCENE_OPTION;
      ASSERT_TRUE(RunUntilPhase(1));
    }
    TakeRequests();
    for (int key : c.keys) Tap(key);
    EXPECT_EQ(Phase(), 2) << "fading out";
    EXPECT_EQ(TakeSounds(), c.sounds);
    for (int i = 0; i < 30 && Game.m_nScene == SCENE_OPTION; ++i) Frame();
    EXPECT_EQ(Game.m_nScene, SCENE_TITLE);
    EXPECT_EQ(Game.m_nPrevScene, SCENE_OPTION);
    EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  }
}

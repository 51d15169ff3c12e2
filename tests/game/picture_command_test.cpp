// The picture command on a harness stage with small BMP files: pictures
// found again by ID (replaced at their place, closed), number 0 clearing
// them all, the zoomed size and place, a file that will not load, and the
// surfaces in Off_Picture that stay parallel to the pictures. The waits
// themselves are the thread tests'.
#include <string>
#include <vector>

#include "display_objects_env.h"
#include "game/display_commands.h"
#include "platform/bmp_bytes.h"
#include "support/flow_builders.h"

namespace {

using testsupport::CommandDef;
using testsupport::EventKind;

// Picture.dat: 1 is 100 × 61, 2 is 20 × 10, 3 is 8 × 8 (24-bit files), 4 names a missing file.
class PictureCommand : public DisplayObjects {
 protected:
  void SetUp() override {
    DisplayObjects::SetUp();
    WritePictures();
  }

  static void WritePictures() {
    const int sizes[][2] = {{100, 61}, {20, 10}, {8, 8}};
    Database.m_vPicture.resize(5);
    for (int n = 1; n <= 3; ++n) {
      const int w = sizes[n - 1][0], h = sizes[n - 1][1];
      const int pitch = (w * 3 + 3) & ~3;
      const std::string file = "pic" + std::to_string(n) + ".bmp";
      std::ofstream(file, std::ios::binary)
          << bmpbytes::File(bmpbytes::Info(w, h, 24), "", std::string(static_cast<size_t>(pitch) * h, '\x40'));
      Database.m_vPicture[n].m_strFile = file;
    }
    Database.m_vPicture[4].m_strFile = "bmp\\gone.bmp";
  }

  // Picture n until the stage ends, at zoom 100, by ID when id >= 0.
  static cEdCommand Picture(int n, int id = -1) {
    return CommandDef(ACTCMDTYPE_SHOW_PICTURE).Param(0, n).Param(7, 100).Param(8, 1).Param(12, id >= 0).Param(13,
                                                                                                         id < 0 ? 0 : id);
  }

  void Show(cEdCommand command) { CmdShowPicture(*chara, command); }

  std::vector<int> Shown() {
    std::vector<int> numbers;
    for (const cPictureInstance& p : world.Scene().m_Pictures) numbers.push_back(p.m_nPicture);
    return numbers;
  }

  // Off_Picture holds one surface per picture, in the same order, of the
  // picture's image.
  void ExpectSurfacesParallel(const char* what) {
    ASSERT_EQ(Off_Picture.size(), world.Scene().m_Pictures.size()) << what;
    EXPECT_EQ(Off_PictureDef.size(), Off_Picture.size()) << what;
    auto surface = Off_Picture.begin();
    auto def = Off_PictureDef.begin();
    for (const cPictureInstance& p : world.Scene().m_Pictures) {
      EXPECT_EQ(surface->szFileName, Database.m_vPicture[p.m_nPicture].m_strFile) << what;
      EXPECT_EQ(def->szFileName, Database.m_vPicture[p.m_nPicture].m_strFile) << what;
      EXPECT_EQ(surface->nWidth, p.m_nWidth) << what;
      EXPECT_EQ(surface->nHeight, p.m_nHeight) << what;
      ++surface;
      ++def;
    }
  }

  cChara* chara = nullptr;
};

struct PictureByIdCase {
  const char* what;
  cEdCommand command;
  std::vector<int> shown;
};

TEST_F(PictureCommand, PicturesFoundByIdAreReplacedOrClosedAndZeroClearsAll) {
  ASSERT_TRUE(Start(16));
  PlaceHero(400, 300);
  chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  cEdCommand timed = Picture(1);
  timed.m_vParams.At(8) = 2;    // for a time
  timed.m_vParams.At(10) = 1;   // stopping the game
  cEdCommand untilEnd = Picture(1);
  untilEnd.m_vParams.At(10) = 1;
  const PictureByIdCase cases[] = {
      {"a picture is added", Picture(1), {1, 2, 3, 1}},
      {"a new ID is added", Picture(2, 9), {1, 2, 3, 2}},
      {"a known ID is replaced at its place", Picture(3, 1), {3, 2, 3}},
      {"a known ID with 0 closes it", Picture(0, 2), {1, 2}},
      {"0 with an unknown ID does nothing", Picture(0, 9), {1, 2, 3}},
      {"a picture without an ID is not found, not by 0", Picture(2, 0), {1, 2, 3, 2}},
      {"0 without an ID clears them all", Picture(0), {}},
      {"one that stops the game for a time goes after its wait", timed, {1, 2, 3}},
      {"one until the stage ends starts no wait and stays", untilEnd, {1, 2, 3, 1}},
  };
  for (const PictureByIdCase& c : cases) {
    Show(Picture(0));
    Show(Picture(1, 1));
    Show(Picture(2));
    Show(Picture(3, 2));
    world.Scene().m_Wait = cModalWait();
    Show(c.command);
    EXPECT_EQ(Shown(), c.shown) << c.what;
    ExpectSurfacesParallel(c.what);
  }
  EXPECT_EQ(world.Scene().m_Wait.nMode, 0) << "until the stage ends sets no wait";
  EXPECT_TRUE(world.events.Texts(EventKind::Box).empty());
}

TEST_F(PictureCommand, AZoomedPictureIsSizedByPercentAndPlacedByMode) {
  ASSERT_TRUE(Start(16));
  PlaceHero(400, 300);
  chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  Scroll(352, 336);
  cEdCommand half = Picture(1);
  half.m_vParams.At(7) = 50;
  half.m_vParams.At(4) = 3;  // dots x
  Show(half);
  cEdCommand cell = Picture(2);
  cell.m_vParams.At(1) = DISPLAYPOS_STAGE_CELL;
  cell.m_vParams.At(2) = 4;
  cell.m_vParams.At(3) = 2;
  cell.m_vParams.At(6) = 1;   // in front of the objects
  cell.m_vParams.At(11) = 1;  // fixed to the screen
  Show(cell);
  ASSERT_EQ(world.Scene().m_Pictures.size(), 2u);
  const cPictureInstance& a = world.Scene().m_Pictures.front();
  EXPECT_EQ(a.m_nWidth, 50);
  EXPECT_EQ(a.m_nHeight, 31) << "30.5 rounds away from zero";
  EXPECT_EQ(a.m_bScaled, 1);
  EXPECT_EQ(a.m_dX, 352 + 320 - 25 + 3);
  EXPECT_EQ(a.m_dY, 336 + 240 - 15);
  EXPECT_EQ(Off_Picture.front().nWidth, 100) << "the image keeps its own size";
  const cPictureInstance& b = world.Scene().m_Pictures.back();
  EXPECT_EQ(b.m_dX, (4 + 10) * 32);
  EXPECT_EQ(b.m_dY, (2 + 10) * 32);
  EXPECT_EQ(b.m_nLayer, 1);
  EXPECT_EQ(b.m_bScreenFixed, 1);
  EXPECT_EQ(b.m_nScreenX, (4 + 10) * 32 - 352);
  EXPECT_EQ(b.m_nDisplayMode, 1);
}

TEST_F(PictureCommand, AFileThatWillNotLoadShowsItsBoxAndLeavesNothingBehind) {
  ASSERT_TRUE(Start(16));
  PlaceHero(400, 300);
  chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  Show(Picture(2));
  world.events.ExpectBoxes({plat::BOX_OK});
  world.events.AllowCloseRequests(true);
  Show(Picture(4));
  // "bmp\gone.bmp 読み込み失敗！"
  const std::string line = "bmp\\gone.bmp \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
  EXPECT_EQ(world.events.Texts(EventKind::Box), (std::vector<std::string>{line}));
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
  EXPECT_NE(ReadFile("Report_Game.txt").find(line), std::string::npos);
  EXPECT_EQ(Shown(), (std::vector<int>{2}));
  ExpectSurfacesParallel("after the failed load");
}

// What a picture's wait takes away afterwards is the picture it showed and
// that picture's surface, once; one the stage drawing removed meanwhile is
// not looked for again.
TEST_F(PictureCommand, RemovalAfterAWaitFindsThePictureByIdentity) {
  ASSERT_TRUE(Start(16));
  PlaceHero(400, 300);
  chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  for (int n : {1, 2, 3}) Show(Picture(n));
  const cPictureInstance* second = &*std::next(world.Scene().m_Pictures.begin());
  EXPECT_EQ(world.Scene().RemovePicture(second), 1);
  EXPECT_EQ(Shown(), (std::vector<int>{1, 3}));
  ExpectSurfacesParallel("the second taken away");
  EXPECT_EQ(world.Scene().RemovePicture(second), 0);
  EXPECT_EQ(Shown(), (std::vector<int>{1, 3}));
  ExpectSurfacesParallel("nothing more taken away");
}

TEST_F(PictureCommand, NothingWhileTheProgramCloses) {
  ASSERT_TRUE(Start(16));
  PlaceHero(400, 300);
  chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  Show(Picture(2));
  world.Scene().m_bCloseRequested = 1;
  Show(Picture(1));
  Show(Picture(0));
  EXPECT_EQ(Shown(), (std::vector<int>{2}));
  ExpectSurfacesParallel("while closing");
}

TEST_F(PictureCommand, TheDeviceKeepsZoomedPicturesInSystemMemory) {
  ASSERT_TRUE(Start3D(32));
  PlaceHero(400, 300);
  chara = &world.AddChara(testsupport::CharaDef(), {5, 5});
  Show(Picture(2));
  cEdCommand zoomed = Picture(2);
  zoomed.m_vParams.At(7) = 150;
  Show(zoomed);
  ASSERT_EQ(Off_Picture.size(), 2u);
  ASSERT_TRUE(Off_Picture.front().lpDT);
  EXPECT_EQ(Off_Picture.front().lpDT->nMemType, DTMEMORYTYPE_VIDEO_RT);
  EXPECT_EQ(Off_Picture.back().lpDT->nMemType, DTMEMORYTYPE_SYSTEM);

  // A screen effect command that leaves none running gives up the stand-in back buffer.
  DDUseVirBackBuffer(1);
  cEdCommand none = CommandDef(ACTCMDTYPE_SCREEN_EFFECT);
  CmdScreenEffect(*chara, none);
  EXPECT_EQ(lpDTCon->bVirBackBuffer, 0);
}

}  // namespace

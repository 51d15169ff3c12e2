// Golden sheets of shots and swords on each back end (the software display
// at 8 and 16 bits, the 3D device at 32 bits): two shot pictures in both
// animation frames, facing left and right, at scale 1 and 2; a sword's
// front and top frames beside owners facing either way, at scale 1 and 2.
// UPDATE_GOLDEN=1 writes them anew.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chara_sheet_env.h"
#include "game/shot.h"
#include "platform/bmp_bytes.h"
#include "platform/host_path.h"
#include "support/map_builder.h"
#include "support/recording_renderer.h"

using namespace charadraw;

namespace {

struct ShotLayer {
  bool d3d;
  int bpp;
  const char* name;
};
const ShotLayer kShotLayers[] = {{false, 8, "shots_dd8"}, {false, 16, "shots_dd16"}, {true, 32, "shots3d_32"}};

// Shot.bmp, 64 × 32: pictures 0 (cells x 0 and 16, y 0) and 31 (cells x 32
// and 48, y 16), each drawn pointing left: a head in front, a body, and in
// frame 1 a tail.
void WriteShotSheet() {
  std::vector<uint8_t> px(64 * 32, kBlack);
  auto put = [&](int x0, int y0, int x1, int y1, int c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) px[static_cast<size_t>(y * 64 + x)] = static_cast<uint8_t>(c);
  };
  struct Cell {
    int x, y, head, body, tail;
  } cells[] = {
      {0, 0, kRed, kYellow, 0},  {16, 0, kRed, kOrange, kWhite},
      {32, 16, kMagenta, kCyan, 0}, {48, 16, kMagenta, kTeal, kWhite},
  };
  for (const Cell& c : cells) {
    put(c.x + 1, c.y + 4, c.x + 4, c.y + 11, c.head);
    put(c.x + 5, c.y + 6, c.x + 12, c.y + 9, c.body);
    if (c.tail) put(c.x + 13, c.y + 7, c.x + 14, c.y + 8, c.tail);
  }
  std::vector<uint32_t> table;
  for (int i = 0; i < 256; ++i) table.push_back(PaletteColour(i));
  std::string rows;
  for (int y = 31; y >= 0; --y) rows.append(reinterpret_cast<const char*>(px.data()) + y * 64, 64);
  using namespace bmpbytes;
  const std::string bytes = File(Info(64, 32, 8, 0, 256), Table(table), rows);
  ASSERT_TRUE(plat::WriteFileAtomic("bmp\\Shot.bmp", bytes.data(), bytes.size()));
}

}  // namespace

class ShotGolden : public CharaSheetTest {
 protected:
  ShotGolden() {
    WriteShotSheet();  // in place of the sheet env's own
    testsupport::MapBuilder(std::vector<std::string>(20, std::string(30, '.'))).Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    // Sword type 1: a blade held in front (24 × 8 from (0, 0)) and one
    // raised above (8 × 24 from (32, 0)).
    Database.m_vSwordType.resize(2);
    cEdSwordType& type = Database.m_vSwordType[1];
    type.m_vFrame.resize(2);
    const int frames[2][5] = {{0, 0, 24, 8, 0}, {32, 0, 8, 24, 2}};
    for (int i = 0; i < 2; ++i) {
      cEdSwordFrame& f = type.m_vFrame[i];
      f.m_nSrcX = frames[i][0];
      f.m_nSrcY = frames[i][1];
      f.m_nWidth = frames[i][2];
      f.m_nHeight = frames[i][3];
      f.m_nPlace = frames[i][4];
      f.m_nOffsetX = f.m_nOffsetY = 0;
      f.m_nTime = 1;
    }
  }
  ~ShotGolden() override { ReleaseSwords(); }

  bool Start(const ShotLayer& layer) {
    ReleaseSwords();
    if (!StartLayer(layer.d3d, layer.bpp)) return false;
    // The images of type 1 (4..7): facing left the hilt on the right,
    // facing right mirrored; the second pair the same for stretching.
    Off_Sword.resize(8);
    for (int i = 4; i < 8; ++i) {
      DDSURFACEDATA* sd = &Off_Sword[i];
      if (!DDCreateSurface(sd, 64, 32, 1, 1, 0, nullptr, 0)) return false;
      DDFillSurface(sd, kBlack);
      const bool right = (i & 1) != 0;
      DDFillRect(sd, right ? 4 : 0, 2, 20, 4, kSilver);
      DDFillRect(sd, right ? 0 : 20, 0, 4, 8, kBrown);
      DDFillRect(sd, right ? 22 : 0, 3, 2, 2, kWhite);
      DDFillRect(sd, 34, 0, 4, 18, kSilver);
      DDFillRect(sd, 32, 18, 8, 6, kBrown);
    }
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));
    return true;
  }

  void ReleaseSwords() {
    DDReleaseSurfaceVector(Off_Sword);
    Off_Sword.clear();
  }

  static void MoveTo(cGameObject& o, int L, int T) {
    o.UpdateScreenRect();
    o.m_rcHit.dLeft += L - o.m_rcScreen.nLeft;
    o.m_rcHit.dTop += T - o.m_rcScreen.nTop;
    o.UpdateScreenRect();
  }

  // A shot of `graphic` flying left or right, drawn at view (L, T) in
  // animation frame 0, or in frame 1 after eight unseen frames of play.
  void DrawShot(int graphic, int scale, int facing, int frame, int L, int T) {
    cEdShot def;
    def.m_nCount = 1;
    def.m_nGraphic = static_cast<int16_t>(graphic);
    def.m_nScale = static_cast<int8_t>(scale);
    SHOTSPAWN sp;
    sp.dVx = facing ? 1 : -1;
    sp.nX = sp.nY = 400;
    cShot shot;
    shot.Init(0, Owner(), SHOTMAKER_SHOT, def, sp);
    shot.m_nTargetId = OBJECT_NONE;
    MoveTo(shot, L, T);
    if (frame) {
      testsupport::RecordingRenderer unseen;
      for (int i = 0; i < 8; ++i) shot.Draw(&BackBuffer, 0);
    }
    shot.Draw(&BackBuffer, 1);
  }

  // An owner facing either way at view (L, T), shown as a grey square with
  // a white front edge, with its sword of type 1 on frame `frame`.
  void DrawSword(int scale, int facing, int frame, int L, int T) {
    cChara& owner = AddFigure(1, false, L, T);
    owner.m_nDirection = facing;
    DDFillRect(&BackBuffer, L, T, 32, 32, kGrey);
    DDFillRect(&BackBuffer, facing ? L + 28 : L, T, 4, 32, kWhite);
    cEdShot def;
    def.m_nPath = 1;
    def.m_nScale = static_cast<int8_t>(scale);
    cShot sword;
    sword.Init(0, owner, SHOTMAKER_SWORD, def, SHOTSPAWN());
    sword.m_nTargetId = OBJECT_NONE;
    sword.m_nFrame = frame;
    sword.StepSword();
    sword.UpdateScreenRect();
    sword.Draw(&BackBuffer, 1);
  }

 private:
  cCharaBase& Owner() {
    if (!m_owner) m_owner = &AddChara(1, false, 0, 0);
    return *m_owner;
  }
  cCharaBase* m_owner = nullptr;
};

TEST_F(ShotGolden, ShotsAndSwordsByFacingFrameAndScale) {
  for (const ShotLayer& layer : kShotLayers) {
    ASSERT_TRUE(Start(layer)) << layer.name;
    // Rows of pictures 0 and 31: left frames 0 and 1, right frames 0 and 1,
    // at scale 1, then at scale 2.
    for (int row = 0; row < 2; ++row)
      for (int k = 0; k < 4; ++k) {
        const int graphic = row == 0 ? 0 : 31, facing = k / 2, frame = k % 2;
        DrawShot(graphic, 1, facing, frame, 24 + k * 32, 24 + row * 48);
        DrawShot(graphic, 2, facing, frame, 184 + k * 48, 16 + row * 48);
      }
    // Swords in front and above, owners facing left then right; scale 1
    // on the left half, 2 on the right.
    for (int k = 0; k < 4; ++k) {
      const int facing = k % 2, frame = k / 2;
      DrawSword(1, facing, frame, 56 + k * 72, 200);
      DrawSword(2, facing, frame, 360 + (k % 2) * 128, 200 + (k / 2) * 120);
    }
    EXPECT_TRUE(testsupport::MatchesGolden(layer.name, Shown())) << layer.name;
  }
}

#pragma once
// Character drawing in a test world: effects of CharaEffect.dat written by
// hand, a character placed at a view point, and a back end chosen by its
// facts alone (the 3D device's record, the depth, the window, the virtual
// back buffer) for the drawings that the recorder takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/graphic_source.h"
#include "media/dd_layer.h"
#include "media/palette_scheme.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "support/builders.h"
#include "support/game_world.h"

namespace charadraw {

// One CharaEffect.dat entry: kind and p0..p4.
struct FxDef {
  int kind;
  int p[5];
};

// The back end as the drawing reads it.
struct BackEnd {
  bool d3d = false;
  int bpp = 16;
  bool vir = false;     // 3D: the virtual back buffer is on
  bool window = false;  // windowed
  bool stretch = false;  // software display: DD_VideoStretch (the first copy set stretches)
  std::string Name() const {
    return std::string(d3d ? "3D " : "DD ") + std::to_string(bpp) + (vir ? " vir" : "") + (window ? " window" : "") +
           (stretch ? " stretch" : "");
  }
};

// The tint the tinted characters take (animated colour 3).
constexpr uint32_t kTintColour = 0xFF336699;
constexpr uint32_t kTintOp = 7;
constexpr int kTintNumber = 3;

class CharaDrawTest : public ::testing::Test {
 protected:
  CharaDrawTest() {
    m_savedWindow = bWindowMode;
    // The invincible (tinted) characters keep the plain column.
    Database.m_vAnimeSet[0].m_nInvincibleCell = 0;
    SystemData.m_bD3DCharaBlend = 1;
    for (ANIMCOLOR& c : AnimColorTable) c = ANIMCOLOR{0, 0};
    AnimColorTable[kTintNumber] = ANIMCOLOR{kTintColour, kTintOp};
  }
  ~CharaDrawTest() override {
    lpDTCon = nullptr;
    bWindowMode = m_savedWindow;
    for (ANIMCOLOR& c : AnimColorTable) c = ANIMCOLOR{0, 0};
  }

  // Entry 0 (none) and then `defs` as entries 1, 2, ...; the run tables built.
  static void SetEffects(const std::vector<FxDef>& defs) {
    Database.m_vCharaEffect.resize(defs.size() + 1);
    Database.m_vCharaEffect[0].m_nKind = 0;
    for (size_t i = 0; i < defs.size(); ++i) {
      cEdCharaEffect& e = Database.m_vCharaEffect[i + 1];
      e.m_nKind = defs[i].kind;
      for (int j = 0; j < 5; ++j) e.m_anParam[j] = defs[i].p[j];
    }
    BuildDatabaseRunTables();
  }

  void Use(const BackEnd& b) {
    lpDTCon = b.d3d ? &m_device : nullptr;
    m_device.bVirBackBuffer = b.vir ? 1 : 0;
    nBpp = b.bpp;
    bWindowMode = b.window ? 1 : 0;
    SystemIni.nDD_VideoStretch = b.stretch ? 1 : 0;
    SelectCharaSurfaces();
  }

  // A character of graphic 16 (sheet 1, row 32) with base column 2, facing
  // right, at scale `scale`, its view rectangle's corner on (L, T); its own
  // animation empty (frame 0). Tinted: invincible with the tint number.
  cChara& AddChara(int scale = 1, bool tinted = false, int L = 100, int T = 200) {
    testsupport::CharaDef def;
    def.Scale(scale).Facing(1);
    def.Def().m_nGraphic = 16;
    def.Def().m_nGraphicOffset = 2;
    if (tinted) {
      def.Invincible(1);
      def.Def().m_nInvincibleBlink = kTintNumber;
    }
    cChara& c = world.AddChara(def, {2, 2});
    c.m_Anime = cAnimePlayer();
    PlaceAt(c, L, T);
    return c;
  }

  static void PlaceAt(cGameObject& c, int L, int T) {
    c.UpdateScreenRect();
    c.m_rcHit.dLeft += L - c.m_rcScreen.nLeft;
    c.m_rcHit.dTop += T - c.m_rcScreen.nTop;
    c.UpdateScreenRect();
  }

  testsupport::GameWorld world;
  DTCONDATA m_device;
  int m_savedWindow = 0;
};

}  // namespace charadraw

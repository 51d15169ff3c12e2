// The drawing calls of each character effect, in order with their
// rectangles, sources, flags and colour state, for every back end and depth
// branch: plain and scaled (twice the size), tinted (3D device only), the
// virtual back buffer, the window and the first copy set's stretching.
//
// The character: graphic 16 (sheet 1, row 32) at column 2, facing right, so
// it draws from T7 (first set) or T25 (second set, and the chosen one) at
// (64, 32), its other side T6 / T24; its view corner (100, 200), 32 x 32 or
// 64 x 64. The value of each effect is its start value p1.
#include <gtest/gtest.h>

#include "chara_draw_env.h"
#include "game/chara_effects.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "records/palette_ref.h"
#include "support/recording_renderer.h"

using namespace charadraw;

namespace {

const BackEnd DD8{false, 8}, DD16{false, 16}, DD32{false, 32}, DD16S{false, 16, false, false, true};
const BackEnd D3D16{true, 16}, D3D32{true, 32}, D3D32V{true, 32, true}, D3D32VW{true, 32, true, true},
    D3D16VW{true, 16, true, true};

// The tint set around a call.
const char* const kSet[] = {"DDSetDrawColor ff336699", "DDSetColorOp 7"};
const char* const kReset[] = {"DDResetDrawColor", "DDResetColorOp"};
std::vector<std::string> Tinted(const std::string& call) { return {kSet[0], kSet[1], call, kReset[0], kReset[1]}; }

// The scaled graphic copied opaque into a work surface.
std::string CopyScaled(const char* work, const char* blend = "") {
  return std::string(*blend ? "DDBltStretchBlend " : "DDBltStretch ") + work + " 0 0 64 64 T25 64 32 32 32 0" + blend;
}

struct CallCase {
  const char* name;
  FxDef def;
  BackEnd backEnd;
  int scale;
  bool tinted;
  std::vector<std::string> calls;
};

}  // namespace

class CharaFxCalls : public CharaDrawTest {
 protected:
  void Check(const CallCase& c) {
    SetEffects({c.def});
    Use(c.backEnd);
    cChara& chara = AddChara(c.scale, c.tinted);
    chara.m_CharaEffect.Start(1, 0, 0);
    testsupport::RecordingRenderer recorder;
    chara.Draw(&BackBuffer, 0);
    EXPECT_EQ(recorder.Take(), c.calls) << c.name << " on " << c.backEnd.Name() << " at scale " << c.scale
                                        << (c.tinted ? ", tinted" : "");
  }
};

TEST_F(CharaFxCalls, PlainBurstSplitAndWave) {
  const CallCase cases[] = {
      {"none", {0, {}}, DD16, 1, false, {"DDBlt Back 100 200 32 32 T7 64 32 1"}},
      {"none: no tint on the software display", {0, {}}, DD16, 1, true, {"DDBlt Back 100 200 32 32 T7 64 32 1"}},
      {"none", {0, {}}, D3D32, 1, true, {"DDBltBlend Back 100 200 32 32 T7 64 32 1 ff336699 7"}},
      {"none", {0, {}}, DD16, 2, false, {"DDBltStretch Back 100 200 64 64 T25 64 32 32 32 1"}},
      {"none", {0, {}}, DD16S, 2, false, {"DDBltStretch Back 100 200 64 64 T7 64 32 32 32 1"}},
      {"none", {0, {}}, D3D32, 2, true, {"DDBltStretchBlend Back 100 200 64 64 T25 64 32 32 32 1 ff336699 7"}},
      {"burst", {1, {1, 6, 20}}, DD16, 1, false, {"DDBltBurst Back 100 200 32 32 T7 64 32 6 1"}},
      {"burst", {1, {1, 6, 20}}, D3D32, 1, true, Tinted("DDBltBurst Back 100 200 32 32 T7 64 32 6 1")},
      {"burst: the distance scales", {1, {1, 6, 20}}, DD16, 2, false,
       {CopyScaled("T68"), "DDBltBurst Back 100 200 64 64 T68 0 0 12 1"}},
      {"burst", {1, {1, 6, 20}}, DD16S, 2, false,
       {"DDBltStretch T67 0 0 64 64 T7 64 32 32 32 0", "DDBltBurst Back 100 200 64 64 T67 0 0 12 1"}},
      {"burst", {1, {1, 6, 20}}, D3D32, 2, true,
       {CopyScaled("T68", " ff336699 7"), "DDBltBurst Back 100 200 64 64 T68 0 0 12 1"}},
      // Bands of 32 / 5 rounded up; 64 / 5 rounded up when scaled.
      {"split", {2, {1, 3, 9, 5}}, DD16, 1, false, {"DDBltSplit Back 100 200 32 32 7 3 T7 64 32 1 0"}},
      {"split", {2, {1, 3, 9, 5}}, DD16, 2, false,
       {CopyScaled("T68"), "DDBltSplit Back 100 200 64 64 13 6 T68 0 0 1 0"}},
      {"vertical split of no bands: one band", {3, {1, 3, 9, 0}}, D3D32, 1, true,
       Tinted("DDBltSplit Back 100 200 32 32 32 3 T7 64 32 1 1")},
      {"wave", {4, {1, 4, 8, 2, 3}}, DD16, 1, false, {"DDBltWave Back 100 200 32 32 2 4 0 3 T7 64 32 1 0"}},
      {"wave: amplitude and strip scale", {4, {1, 4, 8, 2, 3}}, DD16, 2, false,
       {CopyScaled("T68"), "DDBltWave Back 100 200 64 64 2 8 0 6 T68 0 0 1 0"}},
      {"vertical wave", {5, {1, 4, 8, 2, 3}}, D3D32, 1, true,
       Tinted("DDBltWave Back 100 200 32 32 2 4 0 3 T7 64 32 1 1")},
      {"blink starts hidden", {6, {1, 2}}, DD16, 1, false, {}},
  };
  for (const CallCase& c : cases) Check(c);
}

TEST_F(CharaFxCalls, RotationsCircleAndZoom) {
  const CallCase cases[] = {
      {"rotate A", {7, {1, 30, 90}}, DD16, 1, false, {"DDBltRotate Back 116 216 32 32 16 16 30 T25 64 32 1"}},
      // Turned at its sheet size in a square of 32 * sqrt 2, stretched to 64 * sqrt 2.
      {"rotate A", {7, {1, 30, 90}}, DD16, 2, false,
       {"DDFillRect T68 0 0 45 45 0", "DDBltRotate T68 22 22 32 32 16 16 30 T25 64 32 0",
        "DDBltStretch Back 87 187 90 90 T68 0 0 45 45 1"}},
      {"rotate A is B on the 3D device", {7, {1, 30, 90}}, D3D32, 1, true,
       Tinted("DDBltRotate Back 116 216 32 32 16 16 30 T25 64 32 1")},
      {"rotate A is B on the 3D device", {7, {1, 30, 90}}, D3D32, 2, false,
       {CopyScaled("T67"), "DDBltRotate Back 132 232 64 64 32 32 30 T67 0 0 1"}},
      {"rotate B", {8, {1, 30, 90}}, DD16, 1, true, {"DDBltRotate Back 116 216 32 32 16 16 30 T25 64 32 1"}},
      {"rotate B", {8, {1, 30, 90}}, DD16, 2, false,
       {CopyScaled("T68"), "DDBltRotate Back 132 232 64 64 32 32 30 T68 0 0 1"}},
      {"rotate B", {8, {1, 30, 90}}, D3D32, 2, true,
       {CopyScaled("T67", " ff336699 7"), "DDBltRotate Back 132 232 64 64 32 32 30 T67 0 0 1"}},
      {"rotate in depth", {9, {1, 10, 40}}, DD16, 1, false,
       {"DDBltDepthRotate Back 100 200 32 32 T25 64 32 T24 64 32 32 32 1 10 0"}},
      {"rotate in depth: the phase does not scale", {9, {1, 10, 40}}, D3D32, 2, true,
       Tinted("DDBltDepthRotate Back 100 200 64 64 T25 64 32 T24 64 32 32 32 1 10 0")},
      {"circle", {10, {1, 12, 30, 4}}, DD16, 1, false, {"DDBltCircle Back 116 216 16 16 12 4 T7 80 48 1"}},
      {"circle", {10, {1, 12, 30, 4}}, D3D32, 1, false,
       {"DDBlt T68 0 0 32 32 T25 64 32 0", "DDBltCircle Back 116 216 16 16 12 4 T68 16 16 1"}},
      {"circle of no band height: bands of 1, scaled", {10, {1, 12, 30, 0}}, DD16, 2, false,
       {CopyScaled("T68"), "DDBltCircle Back 132 232 32 32 24 2 T68 32 32 1"}},
      {"zoom", {11, {1, 40, 64}}, DD16, 1, false, {"DDBltStretch Back 96 196 40 40 T25 64 32 32 32 1"}},
      {"zoom at 32 keeps the size", {11, {1, 32, 64}}, DD16, 1, false,
       {"DDBltStretch Back 100 200 32 32 T25 64 32 32 32 1"}},
      {"zoom below 32 shrinks", {11, {1, 20, 64}}, D3D32, 1, true,
       Tinted("DDBltStretch Back 106 206 20 20 T25 64 32 32 32 1")},
      {"zoom", {11, {1, 40, 64}}, DD16, 2, false,
       {CopyScaled("T68"), "DDBltStretch Back 96 196 72 72 T68 0 0 64 64 1"}},
  };
  for (const CallCase& c : cases) Check(c);
}

TEST_F(CharaFxCalls, LensThroughItsThreeBranches) {
  // Centre offset (4, -2): g = (int)(sqrt 2 * (4 + 16)) = 28, strength 5.
  const FxDef lens{12, {1, 5, 20, 4, -2}};
  const std::string copy = "DDBlt T70 0 0 32 32 T7 64 32 0";
  const CallCase cases[] = {
      {"lens", lens, DD16, 1, false,
       {"DDFillRect T68 0 0 112 112 0", "DDBlt T68 0 0 32 32 T7 64 32 0",
        "DDBltLens Back 120 214 28 5 T68 20 14 1 0"}},
      {"lens clears 2g at other depths", lens, DD8, 1, false,
       {"DDFillRect T68 0 0 56 56 0", "DDBlt T68 0 0 32 32 T7 64 32 0", "DDBltLens Back 120 214 28 5 T68 20 14 1 0"}},
      {"lens", lens, DD32, 1, false,
       {"DDFillRect T68 0 0 56 56 0", "DDBlt T68 0 0 32 32 T7 64 32 0", "DDBltLens Back 120 214 28 5 T68 20 14 1 0"}},
      {"lens straight onto the target", lens, D3D32, 1, false,
       {"DDFillRect T70 0 0 112 112 0", copy, "DDBltLens Back 120 214 28 5 T70 20 14 1 0"}},
      {"lens tinted, through 69", lens, D3D32, 1, true,
       {"DDFillRect T70 0 0 112 112 0", kSet[0], kSet[1], copy, kReset[0], kReset[1],
        "DDFillRect T69 0 0 112 112 0", "DDBltLens T69 28 28 28 5 T70 20 14 1 1",
        "DDBltBlend Back 92 186 56 56 T69 0 0 1 ff336699 7"}},
      {"lens with the virtual back buffer", lens, D3D32V, 1, false,
       {"DDFillRect T70 0 0 112 112 0", copy, "DDFillRect T69 0 0 112 112 0",
        "DDBltLens T69 28 28 28 5 T70 20 14 1 0", "DDBlt Back 92 186 56 56 T69 0 0 1"}},
      {"lens clears in a window at 32 bits", lens, D3D32VW, 1, false,
       {"DDFillRect T70 0 0 112 112 0", copy, "DDFillRect T69 0 0 112 112 0",
        "DDBltLens T69 28 28 28 5 T70 20 14 1 1", "DDBlt Back 92 186 56 56 T69 0 0 1"}},
      {"lens", lens, D3D16VW, 1, false,
       {"DDFillRect T70 0 0 112 112 0", copy, "DDFillRect T69 0 0 112 112 0",
        "DDBltLens T69 28 28 28 5 T70 20 14 1 0", "DDBlt Back 92 186 56 56 T69 0 0 1"}},
      // Offset (8, -4), g = (int)(sqrt 2 * 40) = 56, strength 10.
      {"lens", lens, DD16, 2, false,
       {"DDFillRect T68 0 0 224 224 0", CopyScaled("T68"), "DDBltLens Back 140 228 56 10 T68 40 28 1 0"}},
  };
  for (const CallCase& c : cases) Check(c);
}

TEST_F(CharaFxCalls, ColourTranslucentMosaicAndBlur) {
  const FxDef colour{13, {1, 2, 4, 0x1234}};  // palette colour 0x34
  const FxDef half{14, {1, 2}};
  const FxDef mosaic{15, {1, 4, 8}};
  const FxDef blur{16, {1, 2, 6}};
  const std::string tintedCopy68 = "DDBltBlend T68 0 0 32 32 T7 64 32 0 ff336699 7";
  const CallCase cases[] = {
      {"colour", colour, DD16, 1, false, {"DDBltTint Back 100 200 32 32 T25 64 32 1 BasePalette BlendTable 52 2"}},
      {"colour", colour, D3D32, 1, true,
       {tintedCopy68, "DDBltTint Back 100 200 32 32 T68 0 0 1 BasePalette BlendTable 52 2"}},
      {"colour", colour, DD16, 2, false,
       {CopyScaled("T68"), "DDBltTint Back 100 200 64 64 T68 0 0 1 BasePalette BlendTable 52 2"}},
      {"translucent", half, DD8, 1, false, {"DDBltHalf Back 100 200 32 32 T25 64 32 1 BlendTable"}},
      {"translucent", half, D3D32, 1, true, {tintedCopy68, "DDBltHalf Back 100 200 32 32 T68 0 0 1 BlendTable"}},
      {"translucent", half, DD16, 2, false, {CopyScaled("T68"), "DDBltHalf Back 100 200 64 64 T68 0 0 1 BlendTable"}},
      {"mosaic", mosaic, DD16, 1, false, {"DDBltMosaic Back 100 200 32 32 4 T25 64 32 1"}},
      {"mosaic: the block does not scale", mosaic, DD16, 2, false,
       {CopyScaled("T68"), "DDBltMosaic Back 100 200 64 64 4 T68 0 0 1"}},
      {"mosaic", mosaic, D3D32, 2, false, {CopyScaled("T70"), "DDBltMosaic Back 100 200 64 64 4 T70 0 0 1"}},
      {"mosaic through 69", mosaic, D3D32, 2, true,
       {CopyScaled("T70", " ff336699 7"), "DDFillRect T69 0 0 128 128 0", "DDBltMosaic T69 0 0 64 64 4 T70 0 0 1",
        "DDBltBlend Back 100 200 64 64 T69 0 0 1 ff336699 7"}},
      {"mosaic through 69", mosaic, D3D32V, 2, false,
       {CopyScaled("T70"), "DDFillRect T69 0 0 128 128 0", "DDBltMosaic T69 0 0 64 64 4 T70 0 0 1",
        "DDBlt Back 100 200 64 64 T69 0 0 1"}},
      {"mosaic through 69", mosaic, D3D16, 1, false,
       {"DDBlt T70 0 0 32 32 T7 64 32 0", "DDFillRect T69 0 0 64 64 0", "DDBltMosaic T69 0 0 32 32 4 T70 0 0 1",
        "DDBlt Back 100 200 32 32 T69 0 0 1"}},
      {"blur tints at 8 bits", blur, DD8, 1, false,
       {"DDBltTint Back 100 200 32 32 T25 64 32 1 BasePalette BlendTable 31 2"}},
      {"blur tints at 8 bits", blur, DD8, 2, false,
       {CopyScaled("T68"), "DDBltTint Back 100 200 64 64 T68 0 0 1 BasePalette BlendTable 31 2"}},
      {"blur", blur, DD32, 1, false, {"DDBltBlur Back 100 200 32 32 2 2 T25 64 32 1"}},
      {"blur", blur, DD16, 2, false, {CopyScaled("T68"), "DDBltBlur Back 100 200 64 64 2 2 T68 0 0 1"}},
      {"blur through 69", blur, D3D32, 1, true,
       {"DDBltBlend T70 0 0 32 32 T7 64 32 0 ff336699 7", "DDFillRect T69 0 0 64 64 0",
        "DDBltBlur T69 0 0 32 32 2 2 T70 0 0 1", "DDBltBlend Back 100 200 32 32 T69 0 0 1 ff336699 7"}},
  };
  for (const CallCase& c : cases) Check(c);
}

TEST_F(CharaFxCalls, ACellSizeOfTheImageDecidesWhatCountsAsScaled) {
  // Extra image 1 with cells of 64 (scale 2): a character of scale 2 draws
  // it unscaled, one of scale 1 stretches it down from its 64-dot cell.
  Off_StageBmp.resize(4);
  Database.m_vBmpCharaExc.resize(2);
  Database.m_vBmpCharaExc[1].m_bLargeCell = 1;
  Database.m_vBmpCharaExc[1].m_nCellScale = 2;
  Use(DD16);
  for (int scale : {2, 1}) {
    cChara& c = AddChara(scale);
    c.m_Def.m_nGraphicKind = GRAPHICKIND_CHARA_BMP;
    c.m_nGraphic = 1;
    c.m_Def.m_nGraphicOffset = 0;
    testsupport::RecordingRenderer recorder;
    c.Draw(&BackBuffer, 0);
    const std::vector<std::string> want = scale == 2
                                              ? std::vector<std::string>{"DDBlt Back 100 200 64 64 S1 0 0 1"}
                                              : std::vector<std::string>{"DDBltStretch Back 100 200 32 32 S3 0 0 64 64 1"};
    EXPECT_EQ(recorder.Take(), want) << scale;
  }
}

TEST_F(CharaFxCalls, EveryKindDrawsOntoTheSurfaceItIsGiven) {
  std::vector<FxDef> defs;
  for (int kind = 1; kind < CHARAEFFECT_COUNT; ++kind) defs.push_back({kind, {1, 8, 8, 2, 2}});
  SetEffects(defs);
  for (const BackEnd& b : {DD16, D3D32, D3D32V})
    for (int scale : {1, 2})
      for (int kind = 0; kind < CHARAEFFECT_COUNT; ++kind) {
        Use(b);
        cChara& chara = AddChara(scale, true);
        chara.m_CharaEffect.Start(kind, 0, 0);
        if (kind == CHARAEFFECT_BLINK) chara.m_CharaEffect.m_bShown = 1;
        testsupport::RecordingRenderer recorder;
        chara.Draw(&SurfaceTable[45], 0);
        const std::vector<std::string> calls = recorder.Take();
        EXPECT_FALSE(calls.empty()) << kind;
        for (const std::string& call : calls)
          EXPECT_EQ(call.find(" Back "), std::string::npos) << b.Name() << ", kind " << kind << ": " << call;
      }
}

#include "records/param_desc.h"

#include "platform/text_encoding.h"

PARAMDESC::PARAMDESC(const char* name, int min, int max, int def)
    : strName(name ? name : ""),
      nMin(static_cast<int16_t>(min)),
      nMax(static_cast<int16_t>(max)),
      nDefault(static_cast<int16_t>(def)) {}

PARAMDESC CharaEffectParams[CHARAEFFECT_KINDS][EFFECT_PARAMS];
PARAMDESC ScrEffectParams[SCREFFECT_KINDS][EFFECT_PARAMS];

namespace {

// The labels are kept readable here and become Shift-JIS once, when built.
struct SourceDesc {
  int kind;
  int param;
  const char* label;  // UTF-8
  int min, max, def;
};

const char kTime[] = "実行時間(1/10s)";

const SourceDesc kCharaSource[] = {
    {1, 0, kTime, 1, 9999, 5},
    {1, 1, "開始位置(dot)", 0, 999, 0},
    {1, 2, "終了位置(dot)", 0, 999, 32},
    {2, 0, kTime, 1, 9999, 5},
    {2, 1, "開始位置(dot)", 0, 999, 0},
    {2, 2, "終了位置(dot)", 0, 999, 32},
    {2, 3, "分割数", 2, 16, 4},
    {3, 0, kTime, 1, 9999, 5},
    {3, 1, "開始位置(dot)", 0, 999, 0},
    {3, 2, "終了位置(dot)", 0, 999, 32},
    {3, 3, "分割数", 2, 16, 4},
    {4, 0, kTime, 1, 9999, 5},
    {4, 1, "開始幅(dot)", 0, 999, 0},
    {4, 2, "終了幅(dot)", 0, 999, 32},
    {4, 3, "波の数", 2, 16, 2},
    {4, 4, "波の粗さ(dot)", 1, 4, 2},
    {5, 0, kTime, 1, 9999, 5},
    {5, 1, "開始幅(dot)", 0, 999, 0},
    {5, 2, "終了幅(dot)", 0, 999, 32},
    {5, 3, "波の数", 2, 16, 2},
    {5, 4, "波の粗さ(dot)", 1, 4, 2},
    {6, 0, kTime, 1, 9999, 10},
    {6, 1, "点滅間隔(1/60s)", 1, 9999, 2},
    {7, 0, kTime, 1, 9999, 10},
    {7, 1, "開始角度", 0, 9999, 0},
    {7, 2, "終了角度", 0, 9999, 1440},
    {8, 0, kTime, 1, 9999, 10},
    {8, 1, "開始角度", 0, 9999, 0},
    {8, 2, "終了角度", 0, 9999, 1440},
    {9, 0, kTime, 1, 9999, 10},
    {9, 1, "開始位置(dot)", 0, 9999, 0},
    {9, 2, "終了位置(dot)", 0, 9999, 256},
    {10, 0, kTime, 1, 9999, 5},
    {10, 1, "開始半径(dot)", 0, 32, 32},
    {10, 2, "終了半径(dot)", 0, 32, 0},
    {10, 3, "円の粗さ(dot)", 1, 4, 2},
    {11, 0, kTime, 1, 9999, 10},
    {11, 1, "開始幅(dot)", 0, 320, 32},
    {11, 2, "終了幅(dot)", 0, 320, 64},
    {12, 0, kTime, 1, 9999, 10},
    {12, 1, "開始距離", 0, 100, 100},
    {12, 2, "終了距離", 0, 100, 5},
    {12, 3, "ズレX(dot)", -16, 16, 0},
    {12, 4, "ズレY(dot)", -16, 16, 0},
    {13, 0, kTime, 1, 9999, 10},
    {13, 1, "開始合成度", 1, 4, 1},
    {13, 2, "終了合成度", 1, 4, 1},
    {13, 3, "色", 16, 207, 16},
    {14, 0, kTime, 1, 9999, 10},
    {14, 1, "点滅間隔(1/60s)", 1, 9999, 9999},
    {15, 0, kTime, 1, 9999, 10},
    {15, 1, "開始強度", 1, 16, 1},
    {15, 2, "終了強度", 1, 16, 8},
    {16, 0, kTime, 1, 9999, 10},
    {16, 1, "開始強度", 1, 4, 1},
    {16, 2, "終了強度", 1, 4, 4},
};

const SourceDesc kScrSource[] = {
    {1, 1, "開始座標X(dot)", -640, 640, 0},
    {1, 2, "開始座標Y(dot)", -480, 480, 0},
    {1, 3, "終了座標X(dot)", -640, 640, 640},
    {1, 4, "終了座標Y(dot)", -480, 480, 0},
    {2, 1, "振動幅(dot)", 1, 640, 4},
    {2, 2, "振動回数", 1, 9999, 4},
    {3, 1, "振動幅(dot)", 1, 480, 4},
    {3, 2, "振動回数", 1, 9999, 4},
    {4, 1, "開始位置(dot)", 0, 640, 0},
    {4, 2, "終了位置(dot)", 0, 640, 640},
    {4, 3, "分割数", 2, 240, 15},
    {5, 1, "開始位置(dot)", 0, 480, 0},
    {5, 2, "終了位置(dot)", 0, 480, 480},
    {5, 3, "分割数", 2, 320, 20},
    {6, 1, "開始幅(dot)", 0, 640, 0},
    {6, 2, "終了幅(dot)", 0, 640, 640},
    {6, 3, "波の数", 2, 240, 4},
    {6, 4, "波の粗さ(dot)", 1, 48, 8},
    {7, 1, "開始幅(dot)", 0, 480, 0},
    {7, 2, "終了幅(dot)", 0, 480, 480},
    {7, 3, "波の数", 2, 320, 4},
    {7, 4, "波の粗さ(dot)", 1, 64, 10},
    {8, 1, "点滅間隔(1/60s)", 1, 9999, 10},
    {9, 1, "開始角度", 0, 9999, 0},
    {9, 2, "終了角度", 0, 9999, 1440},
    {10, 1, "開始半径(dot)", 0, 640, 640},
    {10, 2, "終了半径(dot)", 0, 640, 0},
    {10, 3, "円の粗さ(dot)", 1, 48, 8},
    {11, 1, "開始幅(dot)", 0, 6400, 640},
    {11, 2, "終了幅(dot)", 0, 6400, 1280},
    {12, 1, "開始距離", 0, 1500, 1500},
    {12, 2, "終了距離", 0, 1500, 5},
    {12, 3, "ズレX(dot)", -320, 320, 0},
    {12, 4, "ズレY(dot)", -240, 240, 0},
    {13, 1, "開始強度", 1, 240, 1},
    {13, 2, "終了強度", 1, 240, 60},
};

template <size_t K, size_t N>
void Build(PARAMDESC (&table)[K][EFFECT_PARAMS], const SourceDesc (&source)[N]) {
  for (auto& kind : table)
    for (PARAMDESC& d : kind) d = PARAMDESC();
  for (const SourceDesc& s : source)
    table[s.kind][s.param] = PARAMDESC(plat::Utf8ToCp932(s.label).c_str(), s.min, s.max, s.def);
}

}  // namespace

void InitCharaEffectParams() { Build(CharaEffectParams, kCharaSource); }

void InitScrEffectParams() {
  Build(ScrEffectParams, kScrSource);
  // Parameter 0 of every screen effect is its run time.
  for (int kind = 1; kind < SCREFFECT_KINDS; ++kind)
    ScrEffectParams[kind][0] = PARAMDESC(plat::Utf8ToCp932(kTime).c_str(), 1, 9999, 10);
}

namespace {
// Runs after the two tables above are constructed (same file, later definition).
struct BuildParamTables {
  BuildParamTables() {
    InitCharaEffectParams();
    InitScrEffectParams();
  }
} g_buildParamTables;
}  // namespace

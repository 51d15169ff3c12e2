#include "records/shot_tables.h"

SHOTKINDDESC ShotFormTable[SHOTFORM_COUNT];
SHOTKINDDESC ShotPathTable[SHOTPATH_COUNT];

namespace {

struct PARAMSOURCE {
  const char* label;
  int min, max, def;
};

struct KINDSOURCE {
  const char* label;
  PARAMSOURCE params[SHOTKIND_PARAMS];
};

const char kInterval[] = "\x8A\xD4\x8A\x75(hbl)";                  // 間隔(hbl)
const char kCourse[] = "\x8B\x4F\x93\xB9\x95\xCF\x8D\x58(hbl)";      // 軌道変更(hbl)
const char kShotTargetSide[] = "\x91\xCE\x8F\xDB\x90\xA8\x97\xCD";             // 対象勢力
const char kHomeStart[] = "\x97\x55\x93\xB1\x8A\x4A\x8E\x6E(hbl)";  // 誘導開始(hbl)
const char kHomeEnd[] = "\x97\x55\x93\xB1\x8F\x49\x97\xB9(hbl)";    // 誘導終了(hbl)

const KINDSOURCE kForms[SHOTFORM_COUNT] = {
    {"\x92\xBC\x90\x69" "A", {{kInterval, 0, 40, 0}}},  // 直進A
    {"\x92\xBC\x90\x69" "B", {{kInterval, 0, 40, 0}}},  // 直進B
    {"\x8A\x67\x8E\x55", {{"\x8A\x70\x93\x78", 0, 180, 30}}},  // 拡散: 角度
    // 落雷: 間隔(hbl), 列の数, 列の間隔(hbl)
    {"\x97\x8E\x97\x8B",
     {{kInterval, 0, 40, 0},
      {"\x97\xF1\x82\xCC\x90\x94", 1, 50, 1},
      {"\x97\xF1\x82\xCC\x8A\xD4\x8A\x75(hbl)", 0, 40, 0}}},
    {"\x94\x9A\x94\xAD", {}},  // 爆発
    {"\x95\xEF\x88\xCD", {{"\x8B\x97\x97\xA3(hbl)", 0, 40, 6}}},  // 包囲: 距離(hbl)
};

const KINDSOURCE kPaths[SHOTPATH_COUNT] = {
    {"\x92\xBC\x90\x69", {}},  // 直進
    {"\x8E\xE5\x90\x6C\x8C\xF6\x82\xF0\x91\x5F\x82\xA4", {{kCourse, 0, 40, 0}}},  // 主人公を狙う
    // 近いキャラを狙う
    {"\x8B\xDF\x82\xA2\x83\x4C\x83\x83\x83\x89\x82\xF0\x91\x5F\x82\xA4",
     {{kCourse, 0, 40, 0}, {kShotTargetSide, 0, 7, 0}}},
    // ターゲットを狙う
    {"\x83\x5E\x81\x5B\x83\x51\x83\x62\x83\x67\x82\xF0\x91\x5F\x82\xA4", {{kCourse, 0, 40, 0}}},
    // 主人公へ誘導
    {"\x8E\xE5\x90\x6C\x8C\xF6\x82\xD6\x97\x55\x93\xB1",
     {{kHomeStart, 0, 40, 0}, {kHomeEnd, 0, 999, 999}}},
    // 近いキャラへ誘導（対象死亡時、誘導を無効化）
    {"\x8B\xDF\x82\xA2\x83\x4C\x83\x83\x83\x89\x82\xD6\x97\x55\x93\xB1\x81\x69\x91\xCE\x8F\xDB\x8E\x80"
     "\x96\x53\x8E\x9E\x81\x41\x97\x55\x93\xB1\x82\xF0\x96\xB3\x8C\xF8\x89\xBB\x81\x6A",
     {{kHomeStart, 0, 40, 0}, {kHomeEnd, 0, 999, 999}, {kShotTargetSide, 0, 7, 0}}},
    // ターゲットへ誘導
    {"\x83\x5E\x81\x5B\x83\x51\x83\x62\x83\x67\x82\xD6\x97\x55\x93\xB1",
     {{kHomeStart, 0, 40, 0}, {kHomeEnd, 0, 999, 999}}},
    // 近いキャラへ誘導（対象死亡時、対象を変更）
    {"\x8B\xDF\x82\xA2\x83\x4C\x83\x83\x83\x89\x82\xD6\x97\x55\x93\xB1\x81\x69\x91\xCE\x8F\xDB\x8E\x80"
     "\x96\x53\x8E\x9E\x81\x41\x91\xCE\x8F\xDB\x82\xF0\x95\xCF\x8D\x58\x81\x6A",
     {{kHomeStart, 0, 40, 0}, {kHomeEnd, 0, 999, 999}, {kShotTargetSide, 0, 7, 0}}},
    // ウェーブ: 波の最大(hbl), 波の速度, 開始角度
    {"\x83\x45\x83\x46\x81\x5B\x83\x75",
     {{"\x94\x67\x82\xCC\x8D\xC5\x91\xE5(hbl)", 0, 100, 4},
      {"\x94\x67\x82\xCC\x91\xAC\x93\x78", 0, 100, 4},
      {"\x8A\x4A\x8E\x6E\x8A\x70\x93\x78", 0, 359, 0}}},
    {"\x97\x8E\x89\xBA", {{kCourse, 0, 40, 0}}},  // 落下
};

template <size_t N>
void Build(SHOTKINDDESC (&table)[N], const KINDSOURCE (&source)[N]) {
  for (size_t k = 0; k < N; ++k) {
    table[k].strName = source[k].label;
    for (int p = 0; p < SHOTKIND_PARAMS; ++p) {
      const PARAMSOURCE& s = source[k].params[p];
      table[k].aParam[p] = PARAMDESC(s.label, s.min, s.max, s.def);
    }
  }
}

}  // namespace

void InitShotFormParams() { Build(ShotFormTable, kForms); }
void InitShotPathParams() { Build(ShotPathTable, kPaths); }

namespace {
// Runs after the two tables above are constructed (same file, later definition).
struct BuildShotTables {
  BuildShotTables() {
    InitShotFormParams();
    InitShotPathParams();
  }
} g_buildShotTables;
}  // namespace

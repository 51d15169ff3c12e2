#pragma once
// A stage map from rows of text, one character per cell:
//   '.' or ' '  empty
//   '#'         solid block
//   'X'         deadly block
//   '0'..'7'    solid block that objects of that group pass through
//   any other   empty, and a placement mark that Find reports (such as 'H'
//               for the hero or 'e' for enemies)
// Build sets the stage's width and height (and its active area, 320 dots
// around the map), sets up both view axes as the stage set-up does, fills
// MapCell (the 10-cell border and the padding of each row empty, the blocks
// in their cells) and puts the blocks into the stage's placed blocks; Place
// adds a placed character or item at every cell of a mark.
//
//   MapBuilder map({"..........",
//                   "H....e....",
//                   "####..####"});
//   map.Build();
//   auto [cx, cy] = map.Find('H');  // (0, 1), cells inside the border
#include <string>
#include <utility>
#include <vector>

#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"

class cSceneStage;
class cSceneStageData;

namespace testsupport {

using Cell = std::pair<int, int>;  // column, row inside the border

// The empty cells around the map on every side, and the left or top edge in
// dots of a cell counted inside that border.
constexpr int kMapBorder = 10;
inline double CellDot(int cell) { return (cell + kMapBorder) * 32.0; }

class MapBuilder {
 public:
  explicit MapBuilder(std::vector<std::string> rows);

  // The stage's map on the running stage (StageData()).
  void Build() const;
  void Build(cSceneStageData& scene) const;
  // Build, then the view held at dot 320 on both axes (no auto scroll) and
  // the scene in play with no time limit: where the play-step tests start.
  void BuildForPlay(cSceneStage& scene) const;

  int Width() const { return m_width; }
  int Height() const { return static_cast<int>(m_rows.size()); }
  // A placement of `def` (its cell set) on every cell marked `c`, appended
  // to Stage.m_vPlacedChara / m_vPlacedItem; the placements made.
  int PlaceCharas(char c, const cEdChara& def) const;
  int PlaceItems(char c, const cEdItem& def) const;

  // The first placement mark `c` in reading order; (−1, −1) when none.
  Cell Find(char c) const;
  std::vector<Cell> FindAll(char c) const;
  // The block a map character stands for.
  static cEdBlock BlockFor(char c);

 private:
  std::vector<std::string> m_rows;
  int m_width = 0;
};

}  // namespace testsupport

#pragma once
// The world map (scene 1), the hub of the story: a 20 x 15 cell window of
// WorldMap with the walker fixed in its cell (9, 7). The walker moves a cell
// per key over the map's chips; a node's open entry decides whether its cell
// can be entered and, for a stage entrance, offers the stage. Cancel opens
// the map menu (scene 2); a confirmed stage starts the stage (scene 4). The
// walker's cell and direction live in PlayData and so survive the scene.
#include <cstdint>

#include "frontend/scene_frame.h"
#include "records/world_map.h"

// The world map's screen positions: the confirmation (its x is replaced
// each frame by the left edge that centres it on x = 304) and the ranking.
extern MENUANCHOR WorldConfirmAnchor;
extern MENUANCHOR WorldRankingAnchor;

// Walking directions of the walker (PlayData's m_nWalkDir).
constexpr int WALK_DOWN = 0;
constexpr int WALK_UP = 1;
constexpr int WALK_LEFT = 2;
constexpr int WALK_RIGHT = 3;

class cSceneWorldMap : public cFrontScene<cSceneWorldMap> {
 public:
  cSceneWorldMap();

  // Names the map's background picture (surface definition 54) before the
  // frame loads the scene's images.
  void Init() override;
  // Phase 0: the map comes up; then a walker back from a stage's retry
  // menu returns to the cell it came from, and an uncleared stage that
  // cannot be passed starts at once (unless the map menu led here).
  void FadeIn() override;
  // Phase 3: the map stays drawn under the fade.
  void FadeOut() override;

  // Phase 1: walking, the ranking view and its category, cancel to the menu.
  int Walk();
  // Phase 2: "enter this stage?" over the map; the stage file is loaded
  // when the question opens.
  int ConfirmStage();

  // The frame's calls (see cFrontScene).
  void InitScene();
  void DrawScreen() { DrawScreen(true); }

  // One move of the walker by the direction bits `keys` (left, right, up,
  // down in that priority, kept inside the map). A move onto a blocked chip
  // without an open entry, or onto an open entry of kind wall, is refused
  // and the walker stays. Re-renders the map when the view moved.
  void MoveCursor(uint32_t keys);
  // The view's top-left cell: the walker's cell less (9, 7).
  void SetViewOrigin();
  // The first entry of `node` whose requirements hold (cleared stage,
  // common variable test, best-score total); null for none or no node.
  static cEdWorldRoute* FindOpenRoute(cEdWorldNode* node);
  // 1 when the entry's stage is cleared (0 for null or a stage number
  // outside the clear flags).
  static int IsRouteCleared(const cEdWorldRoute* route);
  // 1 when the walker may stand on the entry without playing it: its pass
  // flag, or its stage cleared.
  static int IsRoutePassable(const cEdWorldRoute* route);
  // The entrance under the walker becomes the shown one: its stage path,
  // its best score and (with rankings) its ranking table.
  void SelectRoute();
  // PlayData for the stage just loaded from the entrance under the walker:
  // path, stage number, area 1, start lives and the entered entrance.
  void PrepareStage();

  // Cell index of (x, y) in WorldMap's grid, each coordinate kept inside
  // the map.
  static int CellIndex(int x, int y);
  int CellIndexOf(const CURSORPOS& pos) const { return CellIndex(pos.nCol, pos.nRow); }
  // The chip of cell (x, y) (kept inside the map); null when the cell names
  // no chip of the chip list.
  static const cEdWorldChip* ChipAt(int x, int y);

  // The map window into the map surface (SurfaceTable 67): fill and
  // picture, chips, then the nodes with an open entry.
  void RenderMap();
  void DrawMapBackground();
  void DrawMapChips();
  void DrawMapNodes();
  // The map, the walker and the lives; with `overlay` and a stage entrance
  // under the walker also its ranking, label and best score.
  void DrawScreen(bool overlay);
  // The walker at (288, 224) in its direction; its step changes every 40 draws.
  void DrawWalker();
  // The 272 x 352 ranking surface in Off_Scene, drawn; a failure closes the
  // program.
  bool CreateRankingSurface();
  void DrawRanking();

  // Back to the state of a fresh program (the last rendered view, the
  // walker's step counter).
  static void ResetStatics();

  int32_t m_nViewX = 0;  // the window's top-left cell; may be negative
  int32_t m_nViewY = 0;
  cEdWorldNode* m_lpNode = nullptr;    // the node under the walker
  cEdWorldRoute* m_lpRoute = nullptr;  // its open entry
  int32_t m_nDir = WALK_DOWN;
  CURSORPOS m_PrevPos{};  // the walker before its last move
  CURSORPOS m_SelPos{};   // the last stage entrance selected
  int32_t m_nStageBest = 0;    // the selected stage's best total score
  int32_t m_bStageLoaded = 0;  // the confirmation's stage file loaded
  int32_t m_bEntryFailed = 0;  // the direct entry failed: the program closes

  static CELLPOS s_LastView;      // the view origin the map surface shows
  static int32_t s_nWalkerCount;  // the walker's draws, 0..79

 private:
  // System images of the scene and its map surface (SurfaceTable entries).
  static constexpr int kWindowImage = 45;
  static constexpr int kAccessoryImage = 49;
  static constexpr int kChipImage = 52;
  static constexpr int kEventImage = 53;
  static constexpr int kMapSurface = 67;

  static constexpr uint16_t kDecide = 1;  // buttons
  static constexpr uint16_t kCancel = 2;
  static constexpr uint16_t kRankingView = 4;
  static constexpr uint16_t kRankingCategory = 8;
  static constexpr uint32_t kDirections = 15;  // left, right, up, down

  // The map window: 20 x 15 cells of 32 dots, the walker drawn in its cell
  // (9, 7), its step changing after half of its 80-draw cycle.
  static constexpr int kCell = 32;
  static constexpr int kWindowCols = 20;
  static constexpr int kWindowRows = 15;
  static constexpr int kChipSheetCols = 5;
  static constexpr int kWalkerCol = 9;
  static constexpr int kWalkerRow = 7;
  static constexpr int kWalkerX = 288;
  static constexpr int kWalkerY = 224;
  static constexpr int kWalkerCycle = 80;

  static constexpr int kRankingW = 272;  // the ranking surface
  static constexpr int kRankingH = 352;
  static constexpr int kConfirmText = 10;  // System.dat texts 10, 11: the confirmation

  // Node and open entry of the walker's cell.
  void FindNodeUnderWalker();
  bool IsStageEntrance() const { return m_lpRoute && m_lpRoute->m_nKind == WORLDROUTE_STAGE; }
  // Buttons 4 (ranking view) and 8 (ranking category).
  void HandleRankingButtons(uint16_t buttons);
  // The confirmation closed without entering.
  void Decline();
};

#pragma once
// The world map of the story mode: a grid of map chips, the nodes placed on
// it (stage entrances, roads and walls, each with entries whose requirements
// decide which one is open), the walker's start cell and the background.
// Start-up reads data\WorldMap.dat into WorldMap once; the world-map scene,
// the progress record and the clear logic only read it afterwards.
#include <cstdint>
#include <string>

#include "records/record.h"

// What a chip number of the grid stands for.
class cEdWorldChip : public cRecord {
 public:
  int32_t m_nAux = 0;      // kept and saved
  int32_t m_bBlocked = 0;  // 1: the walker cannot enter (unless a node's open entry rules the cell)
  int32_t m_nGraphic = 0;  // cell of the chip sheet: column n mod 5, row n / 5
  std::string m_strAux;    // kept and saved
  std::string m_strLabel;  // the editor's name for the attribute

  cEdWorldChip() { Clear(); }
  void RegisterFields(int version) override;
};

// Entry kinds of a node.
enum WORLDROUTEKIND { WORLDROUTE_STAGE, WORLDROUTE_ROAD, WORLDROUTE_WALL };

// One entry of a node. The first entry whose requirements all hold is the
// node's open entry; only it counts.
class cEdWorldRoute : public cRecord {
 public:
  int32_t m_nKind = 0;        // WORLDROUTEKIND
  int32_t m_nIcon = 0;        // row of the node-icon sheet (column 1 once cleared)
  int32_t m_nStageNo = 0;     // index into the progress record's stage-clear flags
  int32_t m_bPassable = 0;    // the walker may pass without clearing the stage
  int32_t m_bReentry = 0;     // the stage may be entered again once cleared
  int32_t m_nAfterClear = 0;  // 0 nothing, 1 the second round starts, 2 back to the title
  int32_t m_nNeedStage = 0;   // above 0: open only once that stage is cleared
  int32_t m_nVarNo = 0;       // not 0: open only when common variable m_nVarNo ...
  int32_t m_nVarValue = 0;    // ... compares true with this value
  int32_t m_nVarCmp = 0;      // 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <, 6 divisible, 7 not divisible
  int32_t m_nNeedTotal = 0;   // open only when the world map's tallies sum to this (from version 209)
  std::string m_strAux;       // kept and saved
  std::string m_strStageFile;  // loaded as a numbered stage

  cEdWorldRoute() { Clear(); }
  void RegisterFields(int version) override;
  // The segment; files of version 208 and older have no total and read it as 0.
  void Load(cDataReader& r) override;
};

// A node on the grid with its entries in priority order.
class cEdWorldNode : public cRecord {
 public:
  int32_t m_nX = 0;
  int32_t m_nY = 0;
  std::string m_strName;
  cVector<cEdWorldRoute> m_vRoute;

  // Cleared, with one default entry.
  cEdWorldNode();
  // Cleared; the entry list is cut or filled to exactly one entry.
  void Reset();
  void RegisterFields(int version) override;
  // The segment, then its entries (the file's replace the node's).
  void Load(cDataReader& r) override;
  // Normalise, the segment, then the entries.
  void Save(cDataWriter& w) override;
  // Every entry's normalisation, which changes nothing.
  void Normalise();
};

// A cell position of the grid, in cells.
struct CELLPOS {
  int32_t x = 0;
  int32_t y = 0;
};

// The largest grid side a map may have; larger sizes in a file are damage.
constexpr int32_t WORLDMAP_MAX_SIDE = 1024;

class cEdWorldMap : public cRecord {
 public:
  int32_t m_nWidth = 20;  // cells of 32 x 32 dots
  int32_t m_nHeight = 15;
  int32_t m_nPitch = 32;  // row pitch of m_vCell: a power of two, not below m_nWidth
  int32_t m_nPitch_Shift = 5;
  int32_t m_nStartX = 9;  // the walker's start cell (a new story, a second round)
  int32_t m_nStartY = 7;
  int32_t m_nBackColor = 16;  // palette number filling the screen behind the map
  int32_t m_bShowImage = 0;   // 1: m_strFile is drawn over the fill, scrolled with the view
  std::string m_strName;
  std::string m_strFile;
  cVector<cEdWorldChip> m_vChip;  // indexed by chip number
  // Chip number of cell (x, y) at x + (y << m_nPitch_Shift); m_nHeight x
  // m_nPitch entries once loaded or normalised.
  cVector<int32_t> m_vCell;
  cVector<cEdWorldNode> m_vNode;
  cVector<cEdWorldNode> m_vNodeAux;  // kept, normalised and saved; the game never uses it

  cEdWorldMap();
  // A new map: 20 x 15 of chip 0, ten chips (0 to 4 impassable), start
  // (9, 7), no nodes, one auxiliary node named "デフォルト".
  void Reset();
  void RegisterFields(int version) override;
  // The segment, chips, cells and both node lists, then Normalise.
  void Load(cDataReader& r) override;
  // Normalise, then the layout that Load reads.
  void Save(cDataWriter& w) override;

  // Fits the grid to its size (see the .cpp), lowers the start cell into the
  // grid, and removes the nodes outside it. `cellsHeld`: the cells a file
  // held, which bounds the rows added to a damaged grid.
  void Normalise(int64_t cellsHeld = INT64_MAX);

  // Resizes the grid to width x height cells (1 to WORLDMAP_MAX_SIDE each),
  // keeping the cells that both sizes share. 0 and nothing changed for any
  // other size.
  int SetSize(int width, int height);

  // pitch = the smallest power of two not below n, shift its log2 (1 and 0
  // for n of 1 or less).
  static void CalcPitch(int32_t& pitch, int32_t& shift, int n);

  // The first node at the cell, or nullptr. The world-map scene asks for the
  // walker's cell.
  cEdWorldNode* FindNode(int x, int y);
  cEdWorldNode* FindNodeAt(const CELLPOS& pos) { return FindNode(pos.x, pos.y); }

  // 1 when a stage entrance of m_vNode names the stage `text`, given as the
  // stage file's name without its extension and its area suffix, ending in
  // "." (stage05-1.stg4 is named "stage05."); else 0.
  int HasStage(const char* text);
};

// 1 when the texts are equal byte for byte (case-sensitive), else 0.
int StrEqual(const char* a, const char* b);

extern cEdWorldMap WorldMap;

#include "game/graphic_source.h"

#include "base/checked_convert.h"
#include "game/game_object.h"
#include "game/play_drawing.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "records/database.h"
#include "records/palette_ref.h"
#include "records/system_ini.h"

DDSURFACEDATA* lpMarkSheet = nullptr;
DDSURFACEDATA* lpEffectWork1 = nullptr;
DDSURFACEDATA* lpEffectWork2 = nullptr;

namespace {

DDSURFACEDATA* Entry(int i) { return i >= 0 && i < SURFACE_TABLE_SIZE ? &SurfaceTable[i] : nullptr; }

DDSURFACEDATA* StageBmp(int i) { return i >= 0 && i < Off_StageBmp.Size() ? &Off_StageBmp[i] : nullptr; }

// Stretched drawing uses the first copy set only under DirectDraw with
// DD_VideoStretch, which 8-bit colour switches off.
bool FirstSetStretches() { return !lpDTCon && SystemIni.nDD_VideoStretch != 0 && nBpp != 8; }

// The Bmp_CharaExc.dat entry of extra image n; none past the table.
const cEdBmpCharaExc* CharaImage(int n) {
  return n >= 0 && n < Database.m_vBmpCharaExc.Size() ? &Database.m_vBmpCharaExc[n] : nullptr;
}

// The cell of `column` in an extra character image.
void CharaImageCell(GRAPHICSOURCE& out, const cEdBmpCharaExc* image, int column) {
  if (image && image->m_bLargeCell) {
    out.bCellSize = 1;
    out.nCellScale = image->CellScale();
    image->CellOrigin(column, out.nSrcX, out.nSrcY);
  } else {
    out.nSrcX = SaturateToInt(static_cast<int64_t>(column & 15) * 32);
    out.nSrcY = SaturateToInt(static_cast<int64_t>(column / 16) * 32);
  }
}

void CharaSheet(GRAPHICSOURCE& out, int mode, int number, int column, const cGameObject* obj, int frame) {
  const int sheet = number / 15;
  const int64_t row = static_cast<int64_t>(number % 15) * 32;
  const int plain = SURFACE_CHARAS + 2 * sheet;
  int64_t x;
  if (mode == GRAPHICMODE_CHARA) {
    const bool right = obj && obj->m_nDirection == 1;
    out.lpFirstA = Entry(right ? plain + 1 : plain);
    out.lpSecondA = Entry((right ? plain + 1 : plain) + SURFACE_SECOND_SET);
    out.lpFirstB = Entry(right ? plain : plain + 1);
    out.lpSecondB = Entry((right ? plain : plain + 1) + SURFACE_SECOND_SET);
    x = (static_cast<int64_t>(column) + frame) * 32;
  } else {
    const int copy = column < 20 ? plain : plain + 1;
    out.lpFirstA = Entry(copy);
    out.lpSecondA = Entry(copy + SURFACE_SECOND_SET);
    x = static_cast<int64_t>(column < 20 ? column : column - 20) * 32;
  }
  // A cell that the sheet does not hold (or a sheet that is not a character
  // sheet) shows the first cell of the first sheet.
  const bool onSheet = sheet >= 0 && sheet < SURFACE_CHARA_SHEETS && x >= 0 && row >= 0 &&
                       x < out.lpFirstA->nWidth && row < out.lpFirstA->nHeight;
  if (!onSheet) {
    out.lpFirstA = out.lpFirstB = Entry(SURFACE_CHARAS);
    out.lpSecondA = out.lpSecondB = Entry(SURFACE_CHARAS + SURFACE_SECOND_SET);
    x = 0;
  }
  out.nSrcX = static_cast<int32_t>(x);
  out.nSrcY = onSheet ? static_cast<int32_t>(row) : 0;
}

}  // namespace

void SetGraphicSource(GRAPHICSOURCE& out, int mode, int kind, int number, int column, const cGameObject* obj,
                      int frame) {
  out.bCellSize = 0;
  out.nCellScale = 1;
  const int64_t sheetX = static_cast<int64_t>(number / 15) * 32;
  const int32_t row = (number % 15) * 32;
  switch (kind) {
    case GRAPHICKIND_BLOCK:
      out.lpFirstA = out.lpFirstB = Entry(SURFACE_BLOCKS);
      out.lpSecondA = out.lpSecondB = Entry(SURFACE_BLOCKS + 1);
      out.nSrcX = SaturateToInt(sheetX);
      out.nSrcY = row;
      break;
    case GRAPHICKIND_CHARA:
      CharaSheet(out, mode, number, column, obj, frame);
      break;
    case GRAPHICKIND_ITEM:
      out.lpFirstA = out.lpFirstB = Entry(SURFACE_ITEMS);
      out.lpSecondA = out.lpSecondB = Entry(SURFACE_ITEMS + 1);
      out.nSrcX = SaturateToInt(sheetX * 2 + (mode == GRAPHICMODE_ITEM ? static_cast<int64_t>(frame) * 32 : 0));
      out.nSrcY = row;
      break;
    case GRAPHICKIND_SHOT:
      if (mode == GRAPHICMODE_CHARA) {
        const bool right = obj && obj->m_nDirection == 1;
        out.lpFirstA = out.lpSecondA = Entry(right ? SURFACE_RUNTIME + 1 : SURFACE_RUNTIME);
        out.lpFirstB = out.lpSecondB = Entry(right ? SURFACE_RUNTIME : SURFACE_RUNTIME + 1);
      } else {
        out.lpFirstA = out.lpSecondA = Entry(SURFACE_RUNTIME);
      }
      out.nSrcX = SaturateToInt(static_cast<int64_t>(number / 30) * 64);
      out.nSrcY = (number % 30) * 32;
      break;
    case GRAPHICKIND_CHARA_BMP: {
      const int64_t first = static_cast<int64_t>(number) * 4 - 4;
      const int base = first >= 0 && first <= INT32_MAX - 3 ? static_cast<int>(first) : -4;
      if (mode == GRAPHICMODE_CHARA) {
        const bool right = obj && obj->m_nDirection == 1;
        out.lpFirstA = StageBmp(right ? base + 1 : base);
        out.lpSecondA = StageBmp(right ? base + 3 : base + 2);
        out.lpFirstB = StageBmp(right ? base : base + 1);
        out.lpSecondB = StageBmp(right ? base + 2 : base + 3);
        column = SaturateToInt(static_cast<int64_t>(column) + frame);
      } else {
        out.lpFirstA = StageBmp(base);
        out.lpSecondA = StageBmp(base + 2);
      }
      CharaImageCell(out, CharaImage(number), column);
      break;
    }
    default:
      break;
  }
  const bool first = FirstSetStretches();
  out.lpChosenA = first ? out.lpFirstA : out.lpSecondA;
  out.lpChosenB = first ? out.lpFirstB : out.lpSecondB;
}

void SelectCharaSurfaces() {
  const bool first = FirstSetStretches();
  lpMarkSheet = Entry(first ? SURFACE_MARKS : SURFACE_MARKS + 1);
  lpEffectWork1 = Entry(first ? SURFACE_WORK_A : SURFACE_WORK_B);
  lpEffectWork2 = Entry(lpDTCon ? SURFACE_WORK_C : SURFACE_WORK_B);
}

void DrawItemIcon(DDSURFACEDATA* surface, int x, int y, int kind, int number, int frame) {
  const int row = (number % 15) * 32;
  switch (kind) {
    case GRAPHICKIND_BLOCK:
      PlayDrawing->DDBltStretch(surface, x, y, 16, 16, Entry(SURFACE_BLOCKS + 1),
                                SaturateToInt(static_cast<int64_t>(number / 15) * 32), row, 32, 32, 1);
      break;
    case GRAPHICKIND_CHARA: {
      const int sheet = number / 15;
      if (sheet < 0 || sheet >= SURFACE_CHARA_SHEETS) break;
      PlayDrawing->DDBltStretch(surface, x, y, 16, 16, Entry(SURFACE_CHARAS + SURFACE_SECOND_SET + 2 * sheet),
                                SaturateToInt(static_cast<int64_t>(frame) * 32), row, 32, 32, 1);
      break;
    }
    case GRAPHICKIND_ITEM:
      PlayDrawing->DDBlt(surface, x, y, 16, 16, Entry(SURFACE_ITEM_ICONS),
                         SaturateToInt(static_cast<int64_t>(number / 15) * 32), (number % 15) * 16, 1);
      break;
    case GRAPHICKIND_SHOT:
      PlayDrawing->DDBltStretch(surface, x, y, 16, 16, Entry(SURFACE_RUNTIME),
                                SaturateToInt(static_cast<int64_t>(number / 30) * 64), (number % 30) * 32, 32,
                                32, 1);
      break;
    case GRAPHICKIND_CHARA_BMP: {
      const int64_t first = static_cast<int64_t>(number) * 4 - 4;
      DDSURFACEDATA* source = first >= 0 && first <= INT32_MAX - 2 ? StageBmp(static_cast<int>(first) + 2) : nullptr;
      if (!source) break;
      GRAPHICSOURCE cell;
      CharaImageCell(cell, CharaImage(number), frame);
      const int side = 32 * cell.nCellScale;
      PlayDrawing->DDBltStretch(surface, x, y, 16, 16, source, cell.nSrcX, cell.nSrcY, side, side, 1);
      break;
    }
    default:
      break;
  }
}

int SwordSurfaceIndex(int index, int bSecond) {
  if (lpDTCon) return index;
  auto hasSurface = [](int64_t i) {
    const DDSURFACEDATA* e = i >= 0 && i < SURFACE_TABLE_SIZE ? Entry(static_cast<int>(i)) : nullptr;
    return e && e->lpDDS && e->lpDDS->lpSurface;
  };
  const int64_t second = static_cast<int64_t>(index) + SURFACE_SECOND_SET;
  if (bSecond) return hasSurface(second) ? static_cast<int>(second) : index;
  return hasSurface(index) ? index : SaturateToInt(second);
}

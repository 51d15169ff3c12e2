#include "game/message_window.h"

#include <algorithm>
#include <cstring>

#include "base/boxes.h"
#include "base/checked_convert.h"
#include "base/number_text.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/graphic_source.h"
#include "game/play_drawing.h"
#include "game/stage_data.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/font.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/save_data.h"

namespace {

// Variable numbers a code may name.
constexpr int64_t kFirstVariable = 1;
constexpr int64_t kVariableEnd = 256;

struct VARCODE {
  bool bCommon = false;
  bool bStage = false;
  bool bNumber = false;
  int64_t nNumber = 0;  // held at kVariableEnd once it passes it
  int nWidth = 0;
  bool bPlus = false;
  bool bZero = false;
};

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Reads the code after a "#" from `at`; returns where it ends (past its ".").
size_t ReadCode(const std::string& text, size_t at, VARCODE& code) {
  bool width = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    const bool digit = c >= '0' && c <= '9';
    if (!width) {
      if (digit) {
        code.nNumber = std::min(code.nNumber * 10 + (c - '0'), kVariableEnd);
        code.bNumber = true;
      } else if (c == 'C' || c == 'c') {
        code.bCommon = true;
      } else if (c == 'S' || c == 's') {
        code.bStage = true;
      } else if (c == '_') {
        width = true;
      } else {
        break;
      }
    } else {
      if (digit)
        code.nWidth = c - '0';
      else if (c == 'P' || c == 'p')
        code.bPlus = true;
      else if (c == 'Z' || c == 'z')
        code.bZero = true;
      else
        break;
    }
  }
  if (at < text.size() && text[at] == '.') ++at;
  return at;
}

// Variable n of a list; a number beyond the list is reported and variable 0
// read, and play goes on.
int32_t ReadVariable(const cVector<int32_t>& vars, int n) {
  if (n < vars.Size()) return vars[static_cast<size_t>(n)];
  ReportBadIndexOnly('V', n, vars.Size(), static_cast<int>(sizeof(int32_t)));
  return vars.empty() ? 0 : vars[0];
}

// The code's text; false for a code that names no variable.
bool FormatCode(const VARCODE& code, std::string& out) {
  if (!code.bNumber || code.nNumber < kFirstVariable || code.nNumber >= kVariableEnd) return false;
  const int n = static_cast<int>(code.nNumber);
  int32_t value;
  if (code.bCommon)
    value = ReadVariable(PlayData.m_vCommonVar, n);
  else if (code.bStage)
    value = ReadVariable(StageData().m_vStageVars, n);
  else
    return false;
  IntToText(out, value, code.nWidth, code.bZero, code.bPlus);
  return true;
}

// The extra-life icon: 16 × 16 at (48, 0) of the accessory image.
constexpr int kExtraLifeIconX = 48;

// Frames a pop-up rises over, one dot every 4.
constexpr int kPopupFrames = 30;

// The message font.
Font& MessageFont() { return SysFont[1]; }

int64_t ScrollX() { return ToIntChecked(StageData().m_ScrollX.m_dPos); }
int64_t ScrollY() { return ToIntChecked(StageData().m_ScrollY.m_dPos); }

}  // namespace

cMessageWindow::cMessageWindow(int mode, const char* text, int iconKind, int iconNumber, int iconParam,
                               int placement, int cellX, int cellY, int offX, int offY, int keepOnScreen, int fixed,
                               int displayMode, int frames, int stopsGame, int anchorId, int bContinue,
                               int substitute, int refresh, int refreshFrames, int framed, int useId, int windowId) {
  Init(mode, text, iconKind, iconNumber, iconParam, placement, cellX, cellY, offX, offY, keepOnScreen, fixed,
       displayMode, frames, stopsGame, anchorId, bContinue, substitute, refresh, refreshFrames, framed, useId,
       windowId, 0);
}

void cMessageWindow::Init(int mode, const char* text, int iconKind, int iconNumber, int iconParam, int placement,
                          int cellX, int cellY, int offX, int offY, int keepOnScreen, int fixed, int displayMode,
                          int frames, int stopsGame, int anchorId, int bContinue, int substitute, int refresh,
                          int refreshFrames, int framed, int useId, int windowId, int bNoSurface) {
  m_nMode = mode;
  if (text) {
    m_strText = text;
    m_strSource = text;
  }
  m_nIconKind = iconKind;
  m_nIconNumber = iconNumber;
  m_nIconParam = iconParam;
  m_nPlacement = placement;
  m_nCellX = cellX;
  m_nCellY = cellY;
  m_nOffX = offX;
  m_nOffY = offY;
  m_bKeepOnScreen = keepOnScreen;
  m_bFixed = fixed;
  m_nDisplayMode = displayMode;
  m_nFrames = frames;
  m_bStopsGame = stopsGame;
  m_nAnchorId = anchorId;
  m_bSubstitute = substitute;
  m_bRefresh = refresh;
  m_nRefreshFrames = refreshFrames;
  m_bFramed = framed;
  m_bUseId = useId;
  m_nWindowId = windowId;
  m_bPosSaved = 0;
  m_dOpening = 0;
  if (substitute) SubstituteVariables(m_strText);
  if (mode == MESSAGEMODE_TEXT) {
    MeasureMessageText(m_nWidth, m_nHeight, m_strText.c_str());
  } else if (mode == MESSAGEMODE_PICKUP || mode == MESSAGEMODE_EXTRALIFE) {
    m_nWidth = 16;
    m_nHeight = 16;
  }
  // A fresh key-wait window opens with the animation; a continued one and
  // every timed or permanent window appear at once.
  m_bOpening = displayMode == MESSAGEDISPLAY_KEY && !bContinue ? 1 : 0;
  if (mode == MESSAGEMODE_TEXT) {
    if (!bNoSurface) CreateSurface();
    RenderText(m_lpSurface);
  } else {
    m_lpSurface = nullptr;
    m_lpSurfaceDef = nullptr;
  }
}

int cMessageWindow::Draw(DDSURFACEDATA* surface, int bFrozen) {
  // A timed window that does not stop the game pauses its clock while
  // something else freezes play; one that stops it counts in the pause loop.
  if (m_nDisplayMode == MESSAGEDISPLAY_TIME && (m_bStopsGame || !bFrozen)) {
    m_nFrames = m_nFrames > 0 ? m_nFrames - 1 : -1;
    if (m_nFrames < 0) {
      EraseSurface();
      return 1;
    }
  }
  const cSceneStageData& stage = StageData();
  if (m_bRefresh && m_nRefreshFrames != 0 && int64_t{stage.m_nFrameCount} % m_nRefreshFrames == 0 &&
      m_nMode == MESSAGEMODE_TEXT && m_bSubstitute)
    Refresh();

  int64_t x = 0, y = 0;
  if (!PlacementPosition(x, y)) {
    const bool anchorGone = m_nPlacement >= 1 && m_nPlacement <= 6;
    if (anchorGone && m_nMode == MESSAGEMODE_TEXT) {
      EraseSurface();
      return 1;
    }
    return 0;
  }

  if (m_nPlacement == MESSAGEPLACE_CENTRE || m_nPlacement == MESSAGEPLACE_SCREEN_CELL) {
    // Without the fixed flag the window keeps its spot of the stage.
    if (!m_bFixed) {
      if (!m_bPosSaved) {
        m_nSavedX = SaturateToInt(x + ScrollX());
        m_nSavedY = SaturateToInt(y + ScrollY());
        m_bPosSaved = 1;
      }
      x = m_nSavedX - ScrollX();
      y = m_nSavedY - ScrollY();
    }
  } else if (m_bFixed) {
    // The window stops following its object where it first showed.
    if (!m_bPosSaved) {
      m_nSavedX = SaturateToInt(x);
      m_nSavedY = SaturateToInt(y);
      m_bPosSaved = 1;
    }
    x = m_nSavedX;
    y = m_nSavedY;
  }

  if (m_bKeepOnScreen) {
    if (x < 0)
      x = 0;
    else if (x + m_nWidth > 638)
      x = 640 - int64_t{m_nWidth};
    if (y < 20)
      y = 20;
    else if (y + m_nHeight > 478)
      y = 480 - int64_t{m_nHeight};
  }

  switch (m_nMode) {
    case MESSAGEMODE_TEXT: {
      if (!m_lpSurface) return 0;
      if (m_lpSurface->bLost) {
        RenderText(m_lpSurface);
        m_lpSurface->bLost = 0;
      }
      if (m_strText.empty()) return 0;
      if (m_bOpening) {
        m_dOpening += 1;
        const double v = m_dOpening * 0.1;
        if (m_dOpening < 10) {
          if (m_bFramed) {
            const int64_t halfW = m_nWidth >> 1, halfH = m_nHeight >> 1;
            PlayDrawing->DrawBox(MessageFont(), surface, ToIntChecked(static_cast<double>(x + halfW) - v * halfW),
                                 ToIntChecked(static_cast<double>(y + halfH) - v * halfH),
                                 ToIntChecked(v * m_nWidth), ToIntChecked(v * m_nHeight));
          }
          return 0;
        }
      }
      PlayDrawing->DDBlt(surface, SaturateToInt(x), SaturateToInt(y), m_lpSurface->nWidth, m_lpSurface->nHeight,
                         m_lpSurface, 0, 0, 1);
      break;
    }
    case MESSAGEMODE_PICKUP:
      y -= (kPopupFrames - int64_t{m_nFrames}) >> 2;
      DrawItemIcon(surface, SaturateToInt(x), SaturateToInt(y), m_nIconKind, m_nIconNumber, m_nIconParam);
      break;
    case MESSAGEMODE_EXTRALIFE:
      y -= (kPopupFrames - int64_t{m_nFrames}) >> 2;
      PlayDrawing->DDBlt(surface, SaturateToInt(x), SaturateToInt(y), 16, 16, &SurfaceTable[SURFACE_ACCESSORY],
                         kExtraLifeIconX, 0, 1);
      break;
    default:
      break;
  }
  return 0;
}

bool cMessageWindow::PlacementPosition(int64_t& x, int64_t& y) const {
  const int64_t w = m_nWidth, h = m_nHeight;
  switch (m_nPlacement) {
    case MESSAGEPLACE_CENTRE:
      x = m_nOffX - (w >> 1) + 320;
      y = m_nOffY - (h >> 1) + 240;
      return true;
    case MESSAGEPLACE_SCREEN_CELL:
      x = m_nOffX + int64_t{m_nCellX} * 32;
      y = m_nOffY + int64_t{m_nCellY} * 32;
      return true;
    case MESSAGEPLACE_MAP_CELL: {
      const cSceneStageData& stage = StageData();
      x = ToIntChecked(static_cast<double>((m_nCellX + int64_t{stage.m_ScrollX.m_nBorder}) * 32 + m_nOffX) -
                       stage.m_ScrollX.m_dPos);
      y = ToIntChecked(static_cast<double>((m_nCellY + int64_t{stage.m_ScrollY.m_nBorder}) * 32 + m_nOffY) -
                       stage.m_ScrollY.m_dPos);
      return true;
    }
    default:
      break;
  }
  if (m_nPlacement < 1 || m_nPlacement > 6) return false;
  const cCharaBase* anchor = FindCharaById(m_nAnchorId);
  if (!anchor) return false;
  // The object's graphic rectangle in view pixels, from its hit box.
  const int64_t left = ToIntChecked(anchor->m_rcHit.dLeft - ScrollX()) - int64_t{anchor->m_nOffsetX};
  const int64_t top = ToIntChecked(anchor->m_rcHit.dTop - ScrollY()) - int64_t{anchor->m_nOffsetY};
  const int64_t gw = anchor->m_nGfxWidth, gh = anchor->m_nGfxHeight;
  x = left + (gw >> 1) + m_nOffX - (w >> 1);
  switch (m_nPlacement) {
    case 1:
    case 4:
      y = top - h + m_nOffY;
      break;
    case 2:
    case 5:
      y = top + gh + 1 + m_nOffY;
      break;
    default:
      y = top + (gh >> 1) - (h >> 1) + m_nOffY;
      break;
  }
  return true;
}

void cMessageWindow::Refresh() {
  std::string text = m_strSource;
  SubstituteVariables(text);
  if (text == m_strText) return;
  m_strText = std::move(text);
  int w, h;
  MeasureMessageText(w, h, m_strText.c_str());
  if (w != m_nWidth || h != m_nHeight) {
    EraseSurface();
    m_nWidth = w;
    m_nHeight = h;
    CreateSurface();
  }
  RenderText(m_lpSurface);
}

void SubstituteVariables(std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(b)) {
      // A lead byte takes the next byte with it; at the end it stands alone.
      i += i + 1 < text.size() ? 2 : 1;
      continue;
    }
    if (b != '#') {
      ++i;
      continue;
    }
    VARCODE code;
    const size_t end = ReadCode(text, i + 1, code);
    std::string value;
    if (!FormatCode(code, value)) {
      i = end;
      continue;
    }
    text.replace(i, end - i, value);
    i += value.size();
  }
}

void MeasureMessageText(int& w, int& h, const char* text) {
  const Font& font = SysFont[1];
  if (!text) text = "";
  int64_t width = 0, height = 0;
  int extent[2];
  if (font.m_nCellW > 0) {
    font.GetTextExtentFixed(extent, text);
    width = extent[0];
    height = extent[1];
  } else {
    const int64_t lineHeight = font.GetLineHeight();
    for (const char* p = text;;) {
      const size_t len = std::strcspn(p, "\n");
      font.GetTextExtentGdi(extent, std::string(p, len).c_str());
      width = std::max<int64_t>(width, extent[0]);
      height += lineHeight;
      p += len;
      if (!*p) break;
      ++p;
    }
  }
  w = SaturateToInt(width + 2);
  h = SaturateToInt(height + 2);
}

void cMessageWindow::CreateSurface() {
  int bSystemMemory = 0;
  if (!lpDTCon) {
    uint32_t total = 0, free = 0;
    GetVideoMemory(total, free);
    if (total > 0 && uint64_t{free} * 100 / total < 20) bSystemMemory = 1;
  }
  if (!DDAddSurfaceList(Off_Msg, Off_MsgDef, m_nWidth, m_nHeight, 1, bSystemMemory, 0, nullptr)) {
    DDEraseSurface(Off_Msg, Off_MsgDef, &Off_Msg.back());
    m_lpSurface = nullptr;
    m_lpSurfaceDef = nullptr;
    PostCloseMessage(hWndMain.load());
    return;
  }
  m_lpSurface = &Off_Msg.back();
  m_lpSurfaceDef = &Off_MsgDef.back();
}

void cMessageWindow::RenderText(DDSURFACEDATA* surface) {
  if (!surface) return;
  if (m_bFramed) {
    MessageFont().DrawTextBox(surface, 1, 1, 0, 0, m_strText.c_str(), 0);
  } else {
    DDFillSurface(surface, 0);
    MessageFont().DrawText(surface, 1, 1, m_strText.c_str(), 0);
  }
}

void cMessageWindow::EraseSurface() {
  if (m_lpSurface) DDEraseSurface(Off_Msg, Off_MsgDef, m_lpSurface);
  m_lpSurface = nullptr;
  m_lpSurfaceDef = nullptr;
}

cMessageWindow::~cMessageWindow() = default;

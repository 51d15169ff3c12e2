#pragma once
// One entry of the stage's message list (m_Messages): a text window of the
// message command, the silent entry of a game wait, or the rising icon of a
// pick-up or an extra life. A text window renders its text once into a
// surface of Off_Msg with the message font (SysFont[1]); Draw puts it on the
// screen every frame where its placement says, following a character, the
// hero, the screen or a map cell, and can substitute its variables again at
// an interval.
//
// Made by the commands and the stage on the game thread; Draw runs on the
// thread that runs the frame loop (the game thread, or the pause thread while
// a wait runs). Positions are view pixels, sizes dots, times frames.
#include <cstdint>
#include <string>


struct DDSURFACEDATA;
struct DDSURFACEDEF;

// m_nMode.
constexpr int MESSAGEMODE_WAIT = 0;       // draws nothing
constexpr int MESSAGEMODE_TEXT = 1;
constexpr int MESSAGEMODE_PICKUP = 2;     // a 16 × 16 item icon
constexpr int MESSAGEMODE_EXTRALIFE = 3;  // a 16 × 16 icon of the accessory image

// m_nDisplayMode.
constexpr int MESSAGEDISPLAY_KEY = 0;    // until a key
constexpr int MESSAGEDISPLAY_STAGE = 1;  // until the stage ends
constexpr int MESSAGEDISPLAY_TIME = 2;   // for m_nFrames frames

// m_nPlacement: 0 the screen centre; 1..3 above, below or on the character
// that ran the message, 4..6 the same on the hero; 7 a screen cell; 8 a map
// cell. Another value has no position: the entry draws nothing.
constexpr int MESSAGEPLACE_CENTRE = 0;
constexpr int MESSAGEPLACE_SCREEN_CELL = 7;
constexpr int MESSAGEPLACE_MAP_CELL = 8;

// A variable code is "#", a variable letter (C common: PlayData's
// m_vCommonVar; S stage: the running stage's m_vStageVars; either case)
// and a number 1..255 in any order, then optionally "_" with width digits
// (the last one counts), P (plus sign) and Z (zero fill), and an optional "."
// that ends it:
//   #C5 → "42"   #C5_4. → "  42"   #C5_4Z. → "0042"   #C5_P. → "+42"
// Any other code stays in the text as it is.

// Replaces every variable code of `text` in place. A "#" that is the second
// byte of a double-byte character is no code.
void SubstituteVariables(std::string& text);

// The window size of a text in dots: its extent in the message font plus 2
// each way. A cell font measures by its cells; a proportional one line by
// line, an empty text or a last empty line counting a line.
void MeasureMessageText(int& w, int& h, const char* text);

class cMessageWindow {
 public:
  DDSURFACEDATA* m_lpSurface = nullptr;  // the text's surface in Off_Msg (mode 1)
  DDSURFACEDEF* m_lpSurfaceDef = nullptr;
  int32_t m_nMode = MESSAGEMODE_WAIT;
  std::string m_strText;    // as shown
  std::string m_strSource;  // as given, with its variable codes
  int32_t m_nIconKind = 0;  // mode 2: DrawItemIcon's kind, number and frame
  int32_t m_nIconNumber = 0;
  int32_t m_nIconParam = 0;
  int32_t m_bSubstitute = 0;
  int32_t m_bRefresh = 0;       // substitute again while shown
  int32_t m_nRefreshFrames = 0;  // every this many stage frames
  int32_t m_bFramed = 0;
  int32_t m_nPlacement = MESSAGEPLACE_CENTRE;
  int32_t m_nCellX = 0;  // placements 7 and 8
  int32_t m_nCellY = 0;
  int32_t m_nOffX = 0;
  int32_t m_nOffY = 0;
  int32_t m_nWidth = 0;
  int32_t m_nHeight = 0;
  int32_t m_bKeepOnScreen = 0;
  int32_t m_nDisplayMode = MESSAGEDISPLAY_KEY;
  int32_t m_bFixed = 0;
  int32_t m_bPosSaved = 0;
  int32_t m_nSavedX = 0;
  int32_t m_nSavedY = 0;
  int32_t m_bUseId = 0;  // the message command finds the window by m_nWindowId
  int32_t m_nWindowId = 0;
  int32_t m_nAnchorId = 0;  // m_nId of the character followed
  int32_t m_nFrames = 0;    // display mode 2: frames left; stops at −1
  int32_t m_bStopsGame = 0;
  int32_t m_bOpening = 0;  // a fresh key-wait window opens over 9 frames
  double m_dOpening = 0;

  cMessageWindow() = default;
  cMessageWindow(int mode, const char* text, int iconKind, int iconNumber, int iconParam, int placement, int cellX,
                 int cellY, int offX, int offY, int keepOnScreen, int fixed, int displayMode, int frames,
                 int stopsGame, int anchorId, int bContinue, int substitute, int refresh, int refreshFrames,
                 int framed, int useId, int windowId);
  cMessageWindow(const cMessageWindow&) = default;
  cMessageWindow& operator=(const cMessageWindow&) = default;
  // Frees the texts; the surface is erased by Draw or by the command that
  // removes the window.
  ~cMessageWindow();

  // Sets the window up, or anew in place: a null text keeps the texts.
  // bNoSurface keeps the text window's surface (the new text measures the
  // same) instead of making one.
  void Init(int mode, const char* text, int iconKind, int iconNumber, int iconParam, int placement, int cellX,
            int cellY, int offX, int offY, int keepOnScreen, int fixed, int displayMode, int frames, int stopsGame,
            int anchorId, int bContinue, int substitute, int refresh, int refreshFrames, int framed, int useId,
            int windowId, int bNoSurface);

  // Once per frame onto `surface`; bFrozen while play is frozen. 1 when the
  // window is finished (its surface already erased); the caller removes it.
  int Draw(DDSURFACEDATA* surface, int bFrozen);

  // A surface of the window's size appended to Off_Msg, in system memory
  // when the software display has less than a fifth of its video memory
  // free. On failure the program is asked to close and the window keeps none.
  void CreateSurface();
  // The text onto `surface` at (1, 1), in a framed box or on the
  // transparent colour; nothing without a surface.
  void RenderText(DDSURFACEDATA* surface);

 private:
  void EraseSurface();
  void Refresh();
  // The position of the placement before pinning; false when it has none
  // (its character is gone, or the placement is unknown).
  bool PlacementPosition(int64_t& x, int64_t& y) const;
};

#pragma once
// Where the effect and picture commands put an image of w × h dots: its
// top-left in stage dots for a placement mode (p1 of those commands) and
// the command's cells (cx, cy) and dots (dx, dy). Halves of w and h are
// integer halves. Game thread, inside a logic step.
class cCharaBase;

enum DISPLAYPOS {
  DISPLAYPOS_SCREEN_CENTRE,  // the view's centre, moved by the dots
  DISPLAYPOS_CHARA_CENTRE,   // centred on the character's graphic
  DISPLAYPOS_HERO_CENTRE,    // centred on the hero's graphic
  DISPLAYPOS_SCREEN_CELL,    // cell (cx, cy) of the view, plus the dots
  DISPLAYPOS_STAGE_CELL,     // map cell (cx, cy), plus the dots
};

// A mode outside the table, or the hero's centre without a hero, gives the
// stage's top-left corner (0, 0).
void GetDisplayPosition(double& x, double& y, int w, int h, const cCharaBase& chara, int mode, int cx, int cy,
                        int dx, int dy);

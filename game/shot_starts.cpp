// The start points of the formations: where a row, a column, a fan, a ring
// or a strike begins, its steps and its velocity, from the owner's view
// rectangle (inclusive edges), its graphic size and the view position.
#include <cmath>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/shot_emitter.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"
#include "records/shot.h"
#include "records/system.h"

namespace {

// An object's view rectangle and graphic size.
struct VIEWBOX {
  int64_t L, T, R, B, W, H;
};

VIEWBOX ViewOf(const cCharaBase& c) {
  return {c.m_rcScreen.nLeft, c.m_rcScreen.nTop, c.m_rcScreen.nRight, c.m_rcScreen.nBottom,
          c.m_nGfxWidth,      c.m_nGfxHeight};
}

// The view position as doubles and truncated.
struct VIEWPOS {
  double sx, sy;
  int64_t sxi, syi;
};

VIEWPOS ViewPos() {
  const cSceneStageData& stage = StageData();
  VIEWPOS v;
  v.sx = stage.m_ScrollX.m_dPos;
  v.sy = stage.m_ScrollY.m_dPos;
  v.sxi = ToIntChecked(v.sx);
  v.syi = ToIntChecked(v.sy);
  return v;
}

int I(int64_t v) { return SaturateToInt(v); }
int I(double v) { return ToIntChecked(v); }
double D(int64_t v) { return static_cast<double>(v); }

// What the row formations share: n objects of w × h with gap U (u its half).
struct ROW {
  int64_t w, h, n, U, u;
};

ROW RowOf(const cEdShot& def, const SHOTSPAWN& sp) {
  const int64_t p0 = def.m_nFormParam[0];
  return {sp.nWidth, sp.nHeight, def.m_nCount, p0 * 16, p0 * 8};
}

// The four diagonal positions beside the owner.
struct DIAGONALS {
  int XL, XR, YU, YD;
};

DIAGONALS DiagonalsOf(const VIEWBOX& o, const VIEWPOS& v, int64_t w, int64_t h) {
  const double K = ShotK;
  DIAGONALS d;
  d.XL = I(D((o.W >> 1) + v.sxi + o.L) + D(1 - (o.W >> 1) - (w >> 1)) * K - D(w >> 1));
  d.XR = I(D((o.W >> 1) + v.sxi + o.L) + D(o.R + (w >> 1) - (o.W >> 1) - o.L + 1) * K - D(w >> 1));
  d.YU = I(D(v.syi + o.T + (o.H >> 1)) - D((o.H >> 1) + (h >> 1)) * K - D(h >> 1));
  d.YD = I(D(v.syi + o.T + (o.H >> 1)) + D(o.B + (h >> 1) - o.T - (o.H >> 1) + 1) * K - D(h >> 1));
  return d;
}

void SetStart(SHOTSPAWN& sp, int x, int y, int stepX, int stepY, double vx, double vy) {
  sp.nStartX = x;
  sp.nStartY = y;
  sp.nStepX = stepX;
  sp.nStepY = stepY;
  sp.dVx = vx;
  sp.dVy = vy;
}

void AddOffsets(SHOTSPAWN& sp) {
  sp.nStartX = I(static_cast<int64_t>(sp.nStartX) + sp.nOffsetX);
  sp.nStartY = I(static_cast<int64_t>(sp.nStartY) + sp.nOffsetY);
}

// (int)(L + sx + 1 − w) and (int)(sx + R + 1): just left and right of the owner.
int LeftOf(const VIEWBOX& o, const VIEWPOS& v, int64_t w) { return I(D(o.L) + v.sx + 1 - D(w)); }
int RightOf(const VIEWBOX& o, const VIEWPOS& v) { return I(v.sx + D(o.R) + 1); }

// The angle c aimed from a centre, or the direction's own.
int AimOrDirection(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp, int64_t cx, int64_t cy) {
  return def.m_bAim ? AimAngle(I(cx), I(cy), owner, def, sp) : ShotDirAngleInt(sp.nDirCode);
}

int64_t StartCentreX(const SHOTSPAWN& sp) { return static_cast<int64_t>(sp.nStartX) + (sp.nWidth >> 1); }
int64_t StartCentreY(const SHOTSPAWN& sp) { return static_cast<int64_t>(sp.nStartY) + (sp.nHeight >> 1); }

// The owner's centre moved by the volley's offsets.
int64_t OwnerCentreX(const cCharaBase& owner, const SHOTSPAWN& sp) {
  const VIEWBOX o = ViewOf(owner);
  return ViewPos().sxi + (o.W >> 1) + sp.nOffsetX + o.L;
}
int64_t OwnerCentreY(const cCharaBase& owner, const SHOTSPAWN& sp) {
  const VIEWBOX o = ViewOf(owner);
  return ViewPos().syi + (o.H >> 1) + sp.nOffsetY + o.T;
}

}  // namespace

void StartStraightA(const cCharaBase& owner, const cEdShot& def, SHOTSPAWN& sp) {
  const VIEWBOX o = ViewOf(owner);
  const VIEWPOS v = ViewPos();
  const ROW r = RowOf(def, sp);
  const double K = ShotK, s = sp.dSpeed;
  const int64_t n1 = r.n - 1;
  const int rowY = I(v.syi + (o.H >> 1) + o.T - n1 * r.u - r.n * (r.h >> 1));
  const int columnX = I(v.sxi + (o.W >> 1) + o.L - n1 * r.u - r.n * (r.w >> 1));
  const int across = I(r.U + r.w), down = I(r.U + r.h);
  switch (sp.nDirCode) {
    case DIRCODE_LEFT:
      SetStart(sp, LeftOf(o, v, r.w), rowY, 0, down, -s, 0);
      break;
    case DIRCODE_RIGHT:
      SetStart(sp, RightOf(o, v), rowY, 0, down, s, 0);
      break;
    case DIRCODE_UP:
      SetStart(sp, columnX, I(v.syi + o.T - r.h), across, 0, 0, -s);
      break;
    case DIRCODE_DOWN:
      SetStart(sp, columnX, I(v.syi + o.B + 1), across, 0, 0, s);
      break;
    default: {
      const DIAGONALS d = DiagonalsOf(o, v, r.w, r.h);
      const double alongX = K * D(n1) * D(r.u + (r.w >> 1));  // K × (n − 1) × (u + (w >> 1))
      const double alongY = D(n1 * ((r.h >> 1) + r.u)) * K;   // (n − 1) × ((h >> 1) + u) × K
      switch (sp.nDirCode) {
        case DIRCODE_UP_LEFT:
          SetStart(sp, I(d.XL - alongX), I(alongY + d.YU), across, I(-r.U - r.h), -K * s, -K * s);
          break;
        case DIRCODE_DOWN_LEFT:
          SetStart(sp, I(d.XL - alongX), I(d.YD - alongY), across, down, -K * s, K * s);
          break;
        case DIRCODE_UP_RIGHT:
          SetStart(sp, I(d.XR - alongX), I(d.YU - alongY), across, down, K * s, -K * s);
          break;
        case DIRCODE_DOWN_RIGHT:
          SetStart(sp, I(d.XR - alongX), I(alongY + d.YD), across, I(-r.U - r.h), K * s, K * s);
          break;
        default:
          SetStart(sp, 0, 0, 0, 0, 0, 0);
          break;
      }
    }
  }
  AddOffsets(sp);
}

void StartStraightB(const cCharaBase& owner, const cEdShot& def, SHOTSPAWN& sp) {
  const VIEWBOX o = ViewOf(owner);
  const VIEWPOS v = ViewPos();
  const ROW r = RowOf(def, sp);
  const double K = ShotK, s = sp.dSpeed;
  const int y = I(v.syi + o.B - r.h + 1);
  const int rise = I(-r.U - r.h);
  const int left = LeftOf(o, v, r.w), right = RightOf(o, v);
  const int front = owner.m_nDirection == 1 ? right : left;
  switch (sp.nDirCode) {
    case DIRCODE_LEFT: SetStart(sp, left, y, 0, rise, -s, 0); break;
    case DIRCODE_RIGHT: SetStart(sp, right, y, 0, rise, s, 0); break;
    case DIRCODE_UP: SetStart(sp, front, y, 0, rise, 0, -s); break;
    case DIRCODE_DOWN: SetStart(sp, front, y, 0, rise, 0, s); break;
    case DIRCODE_UP_LEFT: SetStart(sp, left, y, 0, rise, -K * s, -K * s); break;
    case DIRCODE_DOWN_LEFT: SetStart(sp, left, y, 0, rise, -K * s, K * s); break;
    case DIRCODE_UP_RIGHT: SetStart(sp, right, y, 0, rise, K * s, -K * s); break;
    case DIRCODE_DOWN_RIGHT: SetStart(sp, right, y, 0, rise, K * s, K * s); break;
    default: SetStart(sp, 0, 0, 0, 0, 0, 0); break;
  }
  AddOffsets(sp);
}

void StartSpread(const cCharaBase& owner, SHOTSPAWN& sp) {
  const VIEWBOX o = ViewOf(owner);
  const VIEWPOS v = ViewPos();
  const int64_t w = sp.nWidth, h = sp.nHeight;
  const int midY = I(v.syi + (o.H >> 1) + o.T - (h >> 1));
  const int midX = I(v.sxi + (o.W >> 1) + o.L - (w >> 1));
  const DIAGONALS d = DiagonalsOf(o, v, w, h);
  int x = 0, y = 0;
  switch (sp.nDirCode) {
    case DIRCODE_LEFT: x = I(v.sxi + o.L - w + 1), y = midY; break;
    case DIRCODE_RIGHT: x = I(v.sxi + o.R + 1), y = midY; break;
    case DIRCODE_UP: x = midX, y = I(v.syi + o.T - h); break;
    case DIRCODE_DOWN: x = midX, y = I(v.syi + o.B + 1); break;
    case DIRCODE_UP_LEFT: x = d.XL, y = d.YU; break;
    case DIRCODE_DOWN_LEFT: x = d.XL, y = d.YD; break;
    case DIRCODE_UP_RIGHT: x = d.XR, y = d.YU; break;
    case DIRCODE_DOWN_RIGHT: x = d.XR, y = d.YD; break;
    default: break;
  }
  sp.nStartX = x;
  sp.nStartY = y;
  AddOffsets(sp);
}

void StartCentre(const cCharaBase& owner, SHOTSPAWN& sp) {
  const VIEWBOX o = ViewOf(owner);
  const VIEWPOS v = ViewPos();
  sp.nStartX = I(D(o.L + (o.W >> 1)) + v.sx - D(sp.nWidth >> 1));
  sp.nStartY = I(D(o.T + (o.H >> 1)) + v.sy - D(sp.nHeight >> 1));
  AddOffsets(sp);
}

void RotatedStart(const cCharaBase& owner, SHOTSPAWN& sp, int angle) {
  const VIEWBOX o = ViewOf(owner);
  const VIEWPOS v = ViewPos();
  const int64_t w = sp.nWidth, h = sp.nHeight;
  const double K = ShotK;
  const double r = K * D(o.B + (h >> 1) - o.T - (o.H >> 1) + 1);
  const double t = K * D((w >> 1) + o.R - o.L - (o.W >> 1) + 1);
  const double phi = D(static_cast<int64_t>(angle) + 225) * ShotDegToRad;
  sp.nStartX = I(D(o.L + (o.W >> 1)) + v.sx + (r * std::sin(phi) + t * std::cos(phi)) - D(w >> 1));
  sp.nStartY = I(D(o.T + (o.H >> 1)) + v.sy + (t * std::sin(phi) - r * std::cos(phi)) - D(h >> 1));
}

void StartStraightAAngled(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp) {
  if (!def.m_nFormVariant) {
    StartStraightA(owner, def, sp);
    const int c = AimOrDirection(owner, def, sp, StartCentreX(sp), StartCentreY(sp));
    SetShotVelocity(sp, D(static_cast<int64_t>(c) + sp.nAngle), sp.dSpeed);
    return;
  }
  const ROW r = RowOf(def, sp);
  int64_t c = static_cast<int64_t>(AimOrDirection(owner, def, sp, OwnerCentreX(owner, sp), OwnerCentreY(owner, sp))) +
              sp.nAngle;
  RotatedStart(owner, sp, I(c));
  if (def.m_bAim)
    c = static_cast<int64_t>(
            AimAngle(I(StartCentreX(sp) + sp.nOffsetX), I(StartCentreY(sp) + sp.nOffsetY), owner, def, sp)) +
        sp.nAngle;
  // The row across the flight.
  const double sigma = std::sin(D(c) * ShotDegToRad), gamma = std::cos(D(c) * ShotDegToRad);
  const int64_t n1 = r.n - 1;
  if ((sigma >= 0 && gamma >= 0) || (sigma < 0 && gamma < 0)) {
    sp.nStartX = I(D(sp.nStartX) - sigma * D(r.u + (r.w >> 1)) * D(n1));
    sp.nStepX = I(sigma * D(r.U + r.w));
    sp.nStartY = I(gamma * D(r.u + (r.h >> 1)) * D(n1) + D(sp.nStartY));
    sp.nStepY = I(gamma * D(-r.U - r.h));
  } else {
    sp.nStartX = I(sigma * D(r.u + (r.w >> 1)) * D(n1) + D(sp.nStartX));
    sp.nStepX = I(sigma * D(-r.U - r.w));
    sp.nStartY = I(D(sp.nStartY) - gamma * D(r.u + (r.h >> 1)) * D(n1));
    sp.nStepY = I(gamma * D(r.U + r.h));
  }
  AddOffsets(sp);
  SetShotVelocity(sp, D(c), sp.dSpeed);
}

void StartStraightBAngled(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp) {
  StartStraightB(owner, def, sp);
  const int c = AimOrDirection(owner, def, sp, StartCentreX(sp), StartCentreY(sp));
  SetShotVelocity(sp, D(static_cast<int64_t>(c) + sp.nAngle), sp.dSpeed);
}

void StartSpreadAngled(cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp) {
  if (!def.m_nFormVariant) {
    StartSpread(owner, sp);
    return;
  }
  const int64_t c =
      static_cast<int64_t>(AimOrDirection(owner, def, sp, OwnerCentreX(owner, sp), OwnerCentreY(owner, sp))) +
      sp.nAngle;
  RotatedStart(owner, sp, I(c));
  AddOffsets(sp);
}

void StartLightning(const cCharaBase& object, const cEdShot& def, SHOTSPAWN& sp) {
  const VIEWBOX p = ViewOf(object);
  const VIEWPOS v = ViewPos();
  const int64_t w = sp.nWidth, h = sp.nHeight;
  const double K = ShotK, s = sp.dSpeed;
  const int64_t columns = def.m_nFormParam[1];
  const int64_t g = static_cast<int64_t>(def.m_nFormParam[2]) * 16;
  const int64_t half = static_cast<int64_t>(def.m_nFormParam[2]) * 8;
  const int64_t e = ((columns - 1) >> 1) * g;
  const bool odd = (columns & 1) != 0;
  const int64_t f = odd ? e : e + half;
  const int64_t o = SystemData.bLightningNoGap() ? 0 : static_cast<int64_t>(def.m_nFormParam[0]) * 16;
  // From the object's centre to the view's right, bottom, top and left edges.
  const int64_t F = 640 - p.L - (p.W >> 1), E = F;
  const int64_t G = 480 - (p.H >> 1) - p.T;
  const int64_t F2 = (p.H >> 1) + p.T;
  const int64_t Dl = p.L + (p.W >> 1);
  const int midY = I(v.syi + (p.H >> 1) + p.T - (h >> 1));
  const int midX = I(v.sxi + (p.W >> 1) + p.L - (w >> 1));
  const int diagX = I(-D(w + o) * K), diagY = I(-D(h + o) * K);
  const int diagXp = I(D(w + o) * K), diagYp = I(D(h + o) * K);
  const double centreY = v.sy + D(p.T) + D(p.H >> 1);  // sy + PT + (PH >> 1)
  switch (sp.nDirCode) {
    case DIRCODE_LEFT: SetStart(sp, I(v.sx + 640 - D(w)), midY, I(-w - o), 0, -s, 0); break;
    case DIRCODE_RIGHT: SetStart(sp, I(v.sxi), midY, I(w + o), 0, s, 0); break;
    case DIRCODE_UP: SetStart(sp, midX, I(v.sy + 480 - D(h)), 0, I(-h - o), 0, -s); break;
    case DIRCODE_DOWN: SetStart(sp, midX, I(v.syi), 0, I(h + o), 0, s); break;
    case DIRCODE_UP_LEFT:
      if (F < G)
        SetStart(sp, I(v.sx + 640 - D(w)), I(centreY + D(F) - D(h)), diagX, diagY, -K * s, -K * s);
      else
        SetStart(sp, I(v.sx + D(p.L) + D(p.W >> 1) + D(G) - D(w)), I(v.sy + 480 - D(h)), diagX, diagY, -K * s,
                 -K * s);
      break;
    case DIRCODE_DOWN_LEFT:
      if (E < F2)
        SetStart(sp, I(v.sx + 640 - D(w)), I(centreY - D(E)), diagX, diagYp, -K * s, K * s);
      else
        SetStart(sp, I(v.sx + D(p.L) + D(p.W >> 1) + D(F2) - D(w)), I(v.sy), diagX, diagYp, -K * s, K * s);
      break;
    case DIRCODE_UP_RIGHT:
      if (Dl < G)
        SetStart(sp, I(v.sxi), I(centreY + D(Dl) - D(h)), diagXp, diagY, K * s, -K * s);
      else
        SetStart(sp, I(v.sx + D(Dl) - D(G)), I(v.sy + 480 - D(h)), diagXp, diagY, K * s, -K * s);
      break;
    case DIRCODE_DOWN_RIGHT:
      if (Dl < F2)
        SetStart(sp, I(v.sxi), I(centreY - D(Dl)), diagXp, diagYp, K * s, K * s);
      else
        SetStart(sp, I(v.sx + D(Dl) - D(F2)), I(v.sy), diagXp, diagYp, K * s, K * s);
      break;
    default: SetStart(sp, 0, 0, 0, 0, 0, 0); break;
  }
  sp.nColStepX = sp.nColStepY = 0;
  if (columns >= 2) {
    // The columns spread across the line, centred on it.
    const int shift = I(K * D(f));
    switch (sp.nDirCode) {
      case DIRCODE_LEFT:
      case DIRCODE_RIGHT:
        sp.nColStepY = I(g);
        sp.nStartY = I(sp.nStartY - (e + (odd ? 0 : half)));
        break;
      case DIRCODE_UP:
      case DIRCODE_DOWN:
        sp.nColStepX = I(g);
        sp.nStartX = I(sp.nStartX + ((odd ? 0 : -half) - e));
        break;
      case DIRCODE_UP_LEFT:
      case DIRCODE_DOWN_RIGHT:
        sp.nColStepX = I(D(g) * K);
        sp.nColStepY = I(-(D(g) * K));
        sp.nStartX = I(static_cast<int64_t>(sp.nStartX) - shift);
        sp.nStartY = I(static_cast<int64_t>(sp.nStartY) + shift);
        break;
      case DIRCODE_DOWN_LEFT:
      case DIRCODE_UP_RIGHT:
        sp.nColStepX = I(D(g) * K);
        sp.nColStepY = I(D(g) * K);
        sp.nStartX = I(static_cast<int64_t>(sp.nStartX) - shift);
        sp.nStartY = I(static_cast<int64_t>(sp.nStartY) - shift);
        break;
      default:
        break;
    }
  }
  AddOffsets(sp);
}

void StartLightningAngled(const cCharaBase& object, const cEdShot& def, SHOTSPAWN& sp) {
  StartLightning(object, def, sp);
  SetShotVelocity(sp, D(static_cast<int64_t>(sp.nAngle) + ShotDirAngleInt(sp.nDirCode)), sp.dSpeed);
}

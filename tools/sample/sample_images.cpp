// The sample's images. Each system image has the size and the cells that the
// scenes cut from it; keyed images leave entry 0 wherever nothing is drawn.
#include <cstdio>
#include <initializer_list>

#include "tools/sample/indexed_image.h"
#include "tools/sample/sample_files.h"

using namespace pal;

namespace {

constexpr int kSkin = 12;
constexpr int kSkinShade = 13;

// A hue's shade, clamped into the ramp.
int S(int hue, int shade) { return Shade(hue, shade < 0 ? 0 : shade > 15 ? 15 : shade); }

// Text with a one-pixel dark shadow to the lower right.
void ShadowText(cIndexedImage& img, int x, int y, const std::string& text, int scale, int entry) {
  img.Text(x + 1, y + 1, text, scale, kOutline);
  img.Text(x, y, text, scale, entry);
}

// Text centred in a rectangle.
void CentredText(cIndexedImage& img, int x, int y, int w, int h, const std::string& text, int scale,
                 int entry) {
  const int tw = cIndexedImage::TextWidth(text, scale);
  ShadowText(img, x + (w - tw) / 2, y + (h - 7 * scale) / 2, text, scale, entry);
}

// ---- characters: 32 × 32 cells, drawn facing left ----

enum CHARASHAPE { SHAPE_HUMAN, SHAPE_SLIME, SHAPE_BAT };

// Column meaning in a character row: 0-1 stand, 2-3 walk, 4-7 the same
// while invincible, 8-11 as a block character, 12-13 attack, 14-15 jump,
// 16-17 fly, 18-19 hurt.
void DrawHuman(cIndexedImage& img, int x, int y, int hue, int column) {
  const int pose = column >= 12 ? column : column % 4;
  const bool invincible = column >= 4 && column <= 7;
  const bool block = column >= 8 && column <= 11;
  const int body = block ? S(GREY, 7) : invincible ? S(hue, 14) : S(hue, 8);
  const int bodyDark = block ? S(GREY, 4) : S(hue, 5);
  const int bob = (pose == 1 || pose == 3) ? 1 : 0;
  // Legs.
  int legA = 0, legB = 0;
  if (pose == 2) legA = -2, legB = 2;
  if (pose == 3) legA = 2, legB = -2;
  if (pose == 14 || pose == 15) {
    img.FillRect(x + 10, y + 22, 5, 4, bodyDark);
    img.FillRect(x + 17, y + 22, 5, 4, bodyDark);
  } else {
    img.FillRect(x + 11 + legA, y + 24, 4, 7, bodyDark);
    img.FillRect(x + 17 + legB, y + 24, 4, 7, bodyDark);
  }
  // Body and head.
  img.FillRect(x + 9, y + 13 + bob, 14, 12, body);
  img.Frame(x + 9, y + 13 + bob, 14, 12, kOutline);
  const int head = block ? S(GREY, 10) : kSkin;
  img.Disc(x + 16, y + 8 + bob, 6, kOutline);
  img.Disc(x + 16, y + 8 + bob, 5, head);
  img.FillRect(x + 11, y + 2 + bob, 11, 3, bodyDark);  // hair or helmet
  img.Set(x + 13, y + 8 + bob, kOutline);              // eye on the left: faces left
  if (pose == 18 || pose == 19) {                     // hurt: eyes shut, tilted arm
    img.Line(x + 12, y + 7 + bob, x + 14, y + 9 + bob, kOutline);
    img.Line(x + 22, y + 14, x + 28, y + 10, bodyDark);
  } else if (pose == 12 || pose == 13) {              // attack: arm stretched to the left
    img.FillRect(x + 1 + (pose - 12) * 2, y + 16, 9, 3, kSkinShade);
  } else {
    img.FillRect(x + 7, y + 15 + bob, 3, 7, kSkinShade);
  }
  if (pose == 16 || pose == 17) {                     // fly: wings
    const int lift = pose == 16 ? 0 : 4;
    img.Line(x + 23, y + 15, x + 30, y + 8 + lift, S(GREY, 14));
    img.Line(x + 23, y + 17, x + 30, y + 12 + lift, S(GREY, 14));
  }
}

void DrawSlime(cIndexedImage& img, int x, int y, int hue, int column) {
  const bool invincible = column >= 4 && column <= 7;
  const bool block = column >= 8 && column <= 11;
  const int squash = column % 2;
  const int body = block ? S(GREY, 8) : invincible ? S(hue, 14) : S(hue, 9);
  const int top = 12 + squash * 2 + (column >= 14 && column <= 15 ? -4 : 0);
  img.Disc(x + 16, y + top + 10, 11 + squash, kOutline);
  img.Disc(x + 16, y + top + 10, 10 + squash, body);
  img.FillRect(x + 2, y + 28, 28, 4, pal::kKey);  // flat bottom
  img.FillRect(x + 5, y + 27, 22, 1, kOutline);
  img.Disc(x + 12, y + top + 6, 2, kHighlight);
  img.Set(x + 10, y + top + 9, kOutline);
  img.Set(x + 15, y + top + 9, kOutline);
  if (column == 12 || column == 13) img.FillRect(x + 1, y + top + 12, 6, 3, S(hue, 12));
}

void DrawBat(cIndexedImage& img, int x, int y, int hue, int column) {
  const int body = column >= 4 && column <= 7 ? S(hue, 14) : S(hue, 7);
  const int flap = column % 2 ? 6 : 0;
  img.Disc(x + 16, y + 16, 6, kOutline);
  img.Disc(x + 16, y + 16, 5, body);
  img.Line(x + 10, y + 15, x + 1, y + 8 + flap, S(hue, 4));
  img.Line(x + 10, y + 17, x + 2, y + 12 + flap, S(hue, 4));
  img.Line(x + 22, y + 15, x + 31, y + 8 + flap, S(hue, 4));
  img.Line(x + 22, y + 17, x + 30, y + 12 + flap, S(hue, 4));
  img.Set(x + 13, y + 15, S(RED, 13));
  img.Set(x + 17, y + 15, S(RED, 13));
}

cIndexedImage CharacterSheet() {
  // 15 characters (rows) of 20 columns.
  cIndexedImage img(640, 480);
  for (int row = 0; row < 15; ++row) {
    const int hue = row == 0 ? SKY : (row * 5) % 12;
    const CHARASHAPE shape = row == 0 ? SHAPE_HUMAN : static_cast<CHARASHAPE>(row % 3);
    for (int column = 0; column < 20; ++column) {
      const int x = column * 32, y = row * 32;
      if (shape == SHAPE_HUMAN)
        DrawHuman(img, x, y, hue, column);
      else if (shape == SHAPE_SLIME)
        DrawSlime(img, x, y, hue, column);
      else
        DrawBat(img, x, y, hue, column);
    }
  }
  return img;
}

// ---- blocks: 32 × 32, block n at ((n / 15) × 32, (n % 15) × 32) ----

void DrawBlock(cIndexedImage& img, int x, int y, int style, int hue) {
  switch (style) {
    case 0:  // grass on earth
      img.FillRect(x, y, 32, 32, S(BROWN, 7));
      img.FillRect(x, y, 32, 8, S(GREEN, 9));
      for (int i = 0; i < 32; i += 4) img.Set(x + i, y + 8, S(GREEN, 6));
      for (int i = 2; i < 32; i += 7) img.Set(x + i, y + 18 + i % 9, S(BROWN, 4));
      break;
    case 1:  // earth
      img.FillRect(x, y, 32, 32, S(BROWN, 7));
      for (int i = 1; i < 32; i += 5) img.Set(x + i, y + (i * 7) % 31, S(BROWN, 4));
      break;
    case 2:  // bricks
      img.FillRect(x, y, 32, 32, S(hue, 7));
      for (int r = 0; r < 4; ++r) {
        img.FillRect(x, y + r * 8 + 7, 32, 1, S(hue, 3));
        const int off = (r % 2) * 8;
        img.FillRect(x + off + 7, y + r * 8, 1, 7, S(hue, 3));
        img.FillRect(x + off + 23, y + r * 8, 1, 7, S(hue, 3));
      }
      break;
    case 3:  // stone
      img.FillRect(x, y, 32, 32, S(GREY, 6));
      img.Frame(x, y, 32, 32, S(GREY, 3));
      img.Line(x + 1, y + 1, x + 30, y + 1, S(GREY, 10));
      img.Line(x + 1, y + 1, x + 1, y + 30, S(GREY, 10));
      break;
    case 4:  // metal
      img.Gradient(x, y, 32, 32, GREY, 11, 5);
      img.Frame(x, y, 32, 32, kOutline);
      for (int cx : {5, 26})
        for (int cy : {5, 26}) img.Disc(x + cx, y + cy, 1, S(GREY, 3));
      break;
    case 5:  // ice
      img.Gradient(x, y, 32, 32, SKY, 14, 11);
      img.Line(x + 4, y + 26, x + 26, y + 4, kHighlight);
      img.Frame(x, y, 32, 32, S(SKY, 7));
      break;
    case 6:  // water: the cycling water band
      for (int j = 0; j < 32; ++j) img.FillRect(x, y + j, 32, 1, Band(0, (j / 4) % 4));
      break;
    case 7:  // lava: the cycling lava band
      for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i) img.Set(x + i, y + j, Band(1, ((i + j) / 6) % 4));
      break;
    case 8:  // wooden planks
      img.FillRect(x, y, 32, 32, S(BROWN, 9));
      for (int r = 0; r < 4; ++r) img.FillRect(x, y + r * 8 + 7, 32, 1, S(BROWN, 5));
      break;
    case 9:  // question block
      img.FillRect(x, y, 32, 32, S(YELLOW, 10));
      img.Frame(x, y, 32, 32, S(ORANGE, 5));
      ShadowText(img, x + 11, y + 9, "?", 2, S(BROWN, 4));
      break;
    case 10:  // cloud platform
      img.Disc(x + 9, y + 12, 8, S(GREY, 14));
      img.Disc(x + 22, y + 11, 9, S(GREY, 15));
      img.FillRect(x, y + 12, 32, 8, S(GREY, 14));
      break;
    case 11:  // ladder
      img.FillRect(x + 5, y, 3, 32, S(BROWN, 8));
      img.FillRect(x + 24, y, 3, 32, S(BROWN, 8));
      for (int r = 0; r < 4; ++r) img.FillRect(x + 5, y + r * 8 + 3, 22, 2, S(BROWN, 10));
      break;
    case 12:  // spikes
      img.FillRect(x, y + 26, 32, 6, S(GREY, 5));
      for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 20; ++j) img.FillRect(x + k * 8 + 4 - j / 5, y + 6 + j, 1 + 2 * (j / 5), 1, S(GREY, 11));
      break;
    case 13:  // goal
      img.FillRect(x + 6, y + 2, 2, 30, S(GREY, 12));
      img.FillRect(x + 8, y + 3, 18, 12, S(RED, 10));
      img.FillRect(x + 2, y + 29, 10, 3, S(GREY, 5));
      break;
    default:  // crystal
      img.FillRect(x, y, 32, 32, S(hue, 9));
      img.Line(x, y, x + 31, y + 31, S(hue, 13));
      img.Line(x + 31, y, x, y + 31, S(hue, 5));
      img.Frame(x, y, 32, 32, S(hue, 4));
      break;
  }
}

cIndexedImage BlockSheet() {
  cIndexedImage img(256, 480);
  for (int n = 0; n < 120; ++n) DrawBlock(img, (n / 15) * 32, (n % 15) * 32, n % 15, (n / 15 * 3 + 1) % 12);
  return img;
}

// ---- shots: 16 × 16, graphic g, frame f at ((f + (g / 30) × 2) × 16, (g % 30) × 16) ----

void DrawShot(cIndexedImage& img, int x, int y, int style, int hue, int frame) {
  const int bright = frame ? 14 : 11;
  switch (style) {
    case 0:  // orb
      img.Disc(x + 8, y + 8, 5 + frame, S(hue, 7));
      img.Disc(x + 7, y + 7, 2, S(hue, bright));
      break;
    case 1:  // star
      img.Line(x + 8, y + 1, x + 8, y + 15, S(hue, bright));
      img.Line(x + 1, y + 8, x + 15, y + 8, S(hue, bright));
      img.Line(x + 3 + frame, y + 3 + frame, x + 13 - frame, y + 13 - frame, S(hue, 9));
      img.Line(x + 13 - frame, y + 3 + frame, x + 3 + frame, y + 13 - frame, S(hue, 9));
      break;
    case 2:  // arrow pointing left
      img.FillRect(x + 4, y + 7, 11, 2, S(BROWN, 9));
      img.Line(x + 1, y + 8, x + 5, y + 4, S(GREY, 12));
      img.Line(x + 1, y + 8, x + 5, y + 12, S(GREY, 12));
      img.FillRect(x + 13 - frame, y + 5, 2, 6, S(hue, bright));
      break;
    case 3:  // ring
      img.Disc(x + 8, y + 8, 6, S(hue, bright));
      img.Disc(x + 8, y + 8, 3 + frame, pal::kKey);
      break;
    case 4:  // spark
      for (int k = 0; k < 4; ++k) img.Disc(x + 3 + (k * 5 + frame * 3) % 11, y + 3 + (k * 7) % 11, 1, S(hue, bright));
      break;
    default:  // bullet
      img.FillRect(x + 3, y + 6, 10, 4, S(hue, 8));
      img.FillRect(x + 2, y + 7, 1, 2, S(hue, bright));
      break;
  }
}

cIndexedImage ShotSheet() {
  cIndexedImage img(128, 480);
  for (int pair = 0; pair < 4; ++pair)
    for (int row = 0; row < 30; ++row)
      for (int frame = 0; frame < 2; ++frame)
        DrawShot(img, (frame + pair * 2) * 16, row * 16, row % 6, (row + pair * 4) % 12, frame);
  return img;
}

// ---- items ----

// A 32 × 32 (or, at half scale, 16 × 16) item picture; frame 1 glints.
void DrawItem(cIndexedImage& img, int x, int y, int kind, int frame, int size) {
  const int c = size / 2;
  const int r = size * 3 / 8;
  const int glint = frame ? kHighlight : S(GREY, 13);
  switch (kind % 15) {
    case 0:  // coin
      img.Disc(x + c, y + c, r, S(ORANGE, 7));
      img.Disc(x + c, y + c, r - 1, S(YELLOW, 11));
      img.FillRect(x + c - 1, y + c - r / 2, 2, r, S(ORANGE, 7));
      break;
    case 1:  // gem
      img.Disc(x + c, y + c, r, S(TEAL, 10));
      img.Line(x + c - r, y + c, x + c + r, y + c, S(TEAL, 6));
      break;
    case 2:  // heart
      img.Disc(x + c - r / 2, y + c - r / 3, r / 2 + 1, S(RED, 10));
      img.Disc(x + c + r / 2, y + c - r / 3, r / 2 + 1, S(RED, 10));
      for (int j = 0; j < r; ++j) img.FillRect(x + c - r + j, y + c + j - r / 3, 2 * (r - j), 1, S(RED, 10));
      break;
    case 3:  // key
      img.Disc(x + c - r / 2, y + c, r / 2, S(YELLOW, 11));
      img.FillRect(x + c - r / 2, y + c - 1, r + r / 2, 2, S(YELLOW, 11));
      img.FillRect(x + c + r - 2, y + c, 2, r / 2, S(YELLOW, 11));
      break;
    case 4:  // potion
      img.Disc(x + c, y + c + r / 3, r * 2 / 3, S(VIOLET, 10));
      img.FillRect(x + c - 1, y + c - r, 3, r, S(GREY, 12));
      break;
    case 5:  // star
      img.Line(x + c, y + c - r, x + c, y + c + r, S(YELLOW, 12));
      img.Line(x + c - r, y + c, x + c + r, y + c, S(YELLOW, 12));
      img.Disc(x + c, y + c, r / 2, S(YELLOW, 12));
      break;
    case 6:  // extra life: the hero's head
      img.Disc(x + c, y + c, r, S(SKY, 8));
      img.Disc(x + c, y + c + 1, r - 2, kSkin);
      break;
    case 7:  // goal flag
      img.FillRect(x + c - r, y + c - r, 2, 2 * r, S(GREY, 12));
      img.FillRect(x + c - r + 2, y + c - r, r + r / 2, r, S(RED, 10));
      break;
    case 8:  // clock
      img.Disc(x + c, y + c, r, S(GREY, 14));
      img.Line(x + c, y + c, x + c, y + c - r + 2, kOutline);
      img.Line(x + c, y + c, x + c + r / 2, y + c, kOutline);
      break;
    case 9:  // shield
      img.FillRect(x + c - r, y + c - r, 2 * r, r, S(BLUE, 9));
      img.Disc(x + c, y + c, r - 1, S(BLUE, 9));
      break;
    case 10:  // sword
      img.Line(x + c - r, y + c + r, x + c + r, y + c - r, S(GREY, 13));
      img.Line(x + c - r / 2, y + c, x + c, y + c + r / 2, S(BROWN, 8));
      break;
    case 11:  // bomb
      img.Disc(x + c, y + c + 1, r, S(GREY, 3));
      img.Line(x + c, y + c - r, x + c + 2, y + c - r - 2, S(ORANGE, 11));
      break;
    case 12:  // mushroom
      img.Disc(x + c, y + c - 1, r, S(RED, 9));
      img.FillRect(x + c - r / 2, y + c, r, r, kSkin);
      break;
    case 13:  // chest
      img.FillRect(x + c - r, y + c - r / 2, 2 * r, r + r / 2, S(BROWN, 8));
      img.FillRect(x + c - r, y + c - 1, 2 * r, 2, S(YELLOW, 10));
      break;
    default:  // bell
      img.Disc(x + c, y + c, r, S(YELLOW, 10));
      img.FillRect(x + c - r, y + c, 2 * r, r, S(YELLOW, 10));
      img.Disc(x + c, y + c + r, 1, S(BROWN, 5));
      break;
  }
  img.Set(x + c - r / 2, y + c - r / 2, glint);
}

cIndexedImage ItemSheet() {
  // Item n: x = (n / 15) × 64 + frame × 32, y = (n % 15) × 32.
  cIndexedImage img(128, 480);
  for (int n = 0; n < 30; ++n)
    for (int frame = 0; frame < 2; ++frame) DrawItem(img, (n / 15) * 64 + frame * 32, (n % 15) * 32, n, frame, 32);
  return img;
}

cIndexedImage ItemMiniSheet() {
  // Item n: 16 × 16 at ((n / 15) × 32, (n % 15) × 16).
  cIndexedImage img(64, 240);
  for (int n = 0; n < 30; ++n) DrawItem(img, (n / 15) * 32, (n % 15) * 16, n, 0, 16);
  return img;
}

cIndexedImage MarkSheet() {
  // Mark d: 32 × 32 at ((d / 15) × 32, (d % 15) × 32).
  static const char* const kMarks[30] = {"!", "?", "1", "2", "3", "4", "5", "6", "7", "8",
                                         "9", "0", "+", "-", "X", "A", "B", "C", "D", "E",
                                         "F", "G", "H", "K", "L", "M", "N", "P", "S", "Z"};
  cIndexedImage img(64, 480);
  for (int d = 0; d < 30; ++d) {
    const int x = (d / 15) * 32, y = (d % 15) * 32;
    img.Disc(x + 24, y + 8, 7, kOutline);
    img.Disc(x + 24, y + 8, 6, S((d * 7) % 12, 10));
    CentredText(img, x + 17, y + 1, 14, 14, kMarks[d], 1, kHighlight);
  }
  return img;
}

cIndexedImage WindowImage() {
  // Box backgrounds take its top-left part; it has no transparent colour.
  cIndexedImage img(640, 480);
  for (int y = 0; y < 480; ++y) img.FillRect(0, y, 640, 1, S(BLUE, 1 + y * 4 / 480));
  for (int k = -480; k < 640; k += 24) img.Line(k, 479, k + 479, 0, S(BLUE, 2));
  return img;
}

cIndexedImage StatusWindowImage() {
  cIndexedImage img(640, 20);
  img.Gradient(0, 0, 640, 19, GREY, 3, 1);
  img.FillRect(0, 19, 640, 1, S(GREY, 8));
  return img;
}

cIndexedImage TitleImage() {
  cIndexedImage img(640, 480);
  img.Gradient(0, 0, 640, 320, SKY, 13, 8);
  img.Disc(520, 90, 36, S(YELLOW, 13));
  for (int x = 0; x < 640; ++x) {
    const int far = 300 - (x * 7 % 90 < 45 ? x * 7 % 90 : 90 - x * 7 % 90);
    img.FillRect(x, far, 1, 480 - far, S(GREEN, 6));
    const int near = 360 - ((x / 3) % 40 < 20 ? (x / 3) % 40 : 40 - (x / 3) % 40);
    img.FillRect(x, near, 1, 480 - near, S(GREEN, 9));
  }
  img.FillRect(0, 420, 640, 60, S(BROWN, 6));
  const std::string title = "SAMPLE GAME";
  const int w = cIndexedImage::TextWidth(title, 6);
  img.Text((640 - w) / 2 + 3, 103, title, 6, kOutline);
  img.Text((640 - w) / 2, 100, title, 6, S(YELLOW, 12));
  return img;
}

// Cursors and menu sprites, head-up display icons and gauges, the world-map
// walker; the character gauges lie in 2-dot rows from 208, so the image is
// taller than 208.
cIndexedImage AccessoryImage() {
  cIndexedImage img(128, 224);
  // Title-menu hand, 32 × 32 at (0, 0): a pointer to the right.
  for (int j = 0; j < 20; ++j) img.FillRect(4, 6 + j, 1 + (j < 10 ? j : 19 - j) * 2, 1, S(YELLOW, 11));
  img.FillRect(2, 13, 6, 6, kSkin);
  // Popup icon 16 × 16 at (48, 0).
  img.Disc(56, 8, 7, kOutline);
  img.Disc(56, 8, 6, S(ORANGE, 11));
  img.Text(54, 2, "!", 1, kHighlight);
  // List arrow 16 × 16 at (64, 0) and the tag of the enclosing menu at (80, 0).
  for (int j = 0; j < 12; ++j) img.FillRect(67, 2 + j, 1 + (j < 6 ? j : 11 - j) * 2, 1, kHighlight);
  img.FillRect(83, 4, 9, 8, S(ORANGE, 10));
  img.Frame(83, 4, 9, 8, kOutline);
  // Cleared mark 32 × 32 at (96, 0): a check in a ring.
  img.Disc(112, 16, 13, S(YELLOW, 11));
  img.Disc(112, 16, 10, S(ORANGE, 8));
  img.Line(105, 16, 110, 22, kHighlight);
  img.Line(110, 22, 120, 9, kHighlight);
  // Head-up display icons 16 × 16 at y 32: total score, stage score, HP, SP, lives.
  DrawItem(img, 0, 32, 0, 0, 16);
  DrawItem(img, 16, 32, 5, 0, 16);
  DrawItem(img, 32, 32, 2, 0, 16);
  DrawItem(img, 48, 32, 4, 0, 16);
  DrawItem(img, 64, 32, 6, 0, 16);
  // Life icon (0, 48) and the ranking's new-entry tag (16, 48).
  DrawItem(img, 0, 48, 6, 0, 16);
  img.FillRect(17, 51, 14, 10, S(RED, 10));
  img.FillRect(19, 55, 10, 2, kHighlight);
  // Walker 32 × 32, two frames side by side: down (0, 64), up (64, 64),
  // left (64, 96), right (0, 96).
  for (int frame = 0; frame < 2; ++frame) {
    const int pose = 2 + frame;
    DrawHuman(img, frame * 32, 64, SKY, pose);
    DrawHuman(img, 64 + frame * 32, 64, SKY, pose);
    img.FillRect(64 + frame * 32 + 11, 64 + 4, 11, 8, S(SKY, 5));  // seen from behind
    DrawHuman(img, 64 + frame * 32, 96, SKY, pose);
    DrawHuman(img, frame * 32, 96, SKY, pose);
    img.MirrorRect(frame * 32, 96, 32, 32);
  }
  // Status-bar gauges 50 × 16: frames at y 128 (HP x 0, SP x 64), fills at
  // y 144 (normal) and y 160 (low).
  for (int x : {0, 64}) {
    img.FillRect(x, 131, 50, 10, S(GREY, 2));
    img.Frame(x, 130, 50, 12, S(GREY, 12));
    img.FillRect(x, 147, 50, 6, x ? S(SKY, 10) : S(GREEN, 10));
    img.FillRect(x, 163, 50, 6, S(RED, 10));
  }
  // Character gauges, 2-dot rows of 50 from y 208: frame, value, low value,
  // lost part, gained part.
  const int rows[5] = {S(GREY, 12), S(GREEN, 10), S(RED, 10), S(ORANGE, 12), S(SKY, 13)};
  for (int x : {0, 64})
    for (int k = 0; k < 5; ++k) img.FillRect(x, 208 + 2 * k, 50, 2, k == 1 && x ? S(SKY, 10) : rows[k]);
  return img;
}

// Icons for the letters 'a'..'z' of the fonts with icons: one 32 × 32 cell
// each in a row.
cIndexedImage SymbolImage() {
  cIndexedImage img(26 * 32, 32);
  for (int k = 0; k < 26; ++k) {
    const int x = k * 32;
    if (k < 15)
      DrawItem(img, x, 0, k, 0, 32);
    else {
      img.Disc(x + 16, 16, 12, S((k * 5) % 12, 9));
      CentredText(img, x, 0, 32, 32, std::string(1, static_cast<char>('A' + k)), 2, kHighlight);
    }
  }
  return img;
}

// The stage's words: area (0, 0) 128 × 32, start (160, 0) 80 × 32, replay
// (0, 32), clear (0, 64), game over (0, 96) 144 × 32; 32 × 32 digit rows at
// y 128 (area number) and y 160 (timer).
cIndexedImage WordImage() {
  cIndexedImage img(320, 192);
  CentredText(img, 0, 0, 128, 32, "AREA", 3, S(ORANGE, 12));
  CentredText(img, 160, 0, 80, 32, "START", 2, S(YELLOW, 12));
  CentredText(img, 0, 32, 128, 32, "REPLAY", 3, S(SKY, 12));
  CentredText(img, 0, 64, 128, 32, "CLEAR", 3, S(YELLOW, 12));
  CentredText(img, 0, 96, 144, 32, "GAME OVER", 2, S(RED, 12));
  for (int d = 0; d < 10; ++d) {
    const std::string digit(1, static_cast<char>('0' + d));
    CentredText(img, d * 32, 128, 32, 32, digit, 4, S(ORANGE, 12));
    CentredText(img, d * 32, 160, 32, 32, digit, 4, kHighlight);
  }
  return img;
}

// World-map chips, 32 × 32, chip c at (32 (c % 5), 32 (c / 5)): 0-4 the
// ones the map blocks (sea, deep sea, mountain, forest, rock), 5-9 the ones
// it lets the walker cross (grass, road, bridge, sand, flowers).
cIndexedImage WorldMapChipImage() {
  cIndexedImage img(160, 64);
  for (int c = 0; c < 10; ++c) {
    const int x = 32 * (c % 5), y = 32 * (c / 5);
    switch (c) {
      case 0:
        for (int j = 0; j < 32; ++j) img.FillRect(x, y + j, 32, 1, Band(0, (j / 8) % 4));
        break;
      case 1:
        img.FillRect(x, y, 32, 32, S(BLUE, 3));
        break;
      case 2:
        img.FillRect(x, y, 32, 32, S(GREEN, 9));
        for (int j = 0; j < 24; ++j) img.FillRect(x + 16 - j * 2 / 3, y + 6 + j, 1 + j * 4 / 3, 1, S(BROWN, 6));
        img.FillRect(x + 13, y + 6, 6, 3, S(GREY, 14));
        break;
      case 3:
        img.FillRect(x, y, 32, 32, S(GREEN, 9));
        for (int cx : {9, 23}) img.Disc(x + cx, y + 14, 7, S(GREEN, 4));
        img.Disc(x + 16, y + 22, 7, S(GREEN, 5));
        break;
      case 4:
        img.FillRect(x, y, 32, 32, S(GREY, 5));
        img.Disc(x + 16, y + 16, 10, S(GREY, 8));
        break;
      case 5:
        img.FillRect(x, y, 32, 32, S(GREEN, 9));
        for (int i = 3; i < 32; i += 9) img.Set(x + i, y + (i * 5) % 29, S(GREEN, 12));
        break;
      case 6:
        img.FillRect(x, y, 32, 32, S(GREEN, 9));
        img.FillRect(x + 8, y, 16, 32, S(BROWN, 11));
        break;
      case 7:
        for (int j = 0; j < 32; ++j) img.FillRect(x, y + j, 32, 1, Band(0, (j / 8) % 4));
        img.FillRect(x + 6, y, 20, 32, S(BROWN, 9));
        for (int j = 3; j < 32; j += 6) img.FillRect(x + 6, y + j, 20, 1, S(BROWN, 5));
        break;
      case 8:
        img.FillRect(x, y, 32, 32, S(YELLOW, 13));
        break;
      default:
        img.FillRect(x, y, 32, 32, S(GREEN, 9));
        for (int k = 0; k < 5; ++k) img.Disc(x + 5 + k * 6, y + 6 + (k * 11) % 20, 1, S((k * 3) % 12, 13));
        break;
    }
  }
  return img;
}

// Stage entrances on the world map: icon row r at y 32 r; x 0 before the
// stage is cleared, x 32 after (with a gold star).
cIndexedImage WorldEventImage() {
  cIndexedImage img(64, 128);
  for (int row = 0; row < 4; ++row)
    for (int cleared = 0; cleared < 2; ++cleared) {
      const int x = cleared * 32, y = row * 32;
      const int hue = row == 0 ? GREY : row == 1 ? BROWN : row == 2 ? VIOLET : RED;
      img.FillRect(x + 6, y + 10, 20, 20, S(hue, 8));
      img.Frame(x + 6, y + 10, 20, 20, kOutline);
      img.FillRect(x + 13, y + 20, 6, 10, kOutline);
      for (int k = 0; k < 3; ++k) img.FillRect(x + 6 + k * 8, y + 6, 4, 4, S(hue, 8));
      if (cleared) {
        img.Disc(x + 26, y + 6, 5, S(YELLOW, 12));
        img.Disc(x + 26, y + 6, 2, S(ORANGE, 9));
      }
    }
  return img;
}

// The palette image: entry 0 at the top left (the transparent colour), the
// 16 × 16 swatch of every entry in rows 8..23.
cIndexedImage PaletteImage() {
  cIndexedImage img(16, 24);
  for (int n = 0; n < 256; ++n) img.Set(n % 16, 8 + n / 16, n);
  return img;
}

// An extra character sheet of the database: cells of 32 × 32, 16 per row.
cIndexedImage ExtraSheet() {
  cIndexedImage img(512, 64);
  for (int cell = 0; cell < 32; ++cell) {
    const int x = (cell % 16) * 32, y = (cell / 16) * 32;
    const int sway = (cell % 4) - 1;
    img.Disc(x + 16 + sway, y + 13, 10, S(GREY, 14));
    img.FillRect(x + 6 + sway, y + 13, 21, 12, S(GREY, 14));
    for (int k = 0; k < 3; ++k) img.Disc(x + 9 + k * 7 + sway, y + 25, 3, S(GREY, 14));
    img.Set(x + 12 + sway, y + 12, kOutline);
    img.Set(x + 18 + sway, y + 12, kOutline);
  }
  return img;
}

// Sword frames, one cell each from the left; the right-facing image is the
// left-facing one mirrored cell by cell.
cIndexedImage SwordImage(bool right) {
  using namespace samplefile;
  cIndexedImage img(kSwordFrameW * kSwordFrames, kSwordFrameH);
  for (int f = 0; f < kSwordFrames; ++f) {
    const int x = f * kSwordFrameW;
    const int tilt = (f - 1) * 4;
    img.Line(x + 1, 8 - tilt, x + 24, 8 + tilt / 2, S(GREY, 14));
    img.Line(x + 1, 9 - tilt, x + 24, 9 + tilt / 2, S(GREY, 11));
    img.FillRect(x + 24, 4, 2, 9, S(YELLOW, 10));
    img.FillRect(x + 26, 7, 5, 3, S(BROWN, 7));
    if (right) img.MirrorRect(x, 0, kSwordFrameW, kSwordFrameH);
  }
  return img;
}

// The hit effect: a burst that grows over its frames, one cell each from the left.
cIndexedImage HitEffectImage() {
  using namespace samplefile;
  cIndexedImage img(kHitCell * kHitFrames, kHitCell);
  for (int f = 0; f < kHitFrames; ++f) {
    const int cx = f * kHitCell + 16;
    const int r = 4 + f * 3;
    for (int k = 0; k < 8; ++k) {
      static const int dx[8] = {1, 1, 0, -1, -1, -1, 0, 1}, dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
      img.Line(cx, 16, cx + dx[k] * r, 16 + dy[k] * r, S(YELLOW, 13 - f));
    }
    img.Disc(cx, 16, 3 - f / 2, kHighlight);
  }
  return img;
}

cIndexedImage SignPicture() {
  cIndexedImage img(256, 96);
  img.FillRect(120, 60, 16, 36, S(BROWN, 6));
  img.FillRect(8, 8, 240, 56, S(BROWN, 10));
  img.Frame(8, 8, 240, 56, S(BROWN, 4));
  CentredText(img, 8, 8, 240, 56, "WELCOME", 4, S(BROWN, 3));
  return img;
}

cIndexedImage MapPicture() {
  cIndexedImage img(192, 144);
  img.FillRect(0, 0, 192, 144, S(YELLOW, 14));
  img.Frame(0, 0, 192, 144, S(BROWN, 5));
  img.Disc(60, 70, 30, S(GREEN, 10));
  img.Disc(130, 60, 24, S(GREEN, 9));
  img.Line(40, 110, 150, 40, S(RED, 9));
  img.Text(146, 30, "X", 2, S(RED, 7));
  return img;
}

}  // namespace

std::vector<SAMPLEFILE> SampleImages() {
  const SamplePalette& palette = SampleBasePalette();
  struct NAMED {
    const char* path;
    cIndexedImage image;
  };
  const NAMED images[] = {
      {"bmp\\plt\\Palette.bmp", PaletteImage()},
      {"bmp\\Block.bmp", BlockSheet()},
      {"bmp\\Character1.bmp", CharacterSheet()},
      {"bmp\\Shot.bmp", ShotSheet()},
      {"bmp\\Item.bmp", ItemSheet()},
      {"bmp\\Item_Mini.bmp", ItemMiniSheet()},
      {"bmp\\Mark.bmp", MarkSheet()},
      {"bmp\\Window.bmp", WindowImage()},
      {"bmp\\StatusWindow.bmp", StatusWindowImage()},
      {"bmp\\Title.bmp", TitleImage()},
      {"bmp\\Accessory.bmp", AccessoryImage()},
      {"bmp\\Symbol.bmp", SymbolImage()},
      {"bmp\\Word.bmp", WordImage()},
      {"bmp\\WorldMapChip.bmp", WorldMapChipImage()},
      {"bmp\\WorldEvent.bmp", WorldEventImage()},
      {samplefile::kExtraSheet, ExtraSheet()},
      {samplefile::kSwordLeft, SwordImage(false)},
      {samplefile::kSwordRight, SwordImage(true)},
      {samplefile::kHitEffect, HitEffectImage()},
      {samplefile::kPictureSign, SignPicture()},
      {samplefile::kPictureMap, MapPicture()},
  };
  std::vector<SAMPLEFILE> files;
  for (const NAMED& n : images) files.push_back({n.path, n.image.BmpBytes(palette)});
  return files;
}

std::vector<SAMPLEFILE> SampleBlendTables() {
  std::vector<SAMPLEFILE> files;
  for (int scheme = 0; scheme < SAMPLE_SCHEME_COUNT; ++scheme) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp\\hbt\\hbt%02d.dat", scheme);
    files.push_back({name, BlendTableBytes(scheme)});
  }
  return files;
}

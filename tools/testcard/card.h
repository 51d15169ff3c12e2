#pragma once
#include <cstdint>

// The test card: one 640 x 480 picture that uses every drawing path of the
// software display (palette and transparent colour from images, fills,
// plain, keyed and stretched copies, mirrored sheets, frames, numbers, sheet
// text, the strip distortions, 24-bit images at 16 and 32 bits).
//
// Called with the drawing layer started; writes its images into bmp\ of the
// working directory, draws on BackBuffer and releases what it made. False
// when an image it needs could not be made.
bool DrawTestCard();

// Points of the card and the palette index each shows, for checks of a
// screenshot (the corners, the colour bars, the keyed sprite's centre).
struct TestCardPoint {
  int x, y;
  int palette;
};
extern const TestCardPoint kTestCardPoints[];
extern const int kTestCardPointCount;

// The colour of palette index i of the card at full 8-bit precision.
uint32_t TestCardColour(int index);

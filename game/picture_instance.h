#pragma once
// Picture instances of a running stage (m_Pictures, parallel to Off_Picture
// and Off_PictureDef): one picture shown at a world or screen position for a
// time, until a key or until the stage ends. Made on the game thread by the
// picture command; Draw runs on the thread that runs the frame loop.
#include <cstdint>

struct DDSURFACEDATA;

class cPictureInstance {
 public:
  int32_t m_nPicture = 0;
  double m_dX = 0;  // top-left, world dots
  double m_dY = 0;
  int32_t m_nWidth = 0;  // drawn size
  int32_t m_nHeight = 0;
  int32_t m_bScaled = 0;  // the scale is not 100 %
  int32_t m_nLayer = 0;   // 0 behind the stage objects, 1 in front
  int32_t m_nDisplayMode = 0;  // 2 for m_nFrames frames; else until removed
  int32_t m_nFrames = 0;       // stops at −1
  int32_t m_bStopsGame = 0;
  int32_t m_bScreenFixed = 0;  // keeps m_nScreenX, m_nScreenY instead of scrolling
  int32_t m_nScreenX = 0;
  int32_t m_nScreenY = 0;
  int32_t m_bUseId = 0;  // the picture command finds it by m_nPictureId
  int32_t m_nPictureId = 0;

  // (x, y) world dots; scale in percent; frames of display mode 2. A
  // screen-fixed picture keeps the view position it has now.
  void Init(int picture, double x, double y, int width, int height, int screenFixed, int layer, int scale,
            int displayMode, int frames, int stopsGame, int useId, int id);
  // Once per frame, `image` onto `surface`; bFrozen while play is frozen. 1
  // when its time is over (the caller releases the image and removes it).
  int Draw(DDSURFACEDATA* surface, DDSURFACEDATA* image, int bFrozen);
};

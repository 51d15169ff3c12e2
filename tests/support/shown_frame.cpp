#include "support/shown_frame.h"

#include <gtest/gtest.h>

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "platform/presenter.h"

namespace testsupport {

RgbImage ShownFrame() {
  RgbImage shown;
  plat::SetFrameCapture([&](const uint32_t* p, int w, int h) {
    shown.width = w;
    shown.height = h;
    shown.pixels.assign(p, p + static_cast<size_t>(w) * h);
  });
  if (lpDTCon)
    EXPECT_TRUE(DDPresent(0, 0, nullptr));
  else
    DDBlt(&Primary, 0, 0, 640, 480, &BackBuffer, 0, 0, 0);
  EXPECT_TRUE(plat::PresenterPump());
  plat::SetFrameCapture(nullptr);
  return shown;
}

}  // namespace testsupport

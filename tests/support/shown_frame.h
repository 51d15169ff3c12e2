#pragma once
// What the player sees: the frame the presenter shows of the back buffer,
// presented the way the running back end does it (DDPresent on the 3D
// device, a copy to the primary surface on the software display).
#include "support/png_image.h"

namespace testsupport {

RgbImage ShownFrame();

}  // namespace testsupport

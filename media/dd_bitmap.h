#pragma once
// Inside the drawing layer: the copy of a decoded BMP into a software-display
// surface, shared by the loads from file and the reloads after a loss.
#include "media/dd_surface.h"
#include "platform/bmp_image.h"

bool CopyBitmapImage(DDSURFACEDATA* lpSD, const char* file, const plat::BmpImage& img, int bpp, int bIndexMap,
                     int mirrorW, int mirrorH);

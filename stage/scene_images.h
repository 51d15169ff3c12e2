#pragma once
// The system images of the stage scene (surface table entries): loaded at a
// fresh entry into the stage, released when the scene goes.
#include "media/system_surfaces.h"

inline constexpr int kStageSceneImages[] = {
    2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
    24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45,
    46, 47, 49, 50, 51, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70};
inline constexpr int kStageSceneImageCount = sizeof(kStageSceneImages) / sizeof(kStageSceneImages[0]);
static_assert(kStageSceneImageCount == 65);

// The eight background layers' images, which the stage renames for its own.
inline constexpr int kStageBackgroundImages[SURFACE_BACKGROUND_COUNT] = {55, 56, 57, 58, 59, 60, 61, 62};

#pragma once
// One drawable surface of the drawing layer. Only the name is needed yet: the
// drawing layer gives the record its fields (back-end parts, type, file, size,
// memory types, mirror cells, alias, lost flag) and its operations.
struct DDSURFACEDATA {};

// The target of all screen drawing.
extern DDSURFACEDATA BackBuffer;

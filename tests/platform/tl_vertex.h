#pragma once
// The transformed, lit vertex the runtime gives the 3D device
// (plat::kD3DVertexFvf): position with rhw, diffuse colour, one texture pair.
#include <cstdint>

struct Vertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};

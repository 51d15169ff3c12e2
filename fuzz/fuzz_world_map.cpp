// WorldMap.dat of any bytes: the load never reads or writes out of bounds,
// leaves a grid that every cell position of the map indexes, keeps only
// nodes inside the grid, and what it saves loads back to the same bytes.
#include <cstdint>
#include <string>

#include "records/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cDataReader r(std::string(reinterpret_cast<const char*>(data), size));
  cEdWorldMap map;
  if (r.HasVersion()) map.Load(r);

  if (map.m_nWidth < 1 || map.m_nHeight < 1 || map.m_nWidth > WORLDMAP_MAX_SIDE ||
      map.m_nHeight > WORLDMAP_MAX_SIDE || map.m_nPitch_Shift < 0 || map.m_nPitch_Shift > 10 ||
      map.m_nPitch != (1 << map.m_nPitch_Shift) || map.m_nPitch < map.m_nWidth ||
      map.m_vCell.Size() != map.m_nHeight * map.m_nPitch || map.m_nStartX >= map.m_nWidth ||
      map.m_nStartY >= map.m_nHeight)
    __builtin_trap();
  const int last = (map.m_nWidth - 1) + ((map.m_nHeight - 1) << map.m_nPitch_Shift);
  if (last >= map.m_vCell.Size()) __builtin_trap();
  for (const cEdWorldNode& node : map.m_vNode) {
    if (node.m_nX >= map.m_nWidth || node.m_nY >= map.m_nHeight) __builtin_trap();
    if (map.FindNode(node.m_nX, node.m_nY) == nullptr) __builtin_trap();
    for (const cEdWorldRoute& route : node.m_vRoute) map.HasStage(route.m_strStageFile.c_str());
  }

  cDataWriter first;
  map.Save(first);
  cEdWorldMap again;
  cDataReader back(first.Bytes());
  again.Load(back);
  cDataWriter second;
  again.Save(second);
  if (first.Bytes() != second.Bytes()) __builtin_trap();
  return 0;
}

#include "records/world_map.h"

#include <cstring>

#include "base/boxes.h"
#include "base/path_util.h"

namespace {

// "ワールド"
const char kDefaultWorldName[] = "\x83\x8F\x81[\x83\x8B\x83h";
// "デフォルト"
const char kDefaultNodeName[] = "\x83" "f\x83t\x83H\x83\x8B\x83g";
// "通行不可"
const char kChipBlocked[] = "\x92\xCA\x8Ds\x95s\x89\xC2";
// "通行可"
const char kChipPassable[] = "\x92\xCA\x8Ds\x89\xC2";
// "SetSize()で 0 を指定しました！"
const char kZeroSize[] =
    "SetSize()\x82\xC5 0 \x82\xF0\x8Ew\x92\xE8\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81I";

constexpr int kDefaultChips = 10;
constexpr int kBlockedChips = 5;
// The cells a damaged grid is padded to at most (a 64 x 64 map).
constexpr int64_t kPaddedCells = 64 * 64;

int32_t ClampSide(int32_t n) {
  if (n < 1) return 1;
  return n > WORLDMAP_MAX_SIDE ? WORLDMAP_MAX_SIDE : n;
}

}  // namespace

// ---- chips and entries ---------------------------------------------------

void cEdWorldChip::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_nAux);
  AddDword(&m_bBlocked);
  AddDword(&m_nGraphic);
  AddString(&m_strAux);
  AddString(&m_strLabel);
}

void cEdWorldRoute::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_nKind);
  AddDword(&m_nIcon);
  AddDword(&m_nStageNo);
  AddDword(&m_bPassable);
  AddDword(&m_bReentry);
  AddDword(&m_nAfterClear);
  AddDword(&m_nNeedStage);
  AddDword(&m_nVarNo);
  AddDword(&m_nVarValue);
  AddDword(&m_nVarCmp);
  if (version >= 209) AddDword(&m_nNeedTotal);
  AddString(&m_strAux);
  AddString(&m_strStageFile);
}

void cEdWorldRoute::Load(cDataReader& r) {
  cRecord::Load(r);
  if (r.Version() <= 208) m_nNeedTotal = 0;
}

// ---- nodes ----------------------------------------------------------------

cEdWorldNode::cEdWorldNode() {
  Clear();
  m_vRoute.assign(1, cEdWorldRoute());
  Normalise();
}

void cEdWorldNode::Reset() {
  Clear();
  m_vRoute.resize(1);
}

void cEdWorldNode::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_nX);
  AddDword(&m_nY);
  AddString(&m_strName);
}

void cEdWorldNode::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vRoute, r);
}

void cEdWorldNode::Save(cDataWriter& w) {
  Normalise();
  cRecord::Save(w);
  SaveRecordList(m_vRoute, w);
}

void cEdWorldNode::Normalise() {
  // An entry has nothing to repair: its values are only compared.
}

// ---- the map --------------------------------------------------------------

cEdWorldMap::cEdWorldMap() { Reset(); }

void cEdWorldMap::Reset() {
  Clear();
  m_strName = kDefaultWorldName;
  m_nStartX = 9;
  m_nStartY = 7;
  m_nBackColor = 16;
  m_bShowImage = 0;
  m_vChip.resize(kDefaultChips);
  for (int i = 0; i < kDefaultChips; ++i) {
    cEdWorldChip& chip = m_vChip[i];
    chip.m_nGraphic = i;
    chip.m_bBlocked = i < kBlockedChips ? 1 : 0;
    chip.m_strLabel = i < kBlockedChips ? kChipBlocked : kChipPassable;
  }
  SetSize(20, 15);
  m_vNode.clear();
  m_vNodeAux.assign(1, cEdWorldNode());
  m_vNodeAux[0].m_strName = kDefaultNodeName;
}

void cEdWorldMap::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_nWidth);
  AddDword(&m_nHeight);
  AddDword(&m_nPitch);
  AddDword(&m_nPitch_Shift);
  AddDword(&m_nStartX);
  AddDword(&m_nStartY);
  AddDword(&m_nBackColor);
  AddDword(&m_bShowImage);
  AddString(&m_strName);
  AddString(&m_strFile);
}

void cEdWorldMap::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vChip, r);
  LoadIntList(m_vCell, r);
  cEdWorldNode node;
  node.Reset();
  LoadRecordList(m_vNode, r, node);
  LoadRecordList(m_vNodeAux, r, node);
  Normalise(m_vCell.Size());
}

void cEdWorldMap::Save(cDataWriter& w) {
  Normalise();
  cRecord::Save(w);
  SaveRecordList(m_vChip, w);
  SaveIntList(m_vCell, w);
  SaveRecordList(m_vNode, w);
  SaveRecordList(m_vNodeAux, w);
}

// The editor stores a grid whose size, pitch, shift and cell count agree.
// Any other grid comes from a damaged file and is rebuilt before anything
// indexes it: the size is brought into 1..WORLDMAP_MAX_SIDE, the file's pitch
// is kept only when it is a power of two that holds a row, and the cells
// become exactly height x pitch (the missing ones chip 0). A loaded grid is
// padded so only up to kPaddedCells: past that, a file that holds fewer
// cells keeps the rows they fill, so that a few damaged bytes never build
// (and save) a grid of the largest size.
void cEdWorldMap::Normalise(int64_t cellsHeld) {
  const int32_t width = ClampSide(m_nWidth);
  int32_t height = ClampSide(m_nHeight);
  int32_t pitch = 0;
  int32_t shift = 0;
  CalcPitch(pitch, shift, WORLDMAP_MAX_SIDE);
  const int32_t maxShift = shift;
  CalcPitch(pitch, shift, width);
  if (m_nPitch_Shift >= 0 && m_nPitch_Shift <= maxShift && m_nPitch == (1 << m_nPitch_Shift) &&
      m_nPitch >= width) {
    pitch = m_nPitch;
    shift = m_nPitch_Shift;
  }
  const int64_t bound = cellsHeld > kPaddedCells ? cellsHeld : kPaddedCells;
  if (static_cast<int64_t>(height) * pitch > bound) height = static_cast<int32_t>((bound + pitch - 1) / pitch);
  m_nWidth = width;
  m_nHeight = height;
  m_nPitch = pitch;
  m_nPitch_Shift = shift;
  m_vCell.resize(static_cast<size_t>(height) * static_cast<size_t>(pitch), 0);

  if (m_nStartX >= m_nWidth) m_nStartX = m_nWidth - 1;
  if (m_nStartY >= m_nHeight) m_nStartY = m_nHeight - 1;
  for (cEdWorldNode& node : m_vNode) node.Normalise();
  for (int i = 0; i < m_vNode.Size();) {
    const cEdWorldNode& node = m_vNode[i];
    if (node.m_nX >= m_nWidth || node.m_nY >= m_nHeight)
      m_vNode.erase(m_vNode.begin() + i);
    else
      ++i;
  }
  for (cEdWorldNode& node : m_vNodeAux) node.Normalise();
}

int cEdWorldMap::SetSize(int width, int height) {
  if (width == 0 || height == 0) {
    DebugBoxPrintf("%s", kZeroSize);
    return 0;
  }
  if (width < 1 || height < 1 || width > WORLDMAP_MAX_SIDE || height > WORLDMAP_MAX_SIDE) return 0;
  const bool keep = !m_vCell.empty();
  cVector<int32_t> oldCells;
  const int32_t oldWidth = m_nWidth;
  const int32_t oldHeight = m_nHeight;
  const int32_t oldShift = m_nPitch_Shift;
  if (keep) {
    DebugBoxPrintf("nBeforeWidth = %d,nBeforePitch = %d,nBeforePitch_Shift = %d", m_nWidth,
                   m_nPitch, m_nPitch_Shift);
    oldCells.swap(m_vCell);
  }
  m_nWidth = width;
  m_nHeight = height;
  CalcPitch(m_nPitch, m_nPitch_Shift, width);
  m_vCell.assign(static_cast<size_t>(height) * static_cast<size_t>(m_nPitch), 0);
  if (keep && oldShift >= 0 && oldShift < 31) {
    for (int32_t y = 0; y < oldHeight && y < height; ++y) {
      for (int32_t x = 0; x < oldWidth && x < width; ++x) {
        const int64_t from = x + (static_cast<int64_t>(y) << oldShift);
        if (from < oldCells.Size()) m_vCell[x + (y << m_nPitch_Shift)] = oldCells[from];
      }
    }
  }
  return 1;
}

void cEdWorldMap::CalcPitch(int32_t& pitch, int32_t& shift, int n) {
  shift = 0;
  for (uint32_t rest = n > 1 ? static_cast<uint32_t>(n - 1) : 0; rest; rest >>= 1) ++shift;
  pitch = shift < 31 ? 1 << shift : 0x40000000;
  if (shift >= 31) shift = 30;
}

cEdWorldNode* cEdWorldMap::FindNode(int x, int y) {
  for (cEdWorldNode& node : m_vNode)
    if (node.m_nX == x && node.m_nY == y) return &node;
  return nullptr;
}

int cEdWorldMap::HasStage(const char* text) {
  for (cEdWorldNode& node : m_vNode) {
    for (cEdWorldRoute& route : node.m_vRoute) {
      if (route.m_nKind != WORLDROUTE_STAGE) continue;
      std::string name = route.m_strStageFile;
      StripExtensionString(name);
      size_t area = name.rfind("-1");
      if (area != std::string::npos) name.resize(area);
      name += '.';
      if (StrEqual(name.c_str(), text)) return 1;
    }
  }
  return 0;
}

int StrEqual(const char* a, const char* b) { return std::strcmp(a ? a : "", b ? b : "") == 0 ? 1 : 0; }

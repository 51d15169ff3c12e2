// The 3D device's fill and sprite batches: queues of draws handed over in
// runs of equal state. On the software display nothing is queued.
#include <algorithm>

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"

DDFILLBATCH FillBatch;
DDSPRITEBATCH SpriteBatch;
BatchRunDrawer DDBatchRunDrawer = DTDrawBatchRun;

namespace {

bool SameRun(const DDBATCHBLIT& a, const DDBATCHBLIT& b) {
  return a.lpSrc == b.lpSrc && a.lpDst == b.lpDst && a.dwColor == b.dwColor && a.nFlags == b.nFlags &&
         a.nColorOp == b.nColorOp && a.nAlphaOp == b.nAlphaOp;
}

void CloseSpriteBatch() {
  SpriteBatch.records.clear();
  SpriteBatch.keys.clear();
  SpriteBatch.nQueued = 0;
  SpriteBatch.bOpen = 0;
}

}  // namespace

void DDBeginFillBatch() {
  if (!lpDTCon) return;
  FillBatch.bOpen = 1;
  FillBatch.records.clear();
}

void DDFlushFillBatch() {
  const auto& r = FillBatch.records;
  if (lpDTCon) {
    for (size_t i = 0; i < r.size();) {
      size_t n = 1;
      while (i + n < r.size() && r[i + n].lpTarget == r[i].lpTarget) ++n;
      DTDrawFillRun(&r[i], static_cast<int>(n));
      i += n;
    }
  }
  FillBatch.bOpen = 0;
  FillBatch.records.clear();
}

void DDBeginBatch(int bSort) {
  if (!lpDTCon) return;
  CloseSpriteBatch();
  SpriteBatch.bOpen = 1;
  SpriteBatch.bSort = bSort;
}

void DDBatchKey(DDSURFACEDATA* lpSrc) {
  if (!SpriteBatch.bOpen || !SpriteBatch.bSort || !lpSrc) return;
  auto& keys = SpriteBatch.keys;
  if (std::any_of(keys.begin(), keys.end(), [&](const auto& k) { return k.first == lpSrc; })) return;
  keys.emplace_back(lpSrc, static_cast<int32_t>(keys.size()) + 1);
}

void DDQueueBatchBlit(const DDBATCHBLIT& blit) {
  if (!SpriteBatch.bOpen) return;
  DDBATCHBLIT queued = blit;
  queued.nKey = 0;
  if (SpriteBatch.bSort)
    for (const auto& k : SpriteBatch.keys)
      if (k.first == blit.lpSrc) {
        queued.nKey = k.second;
        break;
      }
  queued.nOrder = SpriteBatch.nQueued++;
  SpriteBatch.records.push_back(queued);
}

int DDFlushBatch() {
  auto& r = SpriteBatch.records;
  if (!SpriteBatch.bOpen || r.empty()) {
    CloseSpriteBatch();
    return 1;
  }
  // Sources in the order they were registered (unregistered ones first),
  // each source's draws in the order they were queued, however many.
  if (SpriteBatch.bSort)
    std::sort(r.begin(), r.end(), [](const DDBATCHBLIT& a, const DDBATCHBLIT& b) {
      return a.nKey != b.nKey ? a.nKey < b.nKey : a.nOrder < b.nOrder;
    });
  int result = 1;
  for (size_t i = 0; i < r.size();) {
    size_t n = 1;
    while (i + n < r.size() && SameRun(r[i], r[i + n])) ++n;
    if (!DDBatchRunDrawer || !DDBatchRunDrawer(&r[i], static_cast<int>(n))) result = 0;
    i += n;
  }
  CloseSpriteBatch();
  return result;
}

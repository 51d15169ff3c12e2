#pragma once
// The drawing of the rankings (cRankingTable::Draw, cRanking::Draw, declared
// with the records in records/ranking.h) and of the stage-clear totals box.
// Everything draws through PlayDrawing.
#include <cstdint>

#include "base/container.h"

struct DDSURFACEDATA;

// 1 when result category `category` counts for this run: the play kind's
// ranking is on and its mode and the stage both rank the category; in the
// editor's test play the stage's own flag alone decides.
int CategoryCounts(int category);

// The totals box at (x, y): one row per counting category with its caption
// and the run's value, and a tag at the left for each category whose rank in
// `ranks` (five rank indices, -1 not ranked) is not -1. Nothing when no
// category counts.
void DrawResultTotals(DDSURFACEDATA* surface, int x, int y, const cVector<int32_t>& ranks);

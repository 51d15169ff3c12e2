#pragma once
// The sample's common palette, world map and stages. The common palette holds
// the definitions every stage places: ground blocks, the hero (walks on the
// left and right keys, jumps on button 1), a slime and the goal star, whose
// item command clears the stage. The world map leads from the start cell to
// the two story stages; the second opens once the first is cleared and goes
// back to the title after its own clear.
#include <string>

#include "records/common_palette.h"
#include "records/stage.h"
#include "records/world_map.h"
#include "tools/sample/sample_records.h"

constexpr int SAMPLE_STORY_STAGES = 2;
constexpr int SAMPLE_STAGES = SAMPLE_STORY_STAGES + SAMPLE_CHALLENGE_STAGES;

// Stage n (0..SAMPLE_STAGES - 1; the story stages first) as the project's
// records and scenes name it: data\stg4\s01-1.stg4, ... for the world map's
// entrances, and the name the stage select builds from the challenge prefix
// (data\stg4\c01-1.stg4, ...). The runtime loads the newest numbered file of
// that name.
std::string SampleStageName(int n);
// The file the sample writes for stage n: the name under default\ with the
// number _000.
std::string SampleStageFile(int n);

// A new palette, then the sample's definitions. Reads Database (animation
// sets, effects, sounds), which must hold the sample's.
void FillSampleCommonPalette(cEdCommonPalette& palette);

// A new map, then the sample's islands, road, bridge and the two entrances.
void FillSampleWorldMap(cEdWorldMap& map);

// A new stage, then stage n: ground, a platform of the stage's own palette,
// the hero, one slime and the goal star, all placed from the palettes with
// every property inherited. The placements name entries of CommonPalette,
// which must hold the sample's when the stage is saved.
void FillSampleStage(cEdStage& stage, int n);

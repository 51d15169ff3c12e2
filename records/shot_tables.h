#pragma once
// The formations and trajectories of shots, each with the descriptors of its
// three parameters (label, range, default). The arrange operations take the
// bounds of a formation or trajectory parameter from here.
#include <string>

#include "records/param_desc.h"

enum SHOTFORM {
  SHOTFORM_STRAIGHT_A,
  SHOTFORM_STRAIGHT_B,
  SHOTFORM_SPREAD,
  SHOTFORM_LIGHTNING,
  SHOTFORM_EXPLOSION,
  SHOTFORM_SURROUND,
  SHOTFORM_COUNT
};

enum SHOTPATH {
  SHOTPATH_STRAIGHT,
  SHOTPATH_AIM_HERO,
  SHOTPATH_AIM_NEAREST,
  SHOTPATH_AIM_TARGET,
  SHOTPATH_HOME_HERO,
  SHOTPATH_HOME_NEAREST,  // homing ends when the target dies
  SHOTPATH_HOME_TARGET,
  SHOTPATH_HOME_NEAREST_RETARGET,  // a new target when the target dies
  SHOTPATH_WAVE,
  SHOTPATH_FALL,
  SHOTPATH_COUNT
};

constexpr int SHOTKIND_PARAMS = 3;

// A formation or trajectory: its label and its parameters 1..3 (an unused
// parameter is the empty descriptor "", 0, 0, 0).
struct SHOTKINDDESC {
  std::string strName;  // Shift-JIS
  PARAMDESC aParam[SHOTKIND_PARAMS];
};

// Built before the program starts and never changed (the Init functions may
// run again; they rebuild the same tables).
extern SHOTKINDDESC ShotFormTable[SHOTFORM_COUNT];
extern SHOTKINDDESC ShotPathTable[SHOTPATH_COUNT];
void InitShotFormParams();
void InitShotPathParams();

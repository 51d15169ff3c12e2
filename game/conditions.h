#pragma once
// Conditions (cEdCondition, CONDTYPE) of flows, characters, items and map
// cells, and the gates through which the stage asks them. Everything runs on
// the game thread inside a stage. `chara` is the character the conditions are
// about: the flow's or the character's own, the hero for cells and items;
// a condition about a character holds for none.
#include <cstdint>

#include "base/container.h"

class cCharaBase;
class cEdCondition;
class cItem;

// The status condition's comparison of `status` at a width: with the
// condition's percent flag it is compared with PercentRound (maximum, the
// condition's value) brought into lo..hi, else with the value; by the
// condition's CMPOP at 32, 8 or 16 bits.
int CompareStatusInt(int status, int maximum, const cEdCondition& condition, int lo, int hi);
int CompareStatusByte(int status, int maximum, const cEdCondition& condition, int lo, int hi);
int CompareStatusShort(int status, int maximum, const cEdCondition& condition, int lo, int hi);

// CONDTYPE_STATUS: a status or variable against a constant, a random number
// (drawn anew on every call), a status or a variable. The right operand is
// written into the condition's value before the comparison.
int EvalStatusCondition(cEdCondition& condition, cCharaBase& chara);

// One condition by its type; 0 for CONDTYPE_NONE and unknown types.
// Variable indexes go through the checked accessor.
int CheckCondition(cEdCondition& condition, cCharaBase* chara);
// CONDMODE_ALL: every condition holds (an empty list does); CONDMODE_ANY:
// one does (the first that holds ends the scan); another mode: 0.
int CheckConditionList(cVector<cEdCondition>& list, int mode, cCharaBase* chara);

// The gates: 1 when the owner's condition list lets it be (or run). An empty
// list passes; with the owner's latch flag set, a list that held once keeps
// passing; every pass sets the owner's latched state. The character gate
// asks about the character, the item gate about the hero. The flow gate
// (CheckFlowConditions, game/flow_conditions.h) asks about the flow's
// character, the cell gate (CheckBlockConditions, game/map_cells.h) about
// the hero; both follow the same rule.
int CheckCharaConditions(cCharaBase& chara);
int CheckItemConditions(cItem& item);

#pragma once
// What the tests of the other action commands and the item commands share:
// a room of 40 × 15 empty cells with the view on its first cell, commands
// of both vocabularies with their parameters, a shot record, and readers of
// a character's flows and of the sounds and debug lines of a run.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/command.h"
#include "records/command_types.h"
#include "records/shot.h"
#include "support/builders.h"
#include "support/event_log.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/map_builder.h"

namespace cmdtest {

using namespace testsupport;

// An empty map of 40 × 15 cells.
inline void BuildRoom() { MapBuilder(std::vector<std::string>(15, std::string(40, '.'))).Build(); }

// Once the characters are placed: the view on the map's first cell (a
// character on cell (cx, cy) is on screen for cx < 20), every character
// present with its screen rectangle and on-screen flag.
inline void Settle(GameWorld& world) {
  world.Scene().m_ScrollX.m_dPos = 320;
  world.Scene().m_ScrollY.m_dPos = 320;
  world.UpdatePresence();
}

// An action command of `type` with parameters p0, p1, ... (the rest 0).
inline CommandDef Action(int type, std::initializer_list<int32_t> params = {}) {
  CommandDef def(type);
  int i = 0;
  for (int32_t p : params) def.Param(i++, p);
  return def;
}

// An item command of `type` with its type's parameter count.
inline cEdCommand Item(int type, std::initializer_list<int32_t> params = {}) {
  cEdCommand command;
  command.m_bItemCommand = 1;
  command.m_nType = static_cast<int8_t>(type);
  const int count = CommandParamCount(1, type);
  command.m_vParams.assign(count > 0 ? count : 0, 0);
  int i = 0;
  for (int32_t p : params) {
    if (command.m_vParams.Size() <= i) command.m_vParams.resize(i + 1, 0);
    command.m_vParams[i++] = p;
  }
  return command;
}

// The play-sound command of project sound n, heard on or off screen.
inline cEdCommand ItemSound(int n) {
  cEdCommand command = Item(ITEMCMDTYPE_PLAY_SE, {n});
  command.m_bSeOnScreenOnly = 0;
  return command;
}
inline CommandDef ActionSound(int n) {
  CommandDef def = Action(ACTCMDTYPE_PLAY_SE, {n});
  def.Def().m_bSeOnScreenOnly = 0;
  return def;
}

// A shot record firing one object (index 0 of the summon palettes).
inline std::shared_ptr<cEdShot> OneShotRecord() {
  auto shot = std::make_shared<cEdShot>();
  shot->m_nCount = 1;
  return shot;
}

// The IDs of a character's flow records, in order.
inline std::vector<int> FlowIds(const cCharaBase& chara) {
  std::vector<int> ids;
  for (const cEdFlow& flow : chara.m_Def.m_vFlows) ids.push_back(flow.m_nId);
  return ids;
}

// "frame.step slot" of every sound of the run so far.
inline std::vector<std::string> SoundsAt(const GameWorld& world) {
  std::vector<std::string> out;
  for (const GameEvent& e : world.events.All())
    if (e.kind == EventKind::Sound) out.push_back(std::to_string(e.frame) + "." + std::to_string(e.step) + " " + e.text);
  return out;
}

// The debug lines that start with `prefix`.
inline std::vector<std::string> LogLines(const GameWorld& world, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : world.events.Texts(EventKind::Log))
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  return out;
}

// Project sound n sounds in bank slot n + 16.
inline std::string Slot(int n) { return std::to_string(n + 16); }

}  // namespace cmdtest

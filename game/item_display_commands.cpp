// The item commands that freeze play or show something: they run the same
// bodies as the flow commands, on the hero.
#include "game/characters.h"
#include "game/display_commands.h"
#include "game/item_commands.h"
#include "game/stage_data.h"

int ItemCmdGameWait(cHero& hero, cEdCommand& command) {
  CmdGameWait(hero, command);
  return 0;
}

// The first message of an item list opens with its sound; the ones after it
// continue it.
int ItemCmdMessage(cHero& hero, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  CmdMessage(hero, command, stage.m_bItemMessage);
  stage.m_bItemMessage = 1;
  return 0;
}

int ItemCmdWarp(cHero& hero, cEdCommand& command) {
  CmdWarp(hero, command);
  return 0;
}

int ItemCmdPlayEffect(cHero& hero, cEdCommand& command) {
  CmdPlayEffect(hero, command);
  return 0;
}

int ItemCmdCharaEffect(cHero& hero, cEdCommand& command) {
  CmdCharaEffect(hero, command);
  return 0;
}

int ItemCmdScreenEffect(cHero& hero, cEdCommand& command) {
  CmdScreenEffect(hero, command);
  return 0;
}

int ItemCmdShowPicture(cHero& hero, cEdCommand& command) {
  CmdShowPicture(hero, command);
  return 0;
}

int ItemCmdScreenColor(cHero& hero, cEdCommand& command) {
  CmdScreenColor(hero, command);
  return 0;
}

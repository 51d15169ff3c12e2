#include "game/block_charas.h"

#include "game/characters.h"

namespace {

std::vector<cChara*> g_vBlockCharas;
bool g_bKept = false;
bool g_bValid = false;

}  // namespace

const std::vector<cChara*>& cBlockCharas::Get() {
  if (g_bKept && g_bValid) return g_vBlockCharas;
  g_vBlockCharas.clear();
  for (cChara& c : CharaList)
    if (c.m_Def.m_bBlockChara) g_vBlockCharas.push_back(&c);
  g_bValid = g_bKept;
  return g_vBlockCharas;
}

void cBlockCharas::Changed() { g_bValid = false; }

cBlockCharas::cKeep::cKeep() {
  g_bKept = true;
  g_bValid = false;
}

cBlockCharas::cKeep::~cKeep() {
  g_bKept = false;
  g_bValid = false;
}

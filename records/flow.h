#pragma once
// One flow of a character: a trigger, conditions and key conditions that
// must hold, and the commands that run one after the other once it starts.
// The runtime builds its flow instances from these records.
#include <cstdint>
#include <string>

#include "records/command.h"
#include "records/condition.h"
#include "records/key_condition.h"
#include "records/record.h"

class cEdFlow : public cRecord {
 public:
  std::string m_strName;  // the editor's name; always empty after a load
  uint8_t m_nId = 0;      // 0 none, 1..26 ("A".."Z"): flow operations and item flow changes address it
  uint8_t m_nSwitch = 0;  // 0 none, 1..26: always-flows sharing a letter exclude each other
  uint8_t m_bTestOnly = 0;
  cVector<cEdCondition> m_vConditions;
  uint8_t m_nCondMode = 0;  // CONDMODE
  uint8_t m_bCondOnce = 0;  // conditions tested until they held once per flow instance
  uint8_t m_nTrigger = 0;   // FLOWTRIGGER
  uint8_t m_nKeySlack = 3;  // how far back the earlier key conditions may be found
  uint8_t m_bKeyRepeat = 0;  // key conditions count for as long as they match
  cVector<cEdKeyCondition> m_vKeyConditions;  // a sequence; the last on the current step
  cVector<cEdCommand> m_vCommands;

  cEdFlow();
  void RegisterFields(int version) override;
  // The record segment, the conditions, key conditions and commands, the
  // upgrades of older files, an empty name, Normalise.
  void Load(cDataReader& r) override;
  // Normalise, the record segment, then the three lists.
  void Save(cDataWriter& w) override;

  // Normalises every command (conditions have nothing to fit).
  void Normalise();
  // Fits the palette references of every command; called by the palette
  // validations of character definitions and of commands carrying flows.
  void NormaliseCommands();
};

// Removes the flows flagged for test play only; the others keep their order.
void RemoveFlaggedFlows(cVector<cEdFlow>& flows);

// Whether loaders keep test-only flows: in a test play started by the editor,
// or when System.dat says so.
bool KeepTestOnlyFlows();

#pragma once
// One command: a step of a flow (an action command) or of an item's command
// list (an item command). Its type (command_types.h) gives the meaning and
// the count of its integer parameters; moves keep theirs in a move record,
// shots, swords and summons in a shot record, and the item command "flow
// change" carries the flows it adds. A command owns all of these: a copy
// gets its own move and shot records.
#include <cstdint>
#include <memory>
#include <string>

#include "records/command_types.h"
#include "records/move.h"
#include "records/record.h"
#include "records/shot.h"

class cEdFlow;

class cEdCommand : public cRecord {
 public:
  uint8_t m_bItemCommand = 0;  // 0 action command, 1 item command
  int8_t m_nType = 0;          // ACTCMDTYPE or ITEMCMDTYPE
  cVector<int32_t> m_vParams;  // after Normalise exactly the type's count
  std::string m_strText;       // the code of "run code", the stage file of a stage clear by path
  std::shared_ptr<cEdMove> m_spMove;
  std::shared_ptr<cEdShot> m_spShot;
  // Tenths of a second; the command runs (growth × clone number + use time)
  // × 6 × logic steps per frame.
  int16_t m_nUseTime = 0;
  int16_t m_nUseTimeGrowth = 0;
  uint8_t m_bNoWait = 0;  // the flow goes on at once while this command runs
  int16_t m_nSe = 0;      // Sound table index
  uint8_t m_bSeOnScreenOnly = 1;
  int16_t m_nAnime = 0;        // Anime table index, 0 none
  cVector<cEdFlow> m_vFlows;   // item command "flow change" only

  cEdCommand();
  cEdCommand(const cEdCommand& source);
  // A growing list moves its commands rather than copying their records.
  cEdCommand(cEdCommand&& source) noexcept;
  cEdCommand& operator=(cEdCommand&& source);
  // Registered members, text, parameters, new copies of the move and shot
  // records, the carried flows element by element.
  cEdCommand& operator=(const cEdCommand& source);
  ~cEdCommand() override;

  // All registered members 0, no text, no move or shot record, sound only on
  // screen. Parameters and carried flows stay.
  void Reset();
  void RegisterFields(int version) override;
  // The record segment, the move and shot records, the carried flows, the
  // parameters; then the upgrades of older files, the removal of test-only
  // carried flows (unless kept) and Normalise.
  void Load(cDataReader& r) override;
  // Normalise, then the layout that Load reads.
  void Save(cDataWriter& w) override;

  // Brings a command read from a file of an older version to the current
  // types and parameters (nothing for the current version). Load calls it.
  void Upgrade(int fileVersion);

  // Fits the command to the database and its type: animation and sound
  // indexes, the parameter count of the type, the database indexes its
  // parameters or shot record name, and the sword's use time; then the
  // carried flows. A type outside its table becomes type 0 without
  // parameters. Called on load and save, and by the flows that hold it.
  void Normalise();

  // Fits the palette references of the command (a shot's item, a summoned
  // definition, the item of "get item") to the sizes of the common and stage
  // palettes (palette_sizes.h); then the carried flows. Called by the palette
  // validations of flows, characters and items, after the palettes change.
  void ValidatePaletteRefs();

  // The holder gets a new record copied from the source's, or is emptied.
  void CopyMove(const std::shared_ptr<cEdMove>& source);
  void CopyShot(const std::shared_ptr<cEdShot>& source);

  // The action type the command stands for (item type + 15 for item
  // commands), as the arrange operations address it.
  int ArrangeType() const { return m_bItemCommand == 1 ? m_nType + ITEMCMDTYPE_TO_ACTION : m_nType; }
};

// How many levels of carried flows a file may nest (an item's flow change
// needs one); a command at the last level that carries flows comes from a
// damaged file, and the read ends there.
constexpr int COMMAND_MAX_NESTING = 8;

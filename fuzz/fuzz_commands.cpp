// Any bytes read as a list of flows and as a list of commands (the lists of
// character definitions and item definitions hold them so): reading stays
// inside the input, follows no damaged count and no nesting past its limit,
// and never crashes or hangs; what one load leaves saves to bytes that load
// back to the same bytes. The arrange commands read are then applied to
// every command, and the palette references fitted, with nothing out of
// bounds and no close request.
#include <climits>
#include <cstdint>
#include <string>

#include "platform/close_request.h"
#include "records/arrange.h"
#include "records/command_types.h"
#include "records/database.h"
#include "records/flow.h"
#include "records/palette_sizes.h"

namespace {

template <class T>
std::string Saved(cVector<T>& list) {
  cDataWriter w;
  SaveRecordList(list, w);
  return w.Bytes();
}

template <class T>
void ReadSaveRead(cVector<T>& list, const std::string& bytes) {
  cDataReader r(bytes);
  LoadRecordList(list, r);
  const std::string once = Saved(list);
  cVector<T> again;
  cDataReader back(once);
  LoadRecordList(again, back);
  if (Saved(again) != once) __builtin_trap();
}

void Exercise(cEdCommand& command, const cVector<ARRANGEOP>& ops, const ARRANGEVARS& vars) {
  ApplyFlowArranges(command, vars, &ops);
  ApplyCharaArranges(command, vars, ops);
  command.ValidatePaletteRefs();
  for (cEdFlow& flow : command.m_vFlows)
    for (cEdCommand& carried : flow.m_vCommands) Exercise(carried, ops, vars);
}

void CollectArranges(const cEdCommand& command, cVector<ARRANGEOP>& ops) {
  if (command.ArrangeType() == ACTCMDTYPE_ARRANGE && command.m_vParams.Size() == 5)
    ops.push_back({command.m_vParams[0], command.m_vParams[1], command.m_vParams[2], command.m_vParams[3],
                   command.m_vParams[4]});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool once = [] {
    BuildArrangeParamTable();
    SetPaletteListSize(PALETTEKIND_COMMON, PALETTELIST_CHARA, 3);
    SetPaletteListSize(PALETTEKIND_STAGE, PALETTELIST_ITEM, 2);
    return true;
  }();
  (void)once;
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  cVector<cEdFlow> flows;
  ReadSaveRead(flows, bytes);
  cVector<cEdCommand> commands;
  ReadSaveRead(commands, bytes);

  // A damaged segment may ask for the close on load; applying may not.
  plat::ResetCloseRequests();
  cVector<ARRANGEOP> ops;
  for (const cEdCommand& c : commands) CollectArranges(c, ops);
  for (const cEdFlow& f : flows)
    for (const cEdCommand& c : f.m_vCommands) CollectArranges(c, ops);
  const cVector<int32_t> variables = {0, INT32_MIN, INT32_MAX, -1, 0, 7, static_cast<int32_t>(size)};
  ARRANGEVARS vars;
  vars.pCommon = vars.pStage = vars.pChara = &variables;
  for (cEdCommand& c : commands) Exercise(c, ops, vars);
  for (cEdFlow& f : flows) {
    f.NormaliseCommands();
    for (cEdCommand& c : f.m_vCommands) Exercise(c, ops, vars);
  }
  if (plat::CloseRequestCount() != 0) __builtin_trap();
  return 0;
}

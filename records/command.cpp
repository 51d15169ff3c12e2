#include "records/command.h"

#include <utility>

#include "records/flow.h"

namespace {
// How deep the command being read sits in carried flows (one file is read at
// a time per thread).
thread_local int t_nesting = 0;
}  // namespace

cEdCommand::cEdCommand() { Reset(); }

cEdCommand::cEdCommand(const cEdCommand& source)
    : cRecord(source),
      m_bItemCommand(source.m_bItemCommand),
      m_nType(source.m_nType),
      m_vParams(source.m_vParams),
      m_strText(source.m_strText),
      m_nUseTime(source.m_nUseTime),
      m_nUseTimeGrowth(source.m_nUseTimeGrowth),
      m_bNoWait(source.m_bNoWait),
      m_nSe(source.m_nSe),
      m_bSeOnScreenOnly(source.m_bSeOnScreenOnly),
      m_nAnime(source.m_nAnime),
      m_vFlows(source.m_vFlows) {
  CopyMove(source.m_spMove);
  CopyShot(source.m_spShot);
}

cEdCommand& cEdCommand::operator=(const cEdCommand& source) {
  if (this == &source) return *this;
  cRecord::operator=(source);
  m_bItemCommand = source.m_bItemCommand;
  m_nType = source.m_nType;
  m_nUseTime = source.m_nUseTime;
  m_nUseTimeGrowth = source.m_nUseTimeGrowth;
  m_bNoWait = source.m_bNoWait;
  m_nSe = source.m_nSe;
  m_bSeOnScreenOnly = source.m_bSeOnScreenOnly;
  m_nAnime = source.m_nAnime;
  m_strText = source.m_strText;
  m_vParams = source.m_vParams;
  CopyMove(source.m_spMove);
  CopyShot(source.m_spShot);
  m_vFlows = source.m_vFlows;
  return *this;
}

cEdCommand::cEdCommand(cEdCommand&& source) noexcept
    : cRecord(std::move(source)),
      m_bItemCommand(source.m_bItemCommand),
      m_nType(source.m_nType),
      m_vParams(std::move(source.m_vParams)),
      m_strText(std::move(source.m_strText)),
      m_spMove(std::move(source.m_spMove)),
      m_spShot(std::move(source.m_spShot)),
      m_nUseTime(source.m_nUseTime),
      m_nUseTimeGrowth(source.m_nUseTimeGrowth),
      m_bNoWait(source.m_bNoWait),
      m_nSe(source.m_nSe),
      m_bSeOnScreenOnly(source.m_bSeOnScreenOnly),
      m_nAnime(source.m_nAnime),
      m_vFlows(std::move(source.m_vFlows)) {}

cEdCommand& cEdCommand::operator=(cEdCommand&& source) {
  if (this == &source) return *this;
  cRecord::operator=(source);
  m_bItemCommand = source.m_bItemCommand;
  m_nType = source.m_nType;
  m_nUseTime = source.m_nUseTime;
  m_nUseTimeGrowth = source.m_nUseTimeGrowth;
  m_bNoWait = source.m_bNoWait;
  m_nSe = source.m_nSe;
  m_bSeOnScreenOnly = source.m_bSeOnScreenOnly;
  m_nAnime = source.m_nAnime;
  m_strText = std::move(source.m_strText);
  m_vParams = std::move(source.m_vParams);
  m_spMove = std::move(source.m_spMove);
  m_spShot = std::move(source.m_spShot);
  m_vFlows = std::move(source.m_vFlows);
  return *this;
}

cEdCommand::~cEdCommand() = default;

void cEdCommand::Reset() {
  Clear();
  m_spMove.reset();
  m_spShot.reset();
  m_bSeOnScreenOnly = 1;
}

void cEdCommand::RegisterFields(int) {
  ClearFields();
  AddByte(&m_bItemCommand);
  AddByte(&m_nType);
  AddWord(&m_nUseTime);
  AddWord(&m_nUseTimeGrowth);
  AddByte(&m_bNoWait);
  AddWord(&m_nSe);
  AddByte(&m_bSeOnScreenOnly);
  AddWord(&m_nAnime);
  AddString(&m_strText);
}

void cEdCommand::CopyMove(const std::shared_ptr<cEdMove>& source) {
  if (!source) {
    m_spMove.reset();
    return;
  }
  // Copy-constructed: the copy takes the source's layout instead of registering anew.
  m_spMove = std::make_shared<cEdMove>(*source);
}

void cEdCommand::CopyShot(const std::shared_ptr<cEdShot>& source) {
  if (!source) {
    m_spShot.reset();
    return;
  }
  m_spShot = std::make_shared<cEdShot>(*source);
}

void cEdCommand::Load(cDataReader& r) {
  cRecord::Load(r);
  if (r.ReadU32()) {
    CreateEdMove(m_spMove);
    m_spMove->Load(r);
  } else {
    m_spMove.reset();
  }
  if (r.ReadU32()) {
    CreateEdShot(m_spShot);
    m_spShot->Load(r);
  } else {
    m_spShot.reset();
  }
  if (t_nesting < COMMAND_MAX_NESTING) {
    ++t_nesting;
    LoadRecordList(m_vFlows, r);
    --t_nesting;
  } else {
    m_vFlows.clear();
    if (r.ReadU32() != 0) r.End();  // flows nested deeper come from a damaged file
  }
  LoadIntList(m_vParams, r);
  Upgrade(r.Version());
  if (!KeepTestOnlyFlows()) RemoveFlaggedFlows(m_vFlows);
  Normalise();
}

void cEdCommand::Save(cDataWriter& w) {
  Normalise();
  cRecord::Save(w);
  w.WriteU32(m_spMove ? 1 : 0);
  if (m_spMove) m_spMove->Save(w);
  w.WriteU32(m_spShot ? 1 : 0);
  if (m_spShot) m_spShot->Save(w);
  SaveRecordList(m_vFlows, w);
  SaveIntList(m_vParams, w);
}

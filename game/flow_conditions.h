#pragma once
// The condition gate of a flow: whether the flow's condition list holds for
// its character now. cCharaBase::FireTrigger asks it through
// FlowConditionGate, after the trigger, frame and switch-letter tests and
// before the key sequence.
class cCharaBase;
class cFlowInstance;

// 1 when the conditions of `flow` (of `chara`, the stage's current
// character) hold: an empty list holds, and with the record's latch flag the
// conditions hold for good once they have held (m_bCondLatched).
int CheckFlowConditions(cFlowInstance& flow, cCharaBase& chara);

// What FireTrigger calls: CheckFlowConditions. Tests put a scripted gate
// here and restore it.
extern int (*FlowConditionGate)(cFlowInstance& flow, cCharaBase& chara);

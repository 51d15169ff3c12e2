#pragma once
// The status operation (action type 22, item type 7) and the run-code
// command (action type 37, item type 22). The bodies take the character and
// the command record and serve both the flows' executors and the item
// commands (with the hero as the character); each runs on every logic step
// of its command's duration, on the game thread inside a stage.
class cCharaBase;
class cEdCommand;

// Changes one variable, system value or status by a CALCOP with an operand
// (18 parameters: the target, the operator, the operand and its percent and
// HP/SP modes, the invincibility skip). Nothing happens when a target or an
// operand is not there. Its result is read by nobody (0).
int CmdStatusOp(cCharaBase& chara, cEdCommand& command);
// RunCode on the command's text for the character: 1 on success.
int CmdRunCode(cCharaBase& chara, cEdCommand& command);

// Their flow executors, ActStatusOp and ActRunCode (game/act_status_op.cpp,
// game/act_run_code.cpp), are entries of the action table
// (game/action_commands.h).

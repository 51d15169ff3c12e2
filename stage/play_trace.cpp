#include "stage/play_trace.h"

#include "base/crt_random.h"
#include "base/text_format.h"
#include "game/characters.h"
#include "records/save_data.h"
#include "stage/scene_stage.h"

namespace {

void AppendChara(std::string& line, char kind, const cCharaBase& chara) {
  AppendFormat(line, " %c%d %a %a %d %d", kind, chara.m_nId, chara.m_rcHit.dLeft, chara.m_rcHit.dTop, chara.m_nHp,
               chara.m_nSp);
}

}  // namespace

std::string PlayTraceLine(const cSceneStage& scene) {
  std::string line = FormatText("f%d s%d r%08x", scene.m_nFrameCount, scene.m_nPhase, crt::State());
  for (const cHero& hero : Player) AppendChara(line, 'H', hero);
  for (const cChara& chara : CharaList) AppendChara(line, 'C', chara);
  AppendFormat(line, " score %d %d time %d shots %d", PlayData.m_nStageScore, PlayData.m_nTotalScore,
               scene.m_nTimeLeft, static_cast<int>(scene.m_Shots.size()));
  return line;
}

void cPlayTrace::Before(const cSceneStage* scene) {
  m_nPhase = scene ? scene->m_nPhase : -1;
  m_nFrameCount = scene ? scene->m_nFrameCount : -1;
}

bool cPlayTrace::After(const cSceneStage* scene) {
  // A frame that paused or saved a replay took no input: it is not in the
  // replay and has no line.
  if (!scene || m_nPhase != STAGESTATE_PLAY || scene->m_nFrameCount == m_nFrameCount) return false;
  m_bLeftPlay = scene->m_nPhase != STAGESTATE_PLAY;
  m_strText += PlayTraceLine(*scene);
  m_strText += '\n';
  ++m_nLines;
  return true;
}

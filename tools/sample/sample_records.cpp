#include "tools/sample/sample_records.h"

#include <initializer_list>
#include <utility>

#include "tools/sample/sample_files.h"
#include "tools/sample/sample_palette.h"

namespace {

// "サンプルゲーム"
const char kTitle[] = "\x83\x54\x83\x93\x83\x76\x83\x8B\x83\x51\x81\x5B\x83\x80";

cEdAnime MakeAnime(const std::string& name, std::initializer_list<std::pair<int, int>> frames) {
  cEdAnime a;
  a.m_strName = name;
  a.m_vFrame.clear();
  for (auto [cell, time] : frames) {
    cEdAnimeFrame f;
    f.m_nCell = cell;
    f.m_nTime = time;
    a.m_vFrame.push_back(f);
  }
  return a;
}

// A basic animation set over the character sheet's columns: 0-1 stand,
// 2-3 walk, 16-17 fly (the invincible and block offsets 4 and 8 stay).
cEdAnimeSet MakeAnimeSet(const std::string& name, int standTime, int walkTime) {
  cEdAnimeSet set;  // four animations with their default names
  set.m_strName = name;
  const std::string names[4] = {set.m_vSetAnime[0].m_strName, set.m_vSetAnime[1].m_strName,
                                set.m_vSetAnime[2].m_strName, set.m_vSetAnime[3].m_strName};
  set.m_vSetAnime[0] = MakeAnime(names[0], {{0, standTime}, {1, standTime}});
  set.m_vSetAnime[1] = MakeAnime(names[1], {{2, walkTime}, {3, walkTime}});
  set.m_vSetAnime[2] = MakeAnime(names[2], {{16, standTime}, {17, standTime}});
  set.m_vSetAnime[3] = MakeAnime(names[3], {{16, walkTime}, {17, walkTime}});
  return set;
}

template <class T>
void SetKind(T& effect, const char* name, int kind, std::initializer_list<int> params) {
  effect.m_strName = name;
  effect.m_nKind = kind;
  int i = 0;
  for (int p : params) effect.m_anParam[i++] = p;
}

template <class T>
void SetNameFile(T& entry, const char* name, const char* file) {
  entry.m_strName = name;
  entry.m_strFile = file;
}

}  // namespace

void FillSampleDatabase(cEdDatabase& db) {
  using namespace samplefile;
  db.Reset();

  db.m_vAnimeSet[0] = MakeAnimeSet("hero", 5, 2);
  db.m_vAnimeSet.push_back(MakeAnimeSet("enemy", 4, 3));

  // Animation 0 keeps its default; 1 attack, 2 jump, 3 hurt.
  db.m_vAnime[1] = MakeAnime(db.m_vAnime[1].m_strName, {{12, 1}, {13, 2}});
  db.m_vAnime.push_back(MakeAnime("jump", {{14, 2}, {15, 2}}));
  db.m_vAnime.push_back(MakeAnime("hurt", {{18, 2}, {19, 2}}));

  // Entry 0 is never loaded as a sheet; entry 1 is the extra sheet.
  SetNameFile(db.m_vBmpCharaExc[1], "ghost", kExtraSheet);

  cEdSwordType& sword = db.m_vSwordType[0];
  sword.m_strName = "sword";
  sword.m_strFileL = kSwordLeft;
  sword.m_strFileR = kSwordRight;
  sword.m_vFrame.clear();
  for (int f = 0; f < kSwordFrames; ++f) {
    cEdSwordFrame frame;
    frame.m_nSrcX = f * kSwordFrameW;
    frame.m_nWidth = kSwordFrameW;
    frame.m_nHeight = kSwordFrameH;
    frame.m_nTime = 1;
    sword.m_vFrame.push_back(frame);
  }

  // Effect 0 stands for none and names no image.
  cEdEffect& hit = db.m_vEffect[1];
  hit.m_strName = "hit";
  hit.m_strFile = kHitEffect;
  hit.m_nWidth = kHitCell;
  hit.m_nHeight = kHitCell;
  hit.m_vFrame.clear();
  for (int f = 0; f < kHitFrames; ++f) {
    cEdEffectFrame frame;
    frame.m_nCell = f;
    frame.m_nTime = 1;
    hit.m_vFrame.push_back(frame);
  }

  // Parameters inside the editor's ranges; parameter 0 is the run time.
  SetKind(db.m_vCharaEffect[0], "none", 0, {10, 0, 0, 0, 0});
  SetKind(db.m_vCharaEffect[1], "blink", 6, {10, 2});
  db.m_vCharaEffect.push_back(cEdCharaEffect());
  SetKind(db.m_vCharaEffect[2], "burst", 1, {5, 0, 32});
  db.m_vCharaEffect.push_back(cEdCharaEffect());
  SetKind(db.m_vCharaEffect[3], "translucent", 14, {10, 9999});
  db.m_vCharaEffect.push_back(cEdCharaEffect());
  SetKind(db.m_vCharaEffect[4], "red", 13, {10, 1, 4, pal::Shade(pal::RED, 10)});

  SetKind(db.m_vScrEffect[0], "none", 0, {10, 0, 0, 0, 0});
  SetKind(db.m_vScrEffect[1], "shake", 2, {10, 4, 4});
  db.m_vScrEffect.push_back(cEdScrEffect());
  SetKind(db.m_vScrEffect[2], "circle", 10, {10, 640, 0, 8});

  SetNameFile(db.m_vPicture[0], "sign", kPictureSign);
  SetNameFile(db.m_vPicture[1], "map", kPictureMap);

  // Sound entry n plays as sound slot n + 16; entry 0 is never loaded.
  static const char* const kSoundNames[kProjectSoundCount] = {"jump", "shot", "coin"};
  db.m_vSound.resize(1 + kProjectSoundCount);
  for (int i = 0; i < kProjectSoundCount; ++i) SetNameFile(db.m_vSound[1 + i], kSoundNames[i], kProjectSounds[i]);

  // Music 0 stands for none.
  SetNameFile(db.m_vBgm[1], "title", kMidi);
  db.m_vBgm.push_back(cEdBgm());
  SetNameFile(db.m_vBgm[2], "stage", kOgg);
}

void FillSampleSystem(cEdSystem& sys) {
  using namespace samplefile;
  sys.Reset();
  sys.m_strTitle = kTitle;
  sys.m_nChallengeStages = SAMPLE_CHALLENGE_STAGES;
  sys.m_bGraphicTitleMenu = 0;
  sys.m_nColourMode = 0;
  sys.m_bPaletteCycle = 1;  // the palette's bands 208..239 cycle at 8 bits
  for (int i = 0; i < kSystemSoundCount; ++i) sys.m_vSystemSounds.At(i) = kSystemSounds[i];
  // Story and challenge rank two categories, the time left and the clear
  // time, so that their ranking views switch between two tables.
  for (int kind : {PLAYKIND_STORY, PLAYKIND_CHALLENGE}) {
    cEdRankingMode& mode = sys.m_vRankingModes.At(kind);
    mode.m_bRanking = 1;
    for (int c = 0; c < SYSTEM_RANKING_CATEGORIES; ++c) mode.m_vCategories.At(c) = c == 1 || c == 2 ? 1 : 0;
  }
  // Bgm.dat 1 is the MIDI tune, 2 the OGG one: title, world map, stage select, options.
  const int32_t screens[SYSTEM_SCREEN_COUNT] = {1, 2, 1, 2};
  for (int i = 0; i < SYSTEM_SCREEN_COUNT; ++i) sys.m_vScreenBgm.At(i) = screens[i];
  // The options screen's rows are palette, music, volume, ranking mode, name
  // and back: a new project's labels move down one row under "パレット".
  for (int i = SYSTEM_OPTIONMENU_COUNT - 1; i > 0; --i)
    sys.m_vOptionMenu.At(i).m_strText = sys.m_vOptionMenu.At(i - 1).m_strText;
  sys.m_vOptionMenu.At(0).m_strText = "\x83\x70\x83\x8C\x83\x62\x83\x67";
}

std::string SampleSystemIni(const cEdSystem& sys) {
  std::string ini;
  for (int i = 0; i < sys.m_vIniKeys.Size(); ++i) {
    const cEdIniKey& key = sys.m_vIniKeys[i];
    ini += key.m_strKey + "=";
    if (key.m_nKind == cEdIniKey::KIND_TEXT)
      ini += key.m_strText;
    else
      ini += std::to_string(i == 0 || i == 1 ? 1 : key.m_nNumber);  // Direct3D, WindowMode
    ini += "\n";
  }
  return ini + "Exit\n";
}

// The sample's sound effects: 22050 Hz, 8-bit, mono PCM WAV files.
#include "tools/sample/sample_files.h"
#include "tools/sample/sample_synth.h"

namespace samplefile {

const char* const kSystemSounds[kSystemSoundCount] = {
    "wave\\Cursor.wav",  "wave\\Decide.wav",  "wave\\Cancel.wav",  "wave\\Refuse.wav",
    "wave\\Pause.wav",   "wave\\Saved.wav",   "wave\\Ranking.wav", "wave\\Hit.wav",
    "wave\\Miss.wav",    "wave\\Defeat.wav",  "wave\\Spring.wav",  "wave\\Message.wav",
    "wave\\Notice.wav",  "wave\\Warning.wav", "wave\\Clear.wav",   "wave\\ExtraLife.wav",
    "wave\\Entry.wav",
};

const char* const kProjectSounds[kProjectSoundCount] = {
    "wave\\Jump.wav",
    "wave\\Shot.wav",
    "wave\\Coin.wav",
};

}  // namespace samplefile

namespace {

void PutSoundLE16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutSoundLE32(std::string& s, uint32_t v) {
  PutSoundLE16(s, v & 0xFFFF);
  PutSoundLE16(s, v >> 16);
}

// RIFF "WAVE" with a 16-byte PCM "fmt " chunk (1 channel, 22050 Hz, 8 bits)
// and the "data" chunk; unsigned samples around 128, padded to an even size.
std::string WaveBytes(const std::vector<SYNTHNOTE>& notes) {
  std::vector<int32_t> mix;
  AddNotes(mix, notes);
  if (mix.size() % 2) mix.push_back(0);
  std::string data;
  data.reserve(mix.size());
  for (int32_t v : mix) {
    int32_t s = 128 + v / 64;
    data.push_back(static_cast<char>(s < 1 ? 1 : s > 255 ? 255 : s));
  }
  std::string w = "RIFF";
  PutSoundLE32(w, static_cast<uint32_t>(4 + 8 + 16 + 8 + data.size()));
  w += "WAVEfmt ";
  PutSoundLE32(w, 16);
  PutSoundLE16(w, 1);  // PCM
  PutSoundLE16(w, 1);  // mono
  PutSoundLE32(w, SAMPLE_RATE);
  PutSoundLE32(w, SAMPLE_RATE);  // bytes per second
  PutSoundLE16(w, 1);            // block alignment
  PutSoundLE16(w, 8);            // bits per sample
  w += "data";
  PutSoundLE32(w, static_cast<uint32_t>(data.size()));
  return w + data;
}

SYNTHNOTE Sq(int hz, int ms, int level = 50) { return {hz, hz, ms, WAVE_SQUARE, level}; }
SYNTHNOTE Tri(int hz, int ms, int level = 80) { return {hz, hz, ms, WAVE_TRIANGLE, level}; }
SYNTHNOTE Sweep(int hz0, int hz1, int ms, SYNTHWAVE w, int level = 60) { return {hz0, hz1, ms, w, level}; }
SYNTHNOTE Rest(int ms) { return {0, 0, ms, WAVE_SQUARE, 0}; }

}  // namespace

std::vector<SAMPLEFILE> SampleSounds() {
  using namespace samplefile;
  const std::vector<SYNTHNOTE> system[kSystemSoundCount] = {
      {Sq(880, 40, 40)},                                           // cursor
      {Sq(660, 60), Sq(990, 80)},                                  // decide
      {Sq(660, 60), Sq(440, 90)},                                  // cancel
      {Sq(110, 160, 60)},                                          // refused
      {Tri(523, 80), Tri(392, 120)},                               // pause, leaving the map
      {Sq(523, 70), Sq(659, 70), Sq(784, 140)},                    // saved
      {Sq(1200, 30, 40), Rest(20), Sq(1200, 30, 40)},              // ranking view
      {Sweep(3000, 1500, 90, WAVE_NOISE, 70)},                     // hit
      {Sweep(800, 100, 600, WAVE_SQUARE, 50)},                     // hero defeated
      {Sweep(1200, 200, 260, WAVE_NOISE, 70)},                     // character defeated
      {Sweep(200, 900, 200, WAVE_TRIANGLE, 80)},                   // jump block
      {Tri(988, 70), Tri(1319, 140)},                              // message
      {Tri(784, 90)},                                              // notice
      {Sq(1000, 100), Rest(50), Sq(1000, 100)},                    // time running out
      {Sq(523, 120), Sq(659, 120), Sq(784, 120), Sq(1047, 360)},   // stage clear
      {Sq(784, 70), Sq(988, 70), Sq(1175, 70), Sq(1568, 200)},     // extra life
      {Tri(1047, 80), Tri(1319, 160)},                             // ranking entry
  };
  const std::vector<SYNTHNOTE> project[kProjectSoundCount] = {
      {Sweep(300, 700, 150, WAVE_SQUARE, 40)},                     // jump
      {Sweep(4000, 1000, 100, WAVE_NOISE, 50)},                    // shot
      {Sq(988, 60, 40), Sq(1319, 180, 40)},                        // coin
  };
  std::vector<SAMPLEFILE> files;
  for (int i = 0; i < kSystemSoundCount; ++i) files.push_back({kSystemSounds[i], WaveBytes(system[i])});
  for (int i = 0; i < kProjectSoundCount; ++i) files.push_back({kProjectSounds[i], WaveBytes(project[i])});
  return files;
}

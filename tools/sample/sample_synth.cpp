#include "tools/sample/sample_synth.h"

namespace {

// 440 × 2^(k/12) for k = 0..11, in thousandths of a hertz.
const int64_t kOctaveMilliHz[12] = {440000, 466164, 493883, 523251, 554365, 587330,
                                    622254, 659255, 698456, 739989, 783991, 830609};

constexpr int kAttack = SAMPLE_RATE / 500;   // 2 ms
constexpr int kRelease = SAMPLE_RATE / 100;  // 10 ms

}  // namespace

int NoteHz(int midiNote) {
  int k = midiNote - 69;
  int octave = 0;
  while (k < 0) k += 12, --octave;
  while (k >= 12) k -= 12, ++octave;
  int64_t milli = kOctaveMilliHz[k];
  for (; octave > 0; --octave) milli *= 2;
  for (; octave < 0; ++octave) milli /= 2;
  return static_cast<int>((milli + 500) / 1000);
}

void AddNotes(std::vector<int32_t>& mix, const std::vector<SYNTHNOTE>& notes, size_t start) {
  size_t pos = start;
  uint32_t noise = 0x1234567u;
  int32_t held = 0;
  for (const SYNTHNOTE& n : notes) {
    const int count = static_cast<int>(static_cast<int64_t>(n.nMs) * SAMPLE_RATE / 1000);
    if (mix.size() < pos + count) mix.resize(pos + count, 0);
    uint32_t phase = 0;
    for (int i = 0; i < count && n.nHz0 > 0; ++i) {
      const int64_t hz = n.nHz0 + static_cast<int64_t>(n.nHz1 - n.nHz0) * i / count;
      const uint32_t step = static_cast<uint32_t>((hz << 32) / SAMPLE_RATE);
      const uint32_t before = phase;
      phase += step;
      int32_t v;  // -1000 .. 1000
      switch (n.wave) {
        case WAVE_SQUARE:
          v = (phase & 0x80000000u) ? 1000 : -1000;
          break;
        case WAVE_TRIANGLE: {
          const int32_t p = static_cast<int32_t>(phase >> 16);  // 0 .. 65535
          v = p < 32768 ? -1000 + p * 2000 / 32768 : 1000 - (p - 32768) * 2000 / 32768;
          break;
        }
        default:
          // A new random value every time the phase wraps: noise pitched by hz.
          if (phase < before || i == 0) {
            noise = noise * 1103515245u + 12345u;
            held = static_cast<int32_t>((noise >> 16) % 2001) - 1000;
          }
          v = held;
          break;
      }
      int32_t env = 1000;
      if (i < kAttack) env = i * 1000 / kAttack;
      if (count - i < kRelease) env = env * (count - i) / kRelease;
      mix[pos + i] += v * env / 1000 * n.nLevel * 8 / 100;
    }
    pos += count;
  }
}

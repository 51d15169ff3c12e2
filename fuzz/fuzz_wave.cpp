// A sound-effect WAV of any bytes: the reader never reads past them, and
// what it accepts either is refused by the mixer or plays, once and looping,
// at the rate it names, without touching memory outside its samples.
#include <cstdint>
#include <vector>

#include "media/wave_file.h"
#include "platform/mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The reader gets exactly the input, in a block of its own size.
  std::vector<uint8_t> bytes(data, data + size);
  WAVEDATA wave;
  if (!DS_ParseWave(bytes.data(), bytes.size(), &wave)) return 0;
  if (wave.vData.size() > 1 << 20) return 0;  // enough to render; keeps runs fast
  plat::PcmFormat format;
  format.rate = wave.wfx.nSamplesPerSec > 1000000 ? 1000000 : static_cast<int32_t>(wave.wfx.nSamplesPerSec);
  format.channels = wave.wfx.nChannels;
  format.bits = wave.wfx.wBitsPerSample;
  plat::Mixer mixer;
  plat::SoundBuffer* once = mixer.CreateBuffer(format, wave.vData.data(), wave.vData.size());
  if (!once) return 0;
  plat::SoundBuffer* loop = mixer.DuplicateBuffer(once);
  loop->SetVolume(-600);
  once->Play(false);
  loop->Play(true);
  std::vector<float> out(2 * 700);
  for (int i = 0; i < 3; ++i) {
    mixer.Render(out.data(), 700);
    for (float v : out)
      if (!(v >= -1.0f && v <= 1.0f)) __builtin_trap();
  }
  if (loop->GetPosition() >= loop->Size()) __builtin_trap();
  return 0;
}

#pragma once
// What the listening tests share: a mix of interleaved stereo float frames
// at 44100 Hz written as a 16-bit PCM WAV file, one channel read back from
// it, and the level of one tone in that channel.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace wavlisten {

constexpr double kPi = 3.14159265358979323846;

// 16-bit stereo PCM WAV at 44100 Hz of interleaved float frames.
inline std::string WavBytes(const std::vector<float>& frames) {
  auto u16 = [](std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&](std::string& s, uint32_t v) {
    u16(s, v & 0xFFFF);
    u16(s, v >> 16);
  };
  std::string data;
  for (float v : frames) u16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0f))));
  std::string s = "RIFF";
  u32(s, static_cast<uint32_t>(36 + data.size()));
  s += "WAVEfmt ";
  u32(s, 16);
  u16(s, 1);
  u16(s, 2);
  u32(s, 44100);
  u32(s, 44100 * 4);
  u16(s, 4);
  u16(s, 16);
  s += "data";
  u32(s, static_cast<uint32_t>(data.size()));
  return s + data;
}

// Channel 0 (left) or 1 (right) of such a file.
inline std::vector<float> ReadWavChannel(const std::string& bytes, int channel) {
  std::vector<float> out;
  for (size_t i = 44 + 2 * static_cast<size_t>(channel); i + 1 < bytes.size(); i += 4) {
    int16_t v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    out.push_back(static_cast<float>(v) / 32767.0f);
  }
  return out;
}

// Amplitude of the sinusoid at `hz` in 44100 Hz samples (a single-bin DFT).
inline double Amplitude(const std::vector<float>& x, double hz) {
  double re = 0, im = 0;
  for (size_t n = 0; n < x.size(); ++n) {
    double a = 2 * kPi * hz * static_cast<double>(n) / 44100.0;
    re += x[n] * std::cos(a);
    im -= x[n] * std::sin(a);
  }
  return 2 * std::hypot(re, im) / static_cast<double>(x.size());
}

}  // namespace wavlisten

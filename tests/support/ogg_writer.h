#pragma once
// Ogg Vorbis files for the tests of the OGG plug-in, encoded with
// libvorbisenc (the only code that links it). The encoder is deterministic:
// the same samples give the same bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace testsupport {

// The file for `frames` interleaved float frames (-1..1, `channels` values
// each) at `rate` frames a second; empty when the encoder refuses the layout.
std::string EncodeOgg(const std::vector<float>& frames, int rate, int channels, float quality = 0.4f);

// A sine tone of `frames` frames, the same on every channel.
std::vector<float> SineFrames(double hz, double amplitude, int rate, int channels, size_t frames);

}  // namespace testsupport

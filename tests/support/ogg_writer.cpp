#include "support/ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>

namespace testsupport {
namespace {

void TakePages(ogg_stream_state& stream, std::string& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
  }
}

}  // namespace

std::string EncodeOgg(const std::vector<float>& frames, int rate, int channels, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (channels < 1 || vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
    vorbis_info_clear(&info);
    return std::string();
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x5EED);

  std::string out;
  ogg_packet header, headerComment, headerCode;
  vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &headerComment);
  ogg_stream_packetin(&stream, &headerCode);
  TakePages(stream, out, true);

  const size_t total = frames.size() / static_cast<size_t>(channels);
  size_t fed = 0;
  for (;;) {
    // A write of 0 frames ends the stream; the blocks left then come out.
    const size_t n = std::min<size_t>(total - fed, 1024);
    if (n > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c)
          buffer[c][i] = frames[(fed + i) * static_cast<size_t>(channels) + static_cast<size_t>(c)];
      fed += n;
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(n));
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        TakePages(stream, out, false);
      }
    }
    if (n == 0) break;
  }
  TakePages(stream, out, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::vector<float> SineFrames(double hz, double amplitude, int rate, int channels, size_t frames) {
  constexpr double kPi = 3.14159265358979323846;
  std::vector<float> out(frames * static_cast<size_t>(channels));
  for (size_t i = 0; i < frames; ++i) {
    const float v = static_cast<float>(amplitude * std::sin(2 * kPi * hz * static_cast<double>(i) / rate));
    for (int c = 0; c < channels; ++c) out[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] = v;
  }
  return out;
}

}  // namespace testsupport

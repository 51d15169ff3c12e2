// The sample's images, sounds, music and translucency tables through the
// runtime's own loaders: each scene's system images with DDLoadSurfaces on
// the software display at 8 bits, as large as the scene cuts them, and the
// database's images as the stage loads them; every WAV with DS_ReadWave;
// the MIDI file with cMidiData::Check; the OGG file played through
// libvox.so; the blend tables with LoadBlendTable. Beside them the checks
// those loaders do not make: plain 8-bit BMP files sharing one palette,
// exact RIFF and MIDI chunk sizes, one Ogg stream with a fixed serial number.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "base/report_log.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/dd_surface.h"
#include "media/midi_data.h"
#include "media/system_surfaces.h"
#include "media/vox.h"
#include "media/wave_file.h"
#include "platform/bmp_image.h"
#include "platform/mixer.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "records/path_table.h"
#include "records/world_map.h"
#include "tests/tools/sample_fixture.h"
#include "tools/sample/sample_files.h"
#include "tools/sample/sample_palette.h"
#include "tools/sample/sample_stages.h"

namespace fs = std::filesystem;

namespace {

uint32_t LE(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(at + i < b.size() ? b[at + i] : 0);
  return v;
}

uint32_t BE(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<uint8_t>(at + i < b.size() ? b[at + i] : 0);
  return v;
}

// What the runtime's BMP reader lets pass but other readers may not: "" for
// an uncompressed bottom-up 8-bit file with a full colour table whose size
// field and pixel rows fill the file exactly.
std::string PlainBmpProblem(const std::string& b) {
  if (b.size() < 14 + 40 + 1024 || b.compare(0, 2, "BM") != 0) return "no BMP header";
  if (LE(b, 2, 4) != b.size()) return "file size field";
  if (LE(b, 10, 4) != 14 + 40 + 1024) return "pixel offset";
  if (LE(b, 14, 4) != 40 || LE(b, 26, 2) != 1 || LE(b, 28, 2) != 8 || LE(b, 30, 4) != 0)
    return "not an uncompressed 8-bit info header";
  const uint32_t used = LE(b, 46, 4);
  if (used != 0 && used != 256) return "colours used";
  const int32_t w = static_cast<int32_t>(LE(b, 18, 4)), h = static_cast<int32_t>(LE(b, 22, 4));
  if (w <= 0 || h <= 0) return "size (or top-down rows)";
  const size_t stride = (static_cast<size_t>(w) + 3) & ~size_t{3};
  if (14 + 40 + 1024 + stride * static_cast<size_t>(h) != b.size()) return "pixel rows do not fill the file";
  return "";
}

// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection,
// computed with the checksum field zero.
uint32_t OggCrc(const std::string& page) {
  uint32_t crc = 0;
  for (size_t i = 0; i < page.size(); ++i) {
    const uint8_t byte = (i >= 22 && i < 26) ? 0 : static_cast<uint8_t>(page[i]);
    crc ^= static_cast<uint32_t>(byte) << 24;
    for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// ---- the system images as start-up and the scenes load them ----

// The smallest size each system image can have for the cells the scenes and
// objects cut from it.
struct NEED {
  int index, w, h;
  const char* why;
};
const NEED kNeeds[] = {
    {0, 16, 24, "the 16 x 16 swatch at rows 8..23"},
    {2, 32, 480, "block n at ((n / 15) x 32, (n % 15) x 32)"},
    {4, 640, 480, "15 rows of 20 cells of 32"},
    {5, 640, 480, "the mirrored copy of the same"},
    {20, 128, 480, "8 x 30 cells of 16 into the shot caches"},
    {40, 64, 480, "two 32-dot frames per item, 15 per column"},
    {42, 16, 240, "16 x 16, 15 per column"},
    {43, 32, 480, "marks and overlay icons, 15 per column"},
    {45, 640, 480, "box backgrounds up to the screen"},
    {46, 640, 20, "the status bar"},
    {47, 640, 480, "the title screen"},
    {49, 128, 209, "cursors, walker, gauges; the character gauges in rows from 208"},
    {50, 26 * 32, 32, "'a'..'z' in the largest font's cells"},
    {51, 320, 192, "banners, area digits at y 128, timer digits at y 160"},
    {52, 160, 64, "chips 0..9, five per row"},
    {53, 64, 32, "an entrance before and after its clear"},
};

struct SCENE {
  const char* name;
  std::vector<int> images;
};

std::vector<SCENE> Scenes() {
  std::vector<int> stage;
  for (int i = 2; i <= 47; ++i) stage.push_back(i);
  for (int i : {49, 50, 51}) stage.push_back(i);
  for (int i = SURFACE_BACKGROUND_FIRST; i < SURFACE_TABLE_SIZE; ++i) stage.push_back(i);
  return {
      {"start-up", {0}},
      {"title", {47, 48, 49, 45}},
      {"world map", {SURFACE_WORLDBACK, 52, 53, 49, 45, 67}},
      {"map menu", {45, 50, 49}},
      {"stage select", {49, 45}},
      {"options", {49, 45}},
      {"stage", stage},
  };
}

class SampleMedia : public SampleProject {
 protected:
  void TearDown() override {
    DDRelease();
    lpDTCon = nullptr;
    bDDEverInited = 0;
    TransmitPixel = 0;
    std::memset(TextureChannels, 0, sizeof TextureChannels);
    std::fill(std::begin(CurPalette), std::end(CurPalette), PALETTEENTRY{});
    std::fill(std::begin(BasePalette), std::end(BasePalette), PALETTEENTRY{});
    lpSurfaceTable = nullptr;
    lpSurfaceDefs = nullptr;
    nSurfaceCount = 0;
    InitSurfaceDefs();  // the scenes' names back to the placeholders
    plat::ClearDisplayFailures();
    SampleProject::TearDown();
  }

  // The software display full screen at 8 bits with the program's system
  // surface table, the palette and the transparent colour from the palette
  // image, as start-up sets them.
  void Start8Bits() {
    plat::ClearDisplayFailures();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
    plat::SetDesktopBpp(32);
    plat::ResetPresenter();
    ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 8, 0, 0, 1, 60, 0, SurfaceTable, SurfaceDefs,
                       SURFACE_TABLE_SIZE, 0));
    ASSERT_TRUE(DDLoadPaletteFromFile(CurPalette, SurfaceDefs[0].szFileName.c_str(), 8));
    std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
    ASSERT_EQ(DDSetTransmit(SurfaceDefs[0].szFileName.c_str()), 1);
    m_startReport = Report();
  }
  // What the loads added to the report log after the display's own lines.
  std::string LoadReport() const { return Report().substr(m_startReport.size()); }

  std::string m_startReport;
};

}  // namespace

TEST_F(SampleMedia, EachSceneLoadsItsSystemImagesAt8BitsAsLargeAsItCutsThem) {
  Start8Bits();
  // The scenes name their own images in the placeholders first.
  cEdWorldMap map;
  ASSERT_EQ(map.LoadFromFile(PathTable[14]), 1);
  SurfaceDefs[SURFACE_WORLDBACK].szFileName = map.m_strFile;
  for (const SCENE& scene : Scenes()) {
    if (std::string(scene.name) == "stage") {
      // Every stage's layer images (none: the sample's layers fill).
      auto stage = std::make_unique<cEdStage>();
      for (int n = 0; n < SAMPLE_STAGES; ++n) {
        ASSERT_EQ(stage->LoadFromFile(SampleStageFile(n)), 1);
        for (int layer = 0; layer < SURFACE_BACKGROUND_COUNT; ++layer) {
          const bool shown = layer < stage->m_vBackground.Size() && stage->m_vBackground[layer].m_bVisible &&
                             !stage->m_vBackground[layer].m_bFillColor;
          EXPECT_FALSE(shown) << "stage " << n << " layer " << layer;
          SurfaceDefs[SURFACE_BACKGROUND_FIRST + layer].szFileName = shown ? stage->m_vBackground[layer].m_strFile : "";
        }
      }
    }
    EXPECT_TRUE(DDLoadSurfaces(SurfaceTable, scene.images.data(), static_cast<int>(scene.images.size()))) << scene.name;
    for (const NEED& need : kNeeds) {
      if (std::find(scene.images.begin(), scene.images.end(), need.index) == scene.images.end()) continue;
      const DDSURFACEDATA& sd = SurfaceTable[need.index];
      EXPECT_GE(sd.nWidth, need.w) << scene.name << ": " << SurfaceDefs[need.index].szFileName << ", " << need.why;
      EXPECT_GE(sd.nHeight, need.h) << scene.name << ": " << SurfaceDefs[need.index].szFileName << ", " << need.why;
    }
  }
  EXPECT_EQ(LoadReport(), "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(SampleMedia, ImagesTheDatabaseNamesHoldTheCellsItCuts) {
  Start8Bits();
  using namespace samplefile;
  struct Case {
    const char* file;
    int key, w, h;
  } cases[] = {
      {kExtraSheet, 1, 512, 32},                          // cells of 32, 16 per row
      {kSwordLeft, 1, kSwordFrames * kSwordFrameW, kSwordFrameH},
      {kSwordRight, 1, kSwordFrames * kSwordFrameW, kSwordFrameH},
      {kHitEffect, 1, kHitFrames * kHitCell, kHitCell},  // the cells in the top row
      {kPictureSign, 1, 1, 1},
      {kPictureMap, 1, 1, 1},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA sd;
    EXPECT_EQ(DDCreateSurfaceFromFile(&sd, c.file, c.key, 8, 0, 0, nullptr, 0, 0, 0, 0), 0) << c.file;
    EXPECT_GE(sd.nWidth, c.w) << c.file;
    EXPECT_GE(sd.nHeight, c.h) << c.file;
    DDReleaseSurface(&sd);
  }
  EXPECT_EQ(LoadReport(), "");
}

TEST_F(SampleMedia, EveryImageIsAPlain8BitFileSharingThePalette) {
  plat::BmpImage palette;
  ASSERT_EQ(plat::LoadBmp("bmp\\plt\\Palette.bmp", palette), plat::BmpStatus::Ok);
  ASSERT_EQ(palette.palette.size(), 256u);
  int images = 0;
  for (const auto& e : fs::recursive_directory_iterator("bmp")) {
    if (e.path().extension() != ".bmp") continue;
    const std::string file = e.path().generic_string();
    ++images;
    EXPECT_EQ(PlainBmpProblem(Read(file)), "") << file;
    plat::BmpImage img;
    ASSERT_EQ(plat::LoadBmp(file, img), plat::BmpStatus::Ok) << file;
    EXPECT_EQ(img.bitCount, 8) << file;
    ASSERT_EQ(img.palette.size(), 256u) << file;
    for (size_t i = 0; i < 256; ++i) {
      const plat::PalEntry a = img.palette[i], b = palette.palette[i];
      ASSERT_TRUE(a.red == b.red && a.green == b.green && a.blue == b.blue) << file << " has its own colour " << i;
    }
  }
  EXPECT_EQ(images, 15 + 6);  // the system images and the database's
}

TEST_F(SampleMedia, PaletteImageHoldsTheKeyAndASwatchOf256DistinctColours) {
  Start8Bits();
  const int first[] = {0};
  ASSERT_TRUE(DDLoadSurfaces(SurfaceTable, first, 1));
  EXPECT_EQ(TransmitPixel, 0u) << "the transparent colour is entry 0";
  cSurfaceLock lock;
  ASSERT_TRUE(lock.Lock(&SurfaceTable[0]));
  ASSERT_EQ(lock.m_nBpp, 8);
  auto at = [&lock](int x, int y) { return lock.m_pBits[static_cast<size_t>(y) * lock.m_nPitch + x]; };
  EXPECT_EQ(at(0, 0), 0);
  std::set<uint32_t> colours;
  for (int n = 0; n < 256; ++n) {
    EXPECT_EQ(at(n % 16, 8 + n / 16), n) << "swatch pixel of entry " << n;
    colours.insert(CurPalette[n].peRed << 16 | CurPalette[n].peGreen << 8 | CurPalette[n].peBlue);
  }
  // A colour two entries shared would turn keyed pixels opaque or the reverse
  // at 16 and 32 bits, where pixels are matched by colour.
  EXPECT_EQ(colours.size(), 256u);
  EXPECT_EQ(LoadReport(), "");
}

TEST_F(SampleMedia, SoundsAre22050Hz8BitMonoPcm) {
  int count = 0;
  for (const auto& e : fs::directory_iterator("wave")) {
    const std::string name = "wave\\" + e.path().filename().string();
    ++count;
    WAVEDATA wave;
    ASSERT_TRUE(DS_ReadWave(name.c_str(), &wave)) << name;
    EXPECT_EQ(wave.wfx.wFormatTag, 1) << name;
    EXPECT_EQ(wave.wfx.nChannels, 1) << name;
    EXPECT_EQ(wave.wfx.nSamplesPerSec, 22050u) << name;
    EXPECT_EQ(wave.wfx.wBitsPerSample, 8) << name;
    EXPECT_FALSE(wave.vData.empty()) << name;
    // The reader takes a RIFF size beyond the file and never reads the rate
    // of bytes; other players do.
    EXPECT_EQ(wave.wfx.nAvgBytesPerSec, 22050u) << name;
    const std::string b = Read(HostName(name));
    EXPECT_EQ(LE(b, 4, 4), b.size() - 8) << name;
  }
  EXPECT_EQ(count, 17 + 3);
  EXPECT_EQ(Report(), "");
}

TEST_F(SampleMedia, MidiFileConvertsForThePlayerAndEachTrackChunkEndsWithItsTrack) {
  const std::string b = Read(HostName(samplefile::kMidi));
  cMidiData midi;
  midi.m_strName = samplefile::kMidi;
  const auto image = midi.Check(reinterpret_cast<const uint8_t*>(b.data()), b.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(Report(), "");
  EXPECT_LE(BE(b, 8, 2), 1u) << "format 0 or 1";
  EXPECT_EQ(BE(b, 10, 2), 3u) << "tracks";
  EXPECT_GT(BE(b, 12, 2), 0u) << "ticks per quarter note";

  // The player's reader ends a track at its end-of-track event and ignores the
  // chunk lengths; other readers go by them: they must agree.
  size_t at = 14;
  for (uint32_t t = 0; t < 3; ++t) {
    ASSERT_EQ(b.substr(at, 4), "MTrk") << "track " << t;
    at += 8 + BE(b, at + 4, 4);
    ASSERT_LE(at, b.size());
    EXPECT_EQ(b.substr(at - 3, 3), std::string("\xFF\x2F\x00", 3)) << "track " << t;
  }
  EXPECT_EQ(at, b.size());

  // The converted song: every event with its status byte, after the head.
  const std::vector<uint8_t>& s = *image;
  int notes = 0, tempos = 0;
  for (size_t p = kMidiImageHead; p < s.size();) {
    uint32_t delta = 0;
    const int n = cMidiData::ReadVarLen(&s[p], s.size() - p, &delta);
    ASSERT_GT(n, 0);
    p += static_cast<size_t>(n);
    const uint8_t status = s[p++];
    uint32_t length = 0;
    if (status == 0xFF) {
      const uint8_t type = s[p++];
      p += static_cast<size_t>(cMidiData::ReadVarLen(&s[p], s.size() - p, &length));
      if (type == 0x51) ++tempos;
    } else if (status == 0xF0 || status == 0xF7) {
      p += static_cast<size_t>(cMidiData::ReadVarLen(&s[p], s.size() - p, &length));
    } else {
      length = status >= 0xC0 && status <= 0xDF ? 1 : 2;
      if ((status & 0xF0) == 0x90 && s[p + 1] != 0) ++notes;
    }
    p += length;
  }
  EXPECT_GT(notes, 50);
  EXPECT_EQ(tempos, 1);
}

TEST_F(SampleMedia, OggFilePlaysThroughThePlugIn) {
  SetVoxLibraryPath(VOX_LIBRARY_FILE);
  cVox vox;
  ASSERT_EQ(vox.Init(), 1) << vox.LastError();
  ASSERT_EQ(vox.SetChannels(1), 1);
  EXPECT_EQ(vox.Play(0, samplefile::kOgg, 0), 1);
  std::vector<float> mix(2 * 4096);
  plat::MainMixer.Render(mix.data(), 4096);
  EXPECT_TRUE(std::any_of(mix.begin(), mix.end(), [](float v) { return v != 0.0f; })) << "it sounds";
  vox.Release();
  SetVoxLibraryPath("");
  EXPECT_EQ(Report(), "");
}

TEST_F(SampleMedia, OggFileIsOneMonoStreamWithAFixedSerial) {
  // Checks the decoder does not make: page checksums (it skips a bad page),
  // one logical stream, the serial number fixed for equal bytes on every run.
  const std::string b = Read(HostName(samplefile::kOgg));
  size_t at = 0;
  uint32_t serial = 0, expectSequence = 0;
  int pages = 0;
  uint8_t lastFlags = 0;
  while (at < b.size()) {
    ASSERT_EQ(b.substr(at, 4), "OggS") << "page at " << at;
    ASSERT_EQ(b[at + 4], 0) << "stream structure version";
    const uint8_t flags = static_cast<uint8_t>(b[at + 5]);
    const int segments = static_cast<uint8_t>(b[at + 26]);
    size_t body = 0;
    for (int s = 0; s < segments; ++s) body += static_cast<uint8_t>(b[at + 27 + s]);
    const size_t length = 27 + segments + body;
    ASSERT_LE(at + length, b.size());
    const std::string page = b.substr(at, length);
    if (pages == 0) {
      EXPECT_EQ(flags & 0x02, 0x02) << "first page begins the stream";
      serial = LE(b, at + 14, 4);
      const std::string id = page.substr(27 + segments);
      ASSERT_EQ(id.substr(0, 7), std::string("\x01vorbis", 7));
      EXPECT_EQ(static_cast<uint8_t>(id[11]), 1) << "channels";
      EXPECT_EQ(LE(id, 12, 4), 22050u) << "sample rate";
    }
    EXPECT_EQ(LE(b, at + 14, 4), serial) << "one logical stream";
    EXPECT_EQ(LE(b, at + 18, 4), expectSequence++);
    EXPECT_EQ(LE(b, at + 22, 4), OggCrc(page)) << "page " << pages;
    lastFlags = flags;
    at += length;
    ++pages;
  }
  EXPECT_EQ(serial, 0x53414D50u);
  EXPECT_EQ(lastFlags & 0x04, 0x04) << "last page ends the stream";
  EXPECT_GT(pages, 3);
}

TEST(SamplePalette, SchemesRotateOrRepeatTheTwelveBlocks) {
  const SamplePalette& base = SampleBasePalette();
  // Entry e of scheme n shows base entry f.
  struct Case {
    int scheme, entry, from;
  } cases[] = {
      {0, 16, 16},   {0, 207, 207}, {1, 16, 32},    {1, 191, 207}, {1, 192, 16},  {11, 16, 192},
      {11, 207, 191}, {12, 16, 16},  {12, 207, 31}, {12, 50, 18},  {22, 16, 176}, {22, 200, 184},
      {23, 16, 192}, {23, 207, 207},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SchemePalette(c.scheme)[c.entry], base[c.from]) << "scheme " << c.scheme << " entry " << c.entry;
  // Outside the blocks every scheme keeps the palette (the cycling bands,
  // the key, the frame and text colours).
  for (int scheme = 0; scheme < SAMPLE_SCHEME_COUNT; ++scheme) {
    const SamplePalette p = SchemePalette(scheme);
    for (int e : {0, 1, 15, 208, 239, 240, 241, 255}) EXPECT_EQ(p[e], base[e]) << scheme << " " << e;
  }
}

TEST_F(SampleMedia, EachSchemeHasABlendTableMixedInItsOwnPalette) {
  auto t = std::make_unique<uint8_t[]>(65536);
  for (int scheme = 0; scheme < SAMPLE_SCHEME_COUNT; ++scheme) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp\\hbt\\hbt%02d.dat", scheme);
    ASSERT_TRUE(LoadBlendTable(t.get(), name)) << name;
    EXPECT_EQ(Read(HostName(name)).size(), 65536u) << name;
    auto mix = [&t](int a, int b) { return t[static_cast<size_t>(a * 256 + b)]; };
    for (int a = 0; a < 256; ++a) {
      ASSERT_EQ(mix(a, a), a) << name;
      for (int b = 0; b < 256; ++b) {
        ASSERT_EQ(mix(a, b), mix(b, a)) << name << " " << a << " " << b;
        const int m = mix(a, b);
        // Never the key, never a cycling entry.
        if (a != b) {
          ASSERT_TRUE((m >= 1 && m <= 207) || (m >= 240 && m <= 254)) << name << " " << a << " " << b;
        }
      }
    }
    // Two shades of the grey ramp mix to the shade between them, wherever
    // the scheme shows that ramp; in the repeating schemes the first copy of
    // the shown ramp answers.
    const int grey = scheme <= 11 ? 16 + (192 - 16 * scheme) % 192 : 16;
    EXPECT_EQ(mix(grey + 6, grey + 8), grey + 7) << name;
  }
  EXPECT_EQ(Report(), "");
}

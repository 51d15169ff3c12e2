#pragma once
// The files of the sample project that are not records: their names (as the
// records name them: Shift-JIS, '\' separators, relative to the game folder)
// and their bytes, made in memory the same way on every run.
#include <string>
#include <vector>

struct SAMPLEFILE {
  std::string strPath;
  std::string strBytes;
};

// The images: bmp\plt\Palette.bmp, every system image the scenes load, the
// project's own images (extra character sheet, sword, effect, pictures).
std::vector<SAMPLEFILE> SampleImages();
// bmp\hbt\hbt00.dat .. hbt23.dat, one translucency table per palette scheme.
std::vector<SAMPLEFILE> SampleBlendTables();
// wave\: the 17 system sounds and the project's sounds (22050 Hz, 8 bits, mono).
std::vector<SAMPLEFILE> SampleSounds();
// bgm\: one MIDI file and one OGG file.
std::vector<SAMPLEFILE> SampleMusic();

// Names the records use.
namespace samplefile {
constexpr int kSystemSoundCount = 17;
// System sound slots 0..16 in order.
extern const char* const kSystemSounds[kSystemSoundCount];
// Sound.dat entries 1.. (entry 0 names no file).
constexpr int kProjectSoundCount = 3;
extern const char* const kProjectSounds[kProjectSoundCount];

constexpr const char* kMidi = "bgm\\Title.mid";
constexpr const char* kOgg = "bgm\\Stage.ogg";

constexpr const char* kExtraSheet = "bmp\\chara_sp\\Extra.bmp";
constexpr const char* kSwordLeft = "bmp\\sword\\SwordL.bmp";
constexpr const char* kSwordRight = "bmp\\sword\\SwordR.bmp";
constexpr const char* kHitEffect = "bmp\\effect\\Hit.bmp";
constexpr const char* kPictureSign = "bmp\\picture\\Sign.bmp";
constexpr const char* kPictureMap = "bmp\\picture\\Map.bmp";
// The sword frames are cut from cells of this size, left to right.
constexpr int kSwordFrameW = 32;
constexpr int kSwordFrameH = 16;
constexpr int kSwordFrames = 3;
constexpr int kHitCell = 32;
constexpr int kHitFrames = 4;
}  // namespace samplefile

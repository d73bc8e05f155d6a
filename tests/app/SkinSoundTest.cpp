// The skin's sounds through SDL_mixer's dummy driver: files found with their fallback, a broken or missing file
// reported once while play goes on, a skin without sounds silent; and the sound options of the command line.
#include "SkinSound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "../data/DataTestSupport.h"
#include "SkinFolders.h"
#include "VolumeKeys.h"

namespace {

// A 16-bit mono WAV of a few samples.
std::string TinyWav() {
  auto u32 = [](uint32_t V) { return std::string{char(V), char(V >> 8), char(V >> 16), char(V >> 24)}; };
  auto u16 = [](uint16_t V) { return std::string{char(V), char(V >> 8)}; };
  const std::string samples(200, '\x10');
  return "RIFF" + u32(36 + samples.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(22050) + u32(44100) + u16(2) +
         u16(16) + "data" + u32(samples.size()) + samples;
}

class SkinSoundTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void SetUp() override {
    SkinRoot = dir_.Dir() + "skin/";
    SystemSkinDir = SkinRoot + "system/";
    SkinNames.Clear();
    CurrentSkin = "test";
    ASSERT_TRUE(mixer_.Ok()) << mixer_.Error();
  }
  void TearDown() override {
    SkinRoot = skinRoot_;
    SystemSkinDir = systemSkinDir_;
    CurrentSkin = kDefaultSkin;
  }
  void Write(const std::string& Relative, const std::string& Bytes) {
    datatest::WriteFile(dir_.Path() / "skin" / Relative, Bytes);
  }
  int Count(const std::string& Part) const {
    int n = 0;
    for (const std::string& line : reports_) n += line.find(Part) != std::string::npos;
    return n;
  }

  std::string skinRoot_ = SkinRoot, systemSkinDir_ = SystemSkinDir;
  datatest::TTempDir dir_;
  TSdlMixer mixer_;
  std::vector<std::string> reports_;
  TSkinSound sound_{mixer_, [this](const std::string& Line) { reports_.push_back(Line); }};
};

TEST_F(SkinSoundTest, BrokenOrMissingFilesAreReportedOnceAndPlayGoesOn) {
  Write("test/xml/graphicdef.xml", "");
  Write("test/Sound/SHOT.WAV", "RIFF but no sound");  // Windows-made names are found all the same
  Write("test/Sound/stage1.ogg", "OggS and nothing else");
  Write("system/sound/laser.wav", TinyWav());  // the system skin fills in
  for (int i = 0; i < 3; ++i) {
    for (int e = 0; e < kSoundEffectCount; ++e) sound_.PlayEffect(static_cast<TSoundEffect>(e));
    sound_.PlayMusic(TMusicTrack{mkStage, 1});
    sound_.StopMusic();
  }
  EXPECT_EQ(Count("SHOT.WAV"), 1);
  EXPECT_EQ(Count("stage1.ogg"), 1);
  EXPECT_EQ(Count("laser"), 0);
  EXPECT_EQ(Count("has no sound/capsule"), 1);
  EXPECT_EQ(reports_.size(), 2u + kSoundEffectCount - 2) << "every other effect missing, once each";
}

// A WAV header of the given encoding, data bytes held by the file as zeros (sparse, so a large one is cheap).
void WriteWav(const std::filesystem::path& Path, uint32_t Rate, uint16_t Channels, uint16_t Bits, uint64_t Data) {
  auto u32 = [](uint32_t V) { return std::string{char(V), char(V >> 8), char(V >> 16), char(V >> 24)}; };
  auto u16 = [](uint16_t V) { return std::string{char(V), char(V >> 8)}; };
  const uint16_t align = static_cast<uint16_t>(Channels * Bits / 8);
  datatest::WriteFile(Path, "RIFF" + u32(static_cast<uint32_t>(36 + Data)) + "WAVEfmt " + u32(16) + u16(1) +
                                u16(Channels) + u32(Rate) + u32(Rate * align) + u16(align) + u16(Bits) + "data" +
                                u32(static_cast<uint32_t>(Data)));
  std::filesystem::resize_file(Path, 44 + Data);
}

// Each budget stops its sound before it is decoded, with one line saying why; the rest of the skin plays.
TEST_F(SkinSoundTest, SoundsOverTheirBudgetsAreRefusedBeforeDecoding) {
  Write("test/xml/graphicdef.xml", "");
  const auto sound = dir_.Path() / "skin/test/sound";
  WriteWav(sound / "shot.wav", 8000, 1, 8, 20'000'000);           // 2,500 s of sound in a 20 MB file
  WriteWav(sound / "laser.wav", 22050, 2, 16, 9 * 88200);         // 9 s: within the budget
  WriteWav(sound / "enemyhit.wav", 1, 1, 8, 10'000);              // 1 Hz
  WriteWav(sound / "powerup.wav", 192000, 8, 32, 9 * 6'144'000);  // 9 s, but 55 MB of data
  WriteWav(sound / "title.wav", 1, 1, 8, 10'000);                 // music at 1 Hz
  WriteWav(sound / "ending.wav", 11025, 256, 8, 10'000);          // music of 256 channels: SDL would divide by 0
  Write("test/sound/capsule.wav", "ID3\x04 an MP3 by another name");
  WriteWav(sound / "shiplost.wav", 22050, 1, 16, 4'139'382'400);  // claims 4 GB: SDL would allocate them
  std::filesystem::resize_file(sound / "shiplost.wav", 4096);     // but the file is cut at 4 KB
  // Music whose odd-sized data chunk is followed, without the pad byte, by a format of 256 channels: SDL_mixer
  // reads that one last and would divide by 0.
  WriteWav(sound / "stage1.wav", 11025, 1, 8, 0);
  datatest::WriteFile(sound / "stage1.wav", datatest::ReadFile(sound / "stage1.wav").substr(0, 40) +
                                                std::string("\x41\0\0\0", 4) + std::string(0x41, '\x80') + "fmt " +
                                                std::string("\x10\0\0\0\x01\0\0\x01", 8) +
                                                std::string("\x11\x2b\0\0\0\0\0\0\0\x01\x08\0", 12));
  sound_.PlayEffect(seShot);
  sound_.PlayMusic(TMusicTrack{mkTitle, 0});
  sound_.PlayMusic(TMusicTrack{mkEnding, 0});
  sound_.PlayMusic(TMusicTrack{mkStage, 1});
  EXPECT_EQ(Count("shot.wav: it lasts 2500 s, over the 10 s an effect may last"), 1);
  EXPECT_EQ(Count("laser.wav"), 0);
  EXPECT_EQ(Count("enemyhit.wav: sample rate 1 Hz is outside 4000 to 192000 Hz"), 1);
  EXPECT_EQ(Count("powerup.wav: it takes 54000 KiB, over the 16 MiB"), 1);
  EXPECT_EQ(Count("title.wav: sample rate 1 Hz"), 1);
  EXPECT_EQ(Count("ending.wav: 256 channels, not 1 to 8"), 1);
  EXPECT_EQ(Count("capsule.wav: not a WAV or Ogg Vorbis file"), 1);
  EXPECT_EQ(Count("shiplost.wav: a WAV file whose data runs past its end"), 1);
  EXPECT_EQ(Count("stage1.wav: a WAV file with more than one format"), 1);
}

TEST_F(SkinSoundTest, ASkinWithoutSoundsIsSilentWithoutComplaint) {
  Write("test/xml/graphicdef.xml", "");
  for (int e = 0; e < kSoundEffectCount; ++e) sound_.PlayEffect(static_cast<TSoundEffect>(e));
  sound_.PlayMusic(TMusicTrack{mkTitle, 0});
  sound_.PauseMusic(true);
  EXPECT_TRUE(reports_.empty());
}

TEST_F(SkinSoundTest, VolumeKeysActWhenPressedAndPassEveryKeyOn) {
  struct TKeys : TKeySource {
    uint8_t Down = 0;
    bool IsKeyDown(uint8_t Key) const override { return Key == Down; }
    bool IsApplicationActive() const override { return true; }
  } keys;
  TVolumeKeys volumeKeys(keys, sound_);
  sound_.SetVolume(50);
  const struct {
    uint8_t Key;
    int Polls;  // frames the key stays down
    int Volume;
    bool Muted;
  } steps[] = {{TVolumeKeys::kKeyUp, 3, 60, false},
               {TVolumeKeys::kKeyDown, 1, 50, false},
               {TVolumeKeys::kKeyMute, 2, 50, true},
               {TVolumeKeys::kKeyMute, 1, 50, false},
               {'Z', 1, 50, false}};
  for (const auto& step : steps) {
    keys.Down = step.Key;
    for (int i = 0; i < step.Polls; ++i) EXPECT_TRUE(volumeKeys.IsKeyDown(step.Key));
    keys.Down = 0;
    EXPECT_FALSE(volumeKeys.IsKeyDown(step.Key));
    EXPECT_EQ(sound_.Volume(), step.Volume) << int(step.Key);
    EXPECT_EQ(sound_.Muted(), step.Muted) << int(step.Key);
  }
}

}  // namespace

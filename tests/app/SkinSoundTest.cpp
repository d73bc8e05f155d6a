// The skin's sounds through SDL_mixer's dummy driver: files found with their fallback, a broken or missing file
// reported once while play goes on, a skin without sounds silent; and the sound options of the command line.
#include "SkinSound.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "../data/DataTestSupport.h"
#include "SkinFolders.h"
#include "VolumeKeys.h"

namespace {

// A 16-bit mono WAV of a few samples.
std::string TinyWav() {
  auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  const std::string samples(200, '\x10');
  return "RIFF" + u32(36 + samples.size()) + "WAVEfmt " + u32(16) + u16(1) + u16(1) + u32(22050) + u32(44100) +
         u16(2) + u16(16) + "data" + u32(samples.size()) + samples;
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
  void Write(const std::string& relative, const std::string& bytes) {
    datatest::WriteFile(dir_.Path() / "skin" / relative, bytes);
  }
  int Count(const std::string& part) const {
    int n = 0;
    for (const std::string& line : reports_) n += line.find(part) != std::string::npos;
    return n;
  }

  std::string skinRoot_ = SkinRoot, systemSkinDir_ = SystemSkinDir;
  datatest::TempDir dir_;
  TSdlMixer mixer_;
  std::vector<std::string> reports_;
  TSkinSound sound_{mixer_, [this](const std::string& line) { reports_.push_back(line); }};
};

TEST_F(SkinSoundTest, BrokenOrMissingFilesAreReportedOnceAndPlayGoesOn) {
  Write("test/xml/graphicdef.xml", "");
  Write("test/Sound/SHOT.WAV", "RIFF but no sound");  // Windows-made names are found all the same
  Write("test/Sound/stage1.ogg", "OggS and nothing else");
  Write("system/sound/laser.wav", TinyWav());         // the system skin fills in
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
    bool IsKeyDown(uint8_t key) const override { return key == Down; }
    bool IsApplicationActive() const override { return true; }
  } keys;
  TVolumeKeys volumeKeys(keys, sound_);
  sound_.SetVolume(50);
  const struct {
    uint8_t Key;
    int Polls;  // frames the key stays down
    int Volume;
    bool Muted;
  } steps[] = {{TVolumeKeys::KeyUp, 3, 60, false}, {TVolumeKeys::KeyDown, 1, 50, false},
               {TVolumeKeys::KeyMute, 2, 50, true}, {TVolumeKeys::KeyMute, 1, 50, false},
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

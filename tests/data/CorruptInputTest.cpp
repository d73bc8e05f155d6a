// Damaged pictures and definition files end in Exception or load, never in a crash (run under the
// sanitizer build as well).
#include <gtest/gtest.h>

#include <random>

#include "DataTestSupport.h"
#include "Exception.h"
#include "GraphicDefs.h"
#include "RasterBitmap.h"
#include "SkinPlace.h"
#include "StageDefs.h"

namespace {

class TPlainDef : public TGraphicDef {
 public:
  void Draw(const TDrawable*, TSXScene*) override {}
};

}  // namespace

TEST(CorruptInputTest, DamagedBitmapsLoadOrRaise) {
  std::vector<uint32_t> palette(16, 0x00123456);
  std::vector<std::string> originals = {
      datatest::MakeBmp(5, 3, 24, std::vector<uint32_t>(15, 0xFF00FF)),
      datatest::MakeBmp(5, 3, 8, std::vector<uint32_t>(15, 3), palette),
      datatest::MakeBmp(5, 3, 4, std::vector<uint32_t>(15, 7), palette),
      datatest::MakeBmp(3, 2, 16, std::vector<uint32_t>(6, 0x7C1F)),
      datatest::MakeBmp(3, 2, 32, std::vector<uint32_t>(6, 0x80FF00FF)),
  };
  std::mt19937 random(7);
  int loaded = 0;
  int refused = 0;
  for (const std::string& original : originals) {
    for (size_t cut = 0; cut < original.size(); ++cut) {
      TRasterBitmap b;
      try {
        b.LoadFromBytes(original.substr(0, cut), "cut.bmp");
        ++loaded;
      } catch (const Exception&) {
        ++refused;
      }
    }
    for (int round = 0; round < 400; ++round) {
      std::string damaged = original;
      for (int flips = 1 + random() % 4; flips > 0; --flips) {
        damaged[random() % damaged.size()] = static_cast<char>(random());
      }
      TRasterBitmap b;
      try {
        b.LoadFromBytes(damaged, "damaged.bmp");
        ++loaded;
        EXPECT_GT(b.Width(), 0);
      } catch (const Exception&) {
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(loaded, 0);
}

TEST(CorruptInputTest, TruncatedAndDamagedStageFilesLoadOrRaise) {
  datatest::TTempDir dir;
  TGraphicDefList graphics(nullptr);
  graphics.Add("bot", new TPlainDef);
  TStageDefList stages(&graphics);
  TSkinPlace place{dir.Dir() + "morv/", dir.Dir() + "system/"};
  const std::string original =
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<stages>\n<stage title=\"\x83\x58\x83\x65\">"
      "<restartpoint frame=\"0\"/><group frame=\"100\" x=\"700\"><enemy frame=\"0\" hp=\"$10\"/>"
      "<enemy><frame>10</frame><stageclear>true</stageclear></enemy></group></stage>\n<stage/></stages>\n";
  std::mt19937 random(11);
  auto attempt = [&](const std::string& Bytes) {
    datatest::WriteFile(dir.Path() / "morv/xml/stagedef.xml", Bytes);
    try {
      stages.Reload(place);
    } catch (const Exception&) {
    }
  };
  for (size_t cut = 0; cut <= original.size(); cut += 3) attempt(original.substr(0, cut));
  for (int round = 0; round < 120; ++round) {
    std::string damaged = original;
    damaged[random() % damaged.size()] = static_cast<char>(random());
    attempt(damaged);
  }
  attempt(original);
  EXPECT_EQ(stages.Count(), 2);
}

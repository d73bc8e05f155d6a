#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Exception.h"
#include "GraphicDefs.h"
#include "TextEncoding.h"

namespace {

int LiveDefs = 0;

class TCountedDef : public TGraphicDef {
 public:
  TCountedDef() { ++LiveDefs; }
  ~TCountedDef() override { --LiveDefs; }
  void Draw(const TDrawable*, TSXScene*) override {}
};

std::string FindError(const TGraphicDefList& List, const std::string& Id) {
  try {
    List.Find(Id);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "no exception";
}

TAnimationDef Animation(uint32_t MaxFrame, bool Repeat, std::initializer_list<uint32_t> Frames) {
  TAnimationDef def;
  def.MaxFrame = MaxFrame;
  def.Repeat = Repeat;
  for (uint32_t f : Frames) {
    auto* entry = new TAnimationSpriteDef;
    entry->Frame = f;
    def.AddFrame(entry);
  }
  def.SortFrames();
  return def;
}

}  // namespace

TEST(GraphicDefListTest, FindIgnoresLetterCaseAndTheLatestDuplicateWins) {
  LiveDefs = 0;
  {
    TGraphicDefList list(nullptr);
    auto* first = new TCountedDef;
    auto* second = new TCountedDef;
    auto* other = new TCountedDef;
    list.Add("ship", first);
    list.Add("bot", other);
    list.Add("Ship", second);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Find("SHIP"), second);
    EXPECT_EQ(list.Find("ship"), second);
    EXPECT_EQ(list.Find("bOt"), other);
    EXPECT_EQ(list.IdAt(0), "ship");
    EXPECT_EQ(list.ItemAt(2), second);
    // CP932 trail bytes in the range of lower-case letters are not changed: "ソ" is 0x83 0x5C, "ポ" 0x83 0x7C,
    // "ab" after a lead byte must not become "AB".
    std::string katakana = "\x83\x61\x83\x62";  // two katakana whose trail bytes read "a" and "b"
    list.Add(katakana, new TCountedDef);
    EXPECT_EQ(FindError(list, "\x83\x41\x83\x42"), "\"\x83\x41\x83\x42\"" + Jp("は定義されていないグラフィックIDです"));
    EXPECT_NE(list.Find(katakana), nullptr);
    EXPECT_EQ(LiveDefs, 4);
  }
  EXPECT_EQ(LiveDefs, 0);  // freeing the list frees duplicates too
}

TEST(GraphicDefListTest, FindMessages) {
  TGraphicDefList list(nullptr);
  EXPECT_EQ(FindError(list, ""), Jp("空のグラフィックIDは指定できません"));
  EXPECT_EQ(FindError(list, "ufo"), Jp("\"ufo\"は定義されていないグラフィックIDです"));
  list.Add("a", new TCountedDef);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(FindError(list, "a"), Jp("\"a\"は定義されていないグラフィックIDです"));
}

// The look-up by halving answers as the entry-by-entry walk does, duplicates and entries past the cycle
// included, whether the entries came in order or were sorted afterwards.
TEST(GraphicDefListTest, FrameLookupMatchesTheWalkOverEveryEntry) {
  std::mt19937 random(5);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint32_t> frames(1 + random() % 12);
    for (uint32_t& f : frames) f = random() % 40;
    TAnimationDef def;
    def.MaxFrame = 1 + random() % 45;
    def.Repeat = round % 2 == 0;
    for (uint32_t f : frames) {
      auto* entry = new TAnimationSpriteDef;
      entry->Frame = f;
      def.AddFrame(entry);
    }
    def.SortFrames();
    std::sort(frames.begin(), frames.end());
    const int32_t count = static_cast<int32_t>(frames.size());
    for (uint32_t t = 0; t < 100; ++t) {
      int32_t expected = 0;
      if (!def.Repeat && t >= def.MaxFrame) {
        expected = -1;
      } else {
        const uint32_t u = t % def.MaxFrame;
        bool found = false;
        for (int32_t i = 0; i + 1 < count && !found; ++i) {
          if (frames[i] <= u && u < frames[i + 1]) expected = i, found = true;
        }
        if (!found && count >= 2 && u >= frames[count - 1]) expected = count - 1;
      }
      ASSERT_EQ(def.FrameIndexAt(t), expected) << "round " << round << " t " << t;
    }
  }
}

TEST(GraphicDefListTest, FrameLookupWithAndWithoutRepeat) {
  TAnimationDef three = Animation(30, false, {20, 0, 10});
  EXPECT_EQ(three.FrameAt(0)->Frame, 0u);  // sorted
  EXPECT_EQ(three.FrameIndexAt(0), 0);
  EXPECT_EQ(three.FrameIndexAt(9), 0);
  EXPECT_EQ(three.FrameIndexAt(10), 1);
  EXPECT_EQ(three.FrameIndexAt(19), 1);
  EXPECT_EQ(three.FrameIndexAt(20), 2);
  EXPECT_EQ(three.FrameIndexAt(29), 2);
  EXPECT_EQ(three.FrameIndexAt(30), -1);
  EXPECT_EQ(three.FrameIndexAt(0xFFFFFFFFu), -1);

  TAnimationDef repeating = Animation(30, true, {0, 10, 20});
  EXPECT_EQ(repeating.FrameIndexAt(35), 0);
  EXPECT_EQ(repeating.FrameIndexAt(59), 2);
  EXPECT_EQ(repeating.FrameIndexAt(60), 0);

  TAnimationDef late = Animation(20, false, {5, 10});
  for (uint32_t t = 0; t < 5; ++t) EXPECT_EQ(late.FrameIndexAt(t), 0) << t;
  EXPECT_EQ(late.FrameIndexAt(10), 1);
  EXPECT_EQ(late.FrameIndexAt(19), 1);

  TAnimationDef single = Animation(8, false, {6});
  for (uint32_t t = 0; t < 8; ++t) EXPECT_EQ(single.FrameIndexAt(t), 0) << t;
  EXPECT_EQ(single.FrameIndexAt(8), -1);

  TAnimationDef empty = Animation(8, true, {});
  EXPECT_EQ(empty.FrameIndexAt(0), -1);

  single.DeleteFrame(0);
  EXPECT_EQ(single.FrameCount(), 0);
  three.ClearFrames();
  EXPECT_EQ(three.FrameCount(), 0);
}

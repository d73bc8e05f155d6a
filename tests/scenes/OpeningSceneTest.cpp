#include "UOpening.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "GameKeys.h"
#include "RasterBitmap.h"
#include "SceneHarness.h"
#include "SceneState.h"
#include "ScoreBoard.h"
#include "ScoreBookScope.h"

namespace {

// The logo's progressive length (letter outlines' straight segments) is 673 pixels: ceil(673 / 5) frames.
constexpr int kDrawingFrames = 135;

class OpeningSceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TSceneHarness::SetSkins({"morv"}, "morv");
    scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  }
  void TearDown() override {
    scene_.reset();
    TSceneHarness::SetSkins({}, "morv");
  }
  void Frames(int N) {
    for (int i = 0; i < N; ++i) h_.Frame(*scene_);
  }
  void Press(uint8_t Key) {
    h_.KeySource().SetKey(Key, true);
    h_.Frame(*scene_);
    h_.KeySource().SetKey(Key, false);
  }

  TSceneHarness h_;
  std::unique_ptr<TOpeningScene> scene_;
};

TEST_F(OpeningSceneTest, StartsDrawingOnABlackBitmap) {
  EXPECT_FALSE(scene_->Complete);
  EXPECT_EQ(scene_->StrokeIndex, 0);
  EXPECT_EQ(scene_->LogoColor, 0xFFFFFFFFu);
  EXPECT_EQ(scene_->LogoBitmap->Width(), 199);
  EXPECT_EQ(scene_->LogoBitmap->Height(), 30);
  EXPECT_EQ(scene_->LogoBitmap->Pixel(0, 0), 0u);
  EXPECT_EQ(TOpeningScene::kLogoX, 101);
  EXPECT_EQ(TOpeningScene::kLogoY, 127);
}

TEST_F(OpeningSceneTest, LogoFlickersWhileDrawingAndCompletesAfterItsProgressiveLength) {
  const uint32_t flicker[] = {0xFF008000, 0xFF00FF00, 0xFFFFFFFF};
  for (int frame = 1; frame < kDrawingFrames; ++frame) {
    h_.Frame(*scene_);
    ASSERT_FALSE(scene_->Complete) << "frame " << frame;
    ASSERT_EQ(scene_->LogoColor, flicker[(frame - 1) % 3]) << "frame " << frame;
  }
  h_.Frame(*scene_);
  EXPECT_TRUE(scene_->Complete);  // the texts show in this frame, the logo still in its flicker colour
  EXPECT_EQ(scene_->LogoColor, flicker[(kDrawingFrames - 1) % 3]);
  EXPECT_EQ(scene_->IdleCount, 590);
  h_.Frame(*scene_);
  EXPECT_EQ(scene_->LogoColor, 0xFFFF0000u);
  // The first outline starts in the bitmap's corner; the inside of the M's left stem stays black.
  EXPECT_EQ(scene_->LogoBitmap->Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(scene_->LogoBitmap->Pixel(198, 29), 0xFFFFFFu);
  EXPECT_EQ(scene_->LogoBitmap->Pixel(3, 15), 0u);
  // On screen the logo is red and three times enlarged at (101, 127).
  EXPECT_EQ(h_.Screen(101, 127) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(h_.Screen(103, 129) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(h_.Screen(101 + 3 * 3, 127 + 3 * 15) & 0xFFFFFF, 0u);
  EXPECT_EQ(h_.Screen(100, 127) & 0xFFFFFF, 0u);
}

TEST_F(OpeningSceneTest, TheLogoIsDrawnInWholeThreeByThreeBlocks) {
  Frames(kDrawingFrames + 1);
  ASSERT_EQ(scene_->LogoColor, 0xFFFF0000u);
  for (int y = 0; y < 3 * 30; ++y)
    for (int x = 0; x < 3 * 199; ++x) {
      const uint32_t expected = scene_->LogoBitmap->Pixel(x / 3, y / 3) != 0 ? 0xFF0000u : 0u;
      ASSERT_EQ(h_.Screen(101 + x, 127 + y) & 0xFFFFFF, expected) << x << "," << y;
    }
}

TEST_F(OpeningSceneTest, EnterCompletesTheDrawingThenStartsTheGame) {
  Frames(10);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Complete);
  EXPECT_FALSE(scene_->Finished());
  EXPECT_EQ(scene_->StrokeIndex, static_cast<int32_t>(scene_->Vectors.size()));  // finished in that Render
  EXPECT_EQ(scene_->LogoBitmap->Pixel(198, 29), 0xFFFFFFu);
  EXPECT_EQ(scene_->LogoColor, 0xFFFF0000u);
  Frames(3);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Finished());
  EXPECT_EQ(scene_->NextScene(), 1);
}

TEST_F(OpeningSceneTest, EnterHeldFromTheDrawingDoesNotStartTheGame) {
  Frames(5);
  h_.KeySource().SetKey(VK_RETURN, true);
  Frames(300);
  EXPECT_TRUE(scene_->Complete);
  EXPECT_FALSE(scene_->Finished());
  h_.KeySource().SetKey(VK_RETURN, false);
  Frames(1);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Finished());
}

TEST_F(OpeningSceneTest, EscapeQuitsOnlyWhenPressedOnTheTitle) {
  // Held from the scene before (the ending, a game given up): seen down by the previous frame's sample.
  h_.KeySource().SetKey(VK_ESCAPE, true);
  h_.Keys()->Update();
  Frames(20);
  EXPECT_FALSE(scene_->Finished());
  h_.KeySource().SetKey(VK_ESCAPE, false);
  Frames(1);
  Press(VK_ESCAPE);  // still drawing the logo
  EXPECT_TRUE(scene_->Finished());
  EXPECT_TRUE(scene_->EndsProgram());
}

TEST_F(OpeningSceneTest, TheTitleStartsOverAfter590FramesWithoutAKey) {
  Frames(kDrawingFrames);
  ASSERT_TRUE(scene_->Complete);
  Frames(589);
  EXPECT_TRUE(scene_->Complete);
  EXPECT_EQ(scene_->IdleCount, 1);
  Frames(1);
  EXPECT_FALSE(scene_->Complete);
  EXPECT_EQ(scene_->FrameCounter, 0u);
  EXPECT_EQ(scene_->StrokeIndex, 0);
  EXPECT_EQ(scene_->LogoColor, 0xFF008000u);  // restarted in Update, first flicker step in Render
  // The logo is drawn anew from a black bitmap.
  EXPECT_EQ(scene_->LogoBitmap->Pixel(198, 29), 0u);
}

TEST_F(OpeningSceneTest, AnyKeyRestartsTheCountdown) {
  Frames(kDrawingFrames);
  Frames(500);
  Press(90);  // Z
  EXPECT_EQ(scene_->IdleCount, 589);
  Frames(588);
  EXPECT_TRUE(scene_->Complete);
  Frames(1);
  EXPECT_FALSE(scene_->Complete);
}

TEST_F(OpeningSceneTest, ArrowsDoNothingWhileDrawingOrWithOneSkin) {
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "morv");
  Press(VK_RETURN);
  Press(VK_LEFT);
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "morv");
}

TEST_F(OpeningSceneTest, SkinSelectionWrapsBothWays) {
  scene_.reset();
  TSceneHarness::SetSkins({"A", "B", "C"}, "a");  // the current name may differ in letter case
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_EQ(CurrentSkin, "A");
  Press(VK_LEFT);  // still drawing: ignored
  EXPECT_EQ(CurrentSkin, "A");
  Press(VK_RETURN);
  Press(VK_LEFT);
  EXPECT_EQ(CurrentSkin, "C");
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "A");
  Frames(1);  // released
  Press(VK_RIGHT);
  EXPECT_EQ(CurrentSkin, "B");
  // Both arrows in one frame: Left wins.
  Frames(1);
  h_.KeySource().SetKey(VK_LEFT, true);
  h_.KeySource().SetKey(VK_RIGHT, true);
  Frames(1);
  EXPECT_EQ(CurrentSkin, "A");
}

TEST_F(OpeningSceneTest, AnUnlistedSkinFallsBackToTheFirstAndAnEmptyListIsNotIndexed) {
  scene_.reset();
  TSceneHarness::SetSkins({"A", "B"}, "gone");
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_EQ(CurrentSkin, "A");
  scene_.reset();
  TSceneHarness::SetSkins({}, "morv");
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_EQ(CurrentSkin, "morv");
  ASSERT_NE(scene_->SkinTexture, nullptr);
}

TEST_F(OpeningSceneTest, TextsAreCentredEvenWhenWiderThanTheScreen) {
  scene_.reset();
  const std::string wide(120, 'W');
  TSceneHarness::SetSkins({wide}, wide);
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  ASSERT_GT(scene_->SkinTexture->Width(), 800u);
  Press(VK_RETURN);
  h_.Frame(*scene_);  // queue and draw; then look at what the last frame queued
  h_.Keys()->Update();
  scene_->Update();
  scene_->Render();
  TSXRenderingQueue& queue = h_.Sprites()->TranslucentQueue();
  bool found = false;
  for (int i = 0; i < queue.QuadCount(); ++i) {
    if (queue.Quad(i).Texture != scene_->SkinTexture.get()) continue;
    found = true;
    EXPECT_EQ(queue.Quad(i).X, static_cast<float>((800 - static_cast<int32_t>(scene_->SkinTexture->Width())) / 2));
    EXPECT_LT(queue.Quad(i).X, 0.0f);
    EXPECT_EQ(queue.Quad(i).Y, 375.0f);
  }
  EXPECT_TRUE(found);
  h_.Sprites()->Render(true);
}

}  // namespace

namespace {

// The help line names the pad's buttons from the frame a pad is connected, and only while one is.
TEST_F(OpeningSceneTest, TheHelpLineNamesThePadButtonsWhileAPadIsConnected) {
  EXPECT_FALSE(scene_->ControlsNamePad);
  const uint32_t keyboardWidth = scene_->ControlsTexture->Width();
  h_.KeySource().SetGamepadConnected(true);
  h_.Frame(*scene_);
  EXPECT_TRUE(scene_->ControlsNamePad);
  EXPECT_GT(scene_->ControlsTexture->Width(), keyboardWidth);
  EXPECT_FALSE(scene_->Complete);  // connecting is no key press

  // A title made while the pad is connected names it from the start.
  scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  EXPECT_TRUE(scene_->ControlsNamePad);
  h_.KeySource().SetGamepadConnected(false);
  h_.Frame(*scene_);
  EXPECT_FALSE(scene_->ControlsNamePad);
  EXPECT_EQ(scene_->ControlsTexture->Width(), keyboardWidth);
}

}  // namespace

namespace {

// The high scores on the title, and the name entry of a game that made the table.
class ScoreBoardTest : public OpeningSceneTest {
 protected:
  void SetUp() override {
    TSceneHarness::SetSkins({"morv", "Night"}, "morv");
    ScoreBook.Table("morv").Insert(900, "BOB");
    ScoreBook.Table("morv").Insert(100, "EVE");
    ScoreBook.Table("night").Insert(42, "NOX");
    ScoreBook.OnChanged = [this](const TScoreBook& Book) { saved_.push_back(*Book.Find("morv")); };
  }
  void NewTitle() {
    scene_.reset();
    scene_ = std::make_unique<TOpeningScene>(h_.Sprites(), h_.Keys());
  }
  // The quads the last Render queued (translucent: the title's texts), then the frame drawn.
  std::vector<TSXQuad> Queued() {
    h_.Keys()->Update();
    scene_->Update();
    scene_->Render();
    std::vector<TSXQuad> quads;
    TSXRenderingQueue& queue = h_.Sprites()->TranslucentQueue();
    for (int i = 0; i < queue.QuadCount(); ++i) quads.push_back(queue.Quad(i));
    h_.Sprites()->Render(true);
    return quads;
  }
  static const TSXQuad* At(const std::vector<TSXQuad>& Quads, const TDGTexture* Texture) {
    for (const TSXQuad& quad : Quads) {
      if (quad.Texture == Texture) return &quad;
    }
    return nullptr;
  }
  // Pixels of exactly Color in the rectangle of the screen.
  int Count(int X, int Y, int W, int H, uint32_t Color) {
    int count = 0;
    for (int j = Y; j < Y + H; ++j)
      for (int i = X; i < X + W; ++i) count += (h_.Screen(i, j) & 0xFFFFFF) == Color;
    return count;
  }
  void Tap(uint8_t Key) {
    Press(Key);
    Frames(1);  // released, so the next press of the same key counts
  }
  const std::string& RowName(int Row) { return ScoreBook.Find("morv")->Rows()[static_cast<size_t>(Row)].Name; }

  TScoreBookScope scope_;
  std::vector<THighScoreTable> saved_;
};

TEST_F(ScoreBoardTest, TheSkinsTableShowsUnderTheSelectorOnlyOffTheClassicScreen) {
  ScoreBook.Classic = true;
  NewTitle();
  EXPECT_EQ(scene_->Board, nullptr);
  Press(VK_RETURN);
  EXPECT_EQ(At(Queued(), scene_->ControlsTexture.get())->Y, 425.0f) << "the design's own screen";

  ScoreBook.Classic = false;
  NewTitle();
  ASSERT_NE(scene_->Board, nullptr);
  EXPECT_FALSE(scene_->Board->Entering());
  Press(VK_RETURN);
  const std::vector<TSXQuad> quads = Queued();
  // Ten rows in two columns of five, the first just under the selector, the help line below the last.
  std::vector<TSXQuad> rows;
  for (const TSXQuad& quad : quads) {
    if (quad.Y >= TScoreBoard::kTop && quad.Texture != scene_->ControlsTexture.get() &&
        quad.Texture != scene_->NoticeTexture.get()) {
      rows.push_back(quad);
    }
  }
  ASSERT_EQ(rows.size(), 10u);
  std::sort(rows.begin(), rows.end(),
            [](const TSXQuad& A, const TSXQuad& B) { return std::tie(A.X, A.Y) < std::tie(B.X, B.Y); });
  EXPECT_EQ(rows[0].Y, static_cast<float>(TScoreBoard::kTop));
  EXPECT_EQ(rows[5].Y, rows[0].Y) << "the second column beside the first";
  EXPECT_GT(rows[5].X, rows[4].X + rows[4].Vertices[3].X);
  EXPECT_NEAR(rows[0].X + rows[9].X + rows[9].Vertices[3].X, 800.0f, 1.0f) << "centred";
  EXPECT_LE(rows[4].Y + rows[4].Vertices[3].Y, static_cast<float>(scene_->Board->Bottom()));
  const TSXQuad* help = At(quads, scene_->ControlsTexture.get());
  EXPECT_EQ(help->Y, static_cast<float>(scene_->Board->Bottom() + 8));
  EXPECT_LT(help->Y + help->Vertices[3].Y, 560.0f) << "above the notice";
  // On screen: the filled rows in white, the empty ones in grey.
  const auto pixels = [this, &rows](size_t Row, uint32_t Color) {
    const TSXQuad& q = rows[Row];
    return Count(static_cast<int>(q.X), static_cast<int>(q.Y), static_cast<int>(q.Vertices[3].X),
                 static_cast<int>(q.Vertices[3].Y), Color);
  };
  h_.Frame(*scene_);
  EXPECT_GT(pixels(0, 0xFFFFFF), 20) << "BOB";
  EXPECT_GT(pixels(1, 0xFFFFFF), 20) << "EVE";
  EXPECT_EQ(pixels(2, 0xFFFFFF), 0) << "empty";
  EXPECT_GT(pixels(2, TScoreBoard::kEmptyColor), 20);
  EXPECT_EQ(pixels(9, 0xFFFFFF), 0);

  // The selector's skin brings its own table (letter case aside).
  Press(VK_RIGHT);
  EXPECT_EQ(scene_->Board->Skin(), "Night");
  h_.Frame(*scene_);
  EXPECT_GT(pixels(0, 0xFFFFFF), 20) << "NOX";
  EXPECT_EQ(pixels(1, 0xFFFFFF), 0) << "Night has one row";
  EXPECT_TRUE(saved_.empty()) << "looking changes nothing";
}

TEST_F(ScoreBoardTest, AGameThatMakesTheTableWritesItsNameThereWithTheArrows) {
  ScoreBook.GameEnded("morv", 500);
  NewTitle();
  ASSERT_TRUE(scene_->Board->Entering());
  EXPECT_TRUE(scene_->Complete) << "the name is asked at once, over a finished logo";
  EXPECT_FALSE(ScoreBook.Pending().has_value());
  EXPECT_EQ(scene_->Board->EntryRow(), 1);
  EXPECT_EQ(ScoreBook.Find("morv")->Rows()[1], (THighScore{500, "ALICE"})) << "under the default name";
  EXPECT_NE(DescribeSceneState(0, scene_.get()).find("\"nameEntry\":true"), std::string::npos);

  // The prompt stands in for "PRESS ENTER", the cursor's bar under the cell after the name.
  std::vector<TSXQuad> quads = Queued();
  EXPECT_EQ(At(quads, scene_->PressEnterTexture.get()), nullptr);
  const TSXQuad* bar = At(quads, nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Vertices[0].Diffuse, 0xFFFFFF00u);
  h_.Frame(*scene_);
  EXPECT_GT(Count(0, TScoreBoard::kPromptY, 800, 30, 0xFFFF00), 50) << "the prompt in yellow";

  Tap(VK_UP);  // A after the name
  Tap(VK_LEFT);
  Tap(VK_DOWN);  // E back to D
  EXPECT_EQ(RowName(1), "ALICDA");
  Tap(VK_RIGHT);
  Tap(VK_RIGHT);
  Tap(VK_UP);
  EXPECT_EQ(RowName(1), "ALICDAA");
  EXPECT_EQ(CurrentSkin, "morv") << "the arrows are the entry's";
  EXPECT_TRUE(saved_.empty()) << "nothing is kept before the name is done";
  Frames(TOpeningScene::kIdleFrames + 10);
  EXPECT_TRUE(scene_->Board->Entering()) << "the title waits for the name";
  EXPECT_TRUE(scene_->Complete);

  Press(VK_ESCAPE);  // keeps the name; does not quit
  EXPECT_FALSE(scene_->Finished());
  EXPECT_FALSE(scene_->Board->Entering());
  ASSERT_EQ(saved_.size(), 1u);
  EXPECT_EQ(saved_[0].Rows()[1], (THighScore{500, "ALICDAA"}));
  EXPECT_EQ(saved_[0].Rows()[2], (THighScore{100, "EVE"}));
  Frames(1);
  Press(VK_RETURN);
  EXPECT_TRUE(scene_->Finished()) << "the title is itself again";
  EXPECT_EQ(scene_->NextScene(), 1);

  // Every cell blanked: the default name. A title that goes mid-entry (the program ends) keeps it as it stands.
  ScoreBook.GameEnded("morv", 950);
  NewTitle();
  EXPECT_EQ(scene_->Board->EntryRow(), 0);
  for (int cell = 0; cell < 5; ++cell) {
    Tap(VK_LEFT);
    const TNameEntry& entry = scene_->Board->Entry();
    for (int step = 0; step < 40 && entry.Cells()[static_cast<size_t>(entry.Cursor())] != TNameEntry::kBlank; ++step) {
      Tap(VK_DOWN);
    }
  }
  EXPECT_EQ(scene_->Board->Entry().Name(), "");
  Tap(VK_RETURN);
  EXPECT_EQ(saved_.back().Rows()[0], (THighScore{950, "ALICE"}));
  ScoreBook.GameEnded("morv", 960);
  NewTitle();
  Press(VK_UP);
  scene_.reset();
  ASSERT_EQ(saved_.size(), 3u);
  EXPECT_EQ(saved_.back().Rows()[0], (THighScore{960, "ALICEA"}));

  // On the classic screen no name is asked; the game waits for the program's end.
  ScoreBook.GameEnded("morv", 970);
  ScoreBook.Classic = true;
  NewTitle();
  EXPECT_EQ(scene_->Board, nullptr);
  EXPECT_TRUE(ScoreBook.Pending().has_value());
}

}  // namespace

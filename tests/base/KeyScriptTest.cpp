#include "KeyScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<TKeyScriptLine> Parse(const std::string& Text) {
  std::istringstream in(Text);
  return ParseKeyScript(in);
}

TEST(KeyScript, NamesAndNumbersMapToVirtualKeys) {
  EXPECT_EQ(VirtualKeyFromName("LEFT"), 37);
  EXPECT_EQ(VirtualKeyFromName("up"), 38);
  EXPECT_EQ(VirtualKeyFromName("Right"), 39);
  EXPECT_EQ(VirtualKeyFromName("DOWN"), 40);
  EXPECT_EQ(VirtualKeyFromName("Z"), 90);
  EXPECT_EQ(VirtualKeyFromName("C"), 67);
  EXPECT_EQ(VirtualKeyFromName("ENTER"), 13);
  EXPECT_EQ(VirtualKeyFromName("ESC"), 27);
  EXPECT_EQ(VirtualKeyFromName("LCTRL"), 162);
  EXPECT_EQ(VirtualKeyFromName("65"), 65);
  EXPECT_EQ(VirtualKeyFromName("256"), -1);
  EXPECT_EQ(VirtualKeyFromName("SPACEBAR"), -1);
}

TEST(KeyScript, KeysAreHeldFromTheirFrameUntilTheNextLine) {
  TScriptedKeySource keys(Parse("# title, then start\n10 ENTER\n12\n\n20 Z LEFT\r\n30 away Z\n"));
  keys.SetFrame(9);
  EXPECT_FALSE(keys.IsKeyDown(13));
  keys.SetFrame(10);
  EXPECT_TRUE(keys.IsKeyDown(13));
  keys.SetFrame(11);
  EXPECT_TRUE(keys.IsKeyDown(13));
  keys.SetFrame(12);
  EXPECT_FALSE(keys.IsKeyDown(13));
  keys.SetFrame(29);
  EXPECT_TRUE(keys.IsKeyDown(90));
  EXPECT_TRUE(keys.IsKeyDown(37));
  EXPECT_FALSE(keys.IsKeyDown(13));
  // A new run starts again from an earlier frame.
  keys.SetFrame(10);
  EXPECT_TRUE(keys.IsKeyDown(13));
  EXPECT_FALSE(keys.IsKeyDown(90));
  keys.SetFrame(0);
  EXPECT_FALSE(keys.IsKeyDown(13));
  keys.SetFrame(20);
  EXPECT_TRUE(keys.IsKeyDown(90));
  EXPECT_TRUE(keys.IsApplicationActive());
  keys.SetFrame(500);
  EXPECT_FALSE(keys.IsKeyDown(90));
  EXPECT_FALSE(keys.IsApplicationActive()) << "AWAY: the window has lost the focus";
  EXPECT_FALSE(keys.IsKeyDown(90)) << "away, a key written on the line still reads as up";
}

TEST(KeyScript, HeaderLinesGiveTheSeedTheSkinAndTheScores) {
  std::istringstream in(
      "# recorded\nseed 4294967295\nskin my skin \nclassic 0\nplayer ALICE\nscore 4294967295 BOB my skin\n"
      "score 0 X \"q\\\"\"\n0 Z\n");
  const TKeyScript script = ReadKeyScript(in);
  EXPECT_EQ(script.Seed, 4294967295u);
  EXPECT_EQ(script.Skin, "my skin");
  EXPECT_EQ(script.Classic, false);
  EXPECT_EQ(script.Player, "ALICE");
  const std::vector<TScriptScore> scores = {{4294967295u, "BOB", "my skin"}, {0, "X", "q\""}};
  EXPECT_EQ(script.Scores, scores);
  ASSERT_EQ(script.Lines.size(), 1u);
  std::istringstream plain("0 Z\n");
  const TKeyScript bare = ReadKeyScript(plain);
  EXPECT_FALSE(bare.Seed.has_value());
  EXPECT_FALSE(bare.Classic.has_value()) << "a script without the line leaves the screen to the program";
  EXPECT_TRUE(bare.Player.empty() && bare.Scores.empty());
}

TEST(KeyScript, BadLinesAreRejectedWithTheirLineNumber) {
  const char* bad[] = {"x ENTER\n",
                       "5 ENTER\n3 Z\n",
                       "1 HYPER\n",
                       "-1 Z\n",
                       "99999999999 Z\n",
                       "0 Z\nseed 1\n",
                       "seed x\n",
                       "seed 1\nseed 2\n",
                       "skin\n",
                       "seed 4294967296\n",
                       "skin \"open\n",
                       "skin \"a\"b\"\n",
                       "skin \"bad\\q\"\n",
                       "skin \"\\x4\"\n",
                       "skin \"\n",
                       "1 \x1b]0;title\x07\n",
                       "\x1b[2J Z\n",
                       "seed \x1b[31m\n",
                       "classic 2\n",
                       "classic\n",
                       "classic 0\nclassic 1\n",
                       "player two words\n",
                       "player\n",
                       "player A\nplayer B\n",
                       "score 1 ALICE\n",
                       "score 1\n",
                       "score x ALICE morv\n",
                       "score 4294967296 ALICE morv\n",
                       "score 1 ALICE \"open\n",
                       "0 Z\nscore 1 ALICE morv\n"};
  for (const char* text : bad) {
    try {
      Parse(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("input line"), std::string::npos) << message;
      // What the file held is echoed with its control bytes escaped.
      EXPECT_TRUE(std::none_of(message.begin(), message.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }))
          << ShowableText(message);
    }
  }
  EXPECT_EQ(ShowableText("\x1b[2J\x7f ok"), "\\x1B[2J\\x7F ok");
}

}  // namespace

#include "ReplayOptions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TArgs {
  std::vector<std::string> Text;
  std::vector<char*> Argv;
  int Argc;
  explicit TArgs(std::vector<std::string> text) : Text(std::move(text)) {
    for (std::string& word : Text) Argv.push_back(word.data());
    Argv.push_back(nullptr);
    Argc = static_cast<int>(Text.size());
  }
  std::vector<std::string> Left() const { return {Argv.begin(), Argv.begin() + Argc}; }
};

TEST(ReplayOptions, TakesItsOptionsAndLeavesTheOthersInOrder) {
  TArgs args({"morvanth", "--scale", "2", "--replay", "in.txt", "--record", "out.txt", "-x"});
  const TReplayOptions options = TakeReplayOptions(args.Argc, args.Argv.data());
  EXPECT_EQ(options.Replay, "in.txt");
  EXPECT_EQ(options.Record, "out.txt");
  EXPECT_EQ(args.Left(), (std::vector<std::string>{"morvanth", "--scale", "2", "-x"}));
  EXPECT_EQ(args.Argv[args.Argc], nullptr);
}

TEST(ReplayOptions, MissingOrRepeatedFileNamesAreRefused) {
  const std::vector<std::vector<std::string>> bad = {
      {"morvanth", "--record"}, {"morvanth", "--replay", ""}, {"morvanth", "--record", "a", "--record", "b"}};
  for (const auto& words : bad) {
    TArgs args(words);
    EXPECT_THROW(TakeReplayOptions(args.Argc, args.Argv.data()), std::runtime_error) << words.back();
  }
}

}  // namespace

// Error messages in the player's language: the design's Japanese unchanged where no catalog applies, English
// from the build's catalog with the parts put in (themselves translated), and a catalog that knows every pattern.
#include "MessageText.h"

#include <gtest/gtest.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "TextEncoding.h"

// glibc's count of catalog changes; raising it makes gettext look the language up again.
extern "C" int _nl_msg_cat_cntr;

namespace {

class MessageTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* language = std::getenv("LANGUAGE");
    savedLanguage_ = language ? language : "";
    hadLanguage_ = language != nullptr;
    InitMessageLanguage(MORVANTH_BINARY_DIR);
  }
  void TearDown() override {
    if (hadLanguage_) {
      setenv("LANGUAGE", savedLanguage_.c_str(), 1);
    } else {
      unsetenv("LANGUAGE");
    }
    std::setlocale(LC_MESSAGES, "C");
  }
  // The messages' locale: "C" (no catalog), or C.UTF-8 with LANGUAGE naming a catalog.
  static void Speak(const char* Language) {
    if (Language == nullptr) {
      std::setlocale(LC_MESSAGES, "C");
      unsetenv("LANGUAGE");
    } else {
      ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
      setenv("LANGUAGE", Language, 1);
    }
    ++_nl_msg_cat_cntr;  // gettext's own signal that the language changed
  }

  std::string savedLanguage_;
  bool hadLanguage_ = false;
};

TEST_F(MessageTextTest, TheDesignsJapaneseStaysWhereNoCatalogApplies) {
  const std::string parse = Jp("XMLの解析エラーです (") + "skin/a.xml 4" + Jp("行目): ") + "Comment not terminated";
  for (const char* language : {static_cast<const char*>(nullptr), "ja", "de"}) {
    Speak(language);
    EXPECT_EQ(LocalizeMessage(parse), "XMLの解析エラーです (skin/a.xml 4行目): Comment not terminated");
    EXPECT_EQ(LocalizeMessage(Jp("エラー")), "エラー");
  }
}

TEST_F(MessageTextTest, EnglishPutsTheTranslatedPartsInPlace) {
  Speak("en");
  EXPECT_EQ(LocalizeMessage(Jp("XMLの解析エラーです (") + "skin/a b.xml 4" + Jp("行目): ") + "Comment not terminated"),
            "XML parse error (skin/a b.xml line 4): Comment not terminated");
  // A message about a node, holding a message of its own.
  EXPECT_EQ(LocalizeMessage(Jp("\"") + "x1" + Jp("\" は整数に変換できません") + " (stage.xml 12" + Jp("行目)")),
            "\"x1\" is not an integer (stage.xml line 12)");
  EXPECT_EQ(LocalizeMessage(Jp("使用できるスキンが存在しません (") + Jp("/home/宇宙/skin/") + ")"),
            "There is no usable skin (/home/宇宙/skin/)");
  EXPECT_EQ(LocalizeMessage("no pattern of ours"), "no pattern of ours");
}

TEST_F(MessageTextTest, TheEnglishCatalogTranslatesEveryPatternWithItsParts) {
  Speak("en");
  for (const std::string& pattern : MessagePatterns()) {
    const std::string translated = dgettext(kMessageDomain, pattern.c_str());
    EXPECT_NE(translated, pattern) << "not in po/en.po: " << pattern;
    size_t holes = 0, translatedHoles = 0;
    for (size_t at = pattern.find("%s"); at != std::string::npos; at = pattern.find("%s", at + 2)) ++holes;
    for (size_t at = translated.find("%s"); at != std::string::npos; at = translated.find("%s", at + 2))
      ++translatedHoles;
    EXPECT_EQ(holes, translatedHoles) << pattern;
  }
}

}  // namespace

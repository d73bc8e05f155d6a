#include "XmlDocument.h"

#include <gtest/gtest.h>

#include "Exception.h"
#include "TextEncoding.h"
#include "data/DataTestSupport.h"

namespace {

class XmlDocumentTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& Name, const std::string& Bytes) {
    datatest::WriteFile(dir_.Path() / Name, Bytes);
    return dir_.Dir() + Name;
  }
  std::string LoadError(const std::string& Path) {
    try {
      TXmlDocument doc(Path);
    } catch (const Exception& e) {
      return e.Message();
    }
    return "no exception";
  }
  datatest::TTempDir dir_;
};

// "ステージ～１" in UTF-8; "～" is where CP932 and JIS-based Shift_JIS part ways (0x8160).
const char kTitleUtf8[] = "\xE3\x82\xB9\xE3\x83\x86\xE3\x83\xBC\xE3\x82\xB8\xEF\xBD\x9E\xEF\xBC\x91";

std::string Utf16Le(const std::string& Utf8Ascii) {
  std::string out = "\xFF\xFE";
  for (char c : Utf8Ascii) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}

}  // namespace

TEST_F(XmlDocumentTest, NavigatesElementsAttributesAndText) {
  std::string path = Write("a.xml",
                           "<?xml version=\"1.0\"?>\n<root>\n  <!-- note -->\n  <sprite id=\"ship\" empty=\"\">\n"
                           "    <width>\n 32 \n</width><empty/>\n  </sprite>\n  text\n</root>\n");
  TXmlDocument doc(path);
  TXmlNode root = doc.DocumentElement();
  EXPECT_EQ(root.NodeName(), "root");
  TXmlNode comment = root.FirstChild();
  EXPECT_EQ(comment.NodeName(), "#comment");  // white space between elements is no node
  TXmlNode sprite = comment.NextSibling();
  ASSERT_TRUE(sprite.IsNamed("sprite"));
  EXPECT_FALSE(sprite.IsNamed("Sprite"));
  EXPECT_TRUE(sprite.HasAttribute("id"));
  EXPECT_FALSE(sprite.HasAttribute("ID"));
  EXPECT_EQ(sprite.Attribute("id"), "ship");
  EXPECT_TRUE(sprite.HasAttribute("empty"));
  EXPECT_EQ(sprite.Attribute("empty"), "");
  EXPECT_EQ(sprite.FirstChildElement("width").Text(), "32");
  EXPECT_FALSE(sprite.FirstChildElement("empty").HasChildNodes());
  EXPECT_FALSE(sprite.FirstChildElement("height"));
  TXmlNode text = sprite.NextSibling();
  EXPECT_EQ(text.NodeName(), "#text");
  EXPECT_EQ(text.Text(), "text");
  EXPECT_FALSE(text.NextSibling());
}

TEST_F(XmlDocumentTest, EncodingsLoadAlikeAndReachTheGameAsCP932) {
  std::string body = std::string("<stage title=\"") + kTitleUtf8 + "\"><t>" + kTitleUtf8 + "</t></stage>";
  std::string sjis = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" + ToCP932(body);
  std::string utf8 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body;
  std::string utf8Bom = "\xEF\xBB\xBF" + body;
  // UTF-16 little-endian with a byte order mark, Japanese included.
  std::string utf16 = "\xFF\xFE";
  {
    std::u16string wide =
        u"<stage title=\"\u30B9\u30C6\u30FC\u30B8\uFF5E\uFF11\"><t>\u30B9\u30C6\u30FC\u30B8\uFF5E\uFF11</t></stage>";
    for (char16_t c : wide) {
      utf16.push_back(static_cast<char>(c & 0xFF));
      utf16.push_back(static_cast<char>(c >> 8));
    }
  }
  std::string expected = ToCP932(kTitleUtf8);
  ASSERT_EQ(expected.substr(8, 2), "\x81\x60");
  int n = 0;
  for (const std::string& bytes : {sjis, utf8, utf8Bom, utf16}) {
    TXmlDocument doc(Write("e" + std::to_string(n++) + ".xml", bytes));
    EXPECT_EQ(doc.DocumentElement().Attribute("title"), expected) << n;
    EXPECT_EQ(doc.DocumentElement().FirstChildElement("t").Text(), expected) << n;
  }
  // CP932's own extensions (NEC row 13: circled one) decode under a Shift_JIS declaration.
  TXmlDocument nec(Write("nec.xml", "<?xml version=\"1.0\" encoding=\"shift_jis\"?><a>\x87\x40</a>"));
  EXPECT_EQ(nec.DocumentElement().Text(), "\x87\x40");
  (void)Utf16Le;
}

TEST_F(XmlDocumentTest, MalformedDocumentsNameFileLineAndComplaint) {
  std::string path = Write("broken.xml", "<root>\n<sprite id=\"a\">\n</root>\n");
  std::string message = LoadError(path);
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_NE(message.find(Jp("3行目")), std::string::npos) << message;
  EXPECT_NE(message.find("mismatch"), std::string::npos) << message;

  std::string truncated = Write("cut.xml", "<?xml version=\"1.0\"?>\n<root><sprite id=\"a");
  EXPECT_NE(LoadError(truncated).find(truncated), std::string::npos);
  EXPECT_NE(LoadError(Write("empty.xml", "")).find("empty.xml"), std::string::npos);
  EXPECT_NE(LoadError(dir_.Dir() + "missing.xml").find("missing.xml"), std::string::npos);
}

TEST_F(XmlDocumentTest, BytesThatAreNoCharacterAreRefusedInShiftJisAsInUtf8) {
  const struct {
    const char* Encoding;
    std::string Bad;
    const char* Line;
  } cases[] = {
      {"Shift_JIS", "\x82\x20", "3行目"},  // a lead byte without its trail byte
      {"Shift_JIS", "\xFD", "3行目"},      // no character at all
      {"UTF-8", "\xFF", "3行目"},
  };
  int n = 0;
  for (const auto& c : cases) {
    std::string path =
        Write("bad" + std::to_string(n++) + ".xml", std::string("<?xml version=\"1.0\" encoding=\"") + c.Encoding +
                                                        "\"?>\n<r>\r\n<s id=\"" + c.Bad + "\"/>\n</r>\n");
    std::string message = LoadError(path);
    EXPECT_EQ(message.find(Jp("XMLの解析エラーです (") + path + " " + Jp(c.Line)), 0u) << ToUTF8(message);
  }
  // A character cut off by the end of the file.
  std::string cut = Write("cut.xml", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<r/>\n\x82");
  EXPECT_NE(LoadError(cut).find(cut + " " + Jp("3行目")), std::string::npos) << ToUTF8(LoadError(cut));
}

TEST_F(XmlDocumentTest, EntitiesThatCannotBeExpandedAreRefusedNamingFileAndLine) {
  std::string secret = Write("part.txt", "alpha");
  std::string external = Write("ext2.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY xx SYSTEM \"" + secret +
                                               "\">]>\n<r>\n<blendmode>&xx;add</blendmode></r>\n");
  std::string undeclared = Write("undecl.xml",
                                 "<?xml version=\"1.0\"?>\n<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>\n"
                                 "<blendmode>&xx;add</blendmode></r>\n");
  for (const std::string& path : {external, undeclared}) {
    try {
      TXmlDocument doc(path);
      std::string text = doc.DocumentElement().FirstChildElement("blendmode").Text();
      ADD_FAILURE() << path << " gave " << text;
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find(path + " " + Jp("4行目")), std::string::npos) << ToUTF8(e.Message());
      EXPECT_NE(e.Message().find("xx"), std::string::npos) << ToUTF8(e.Message());
    }
  }
}

TEST_F(XmlDocumentTest, NeverLoadsExternalEntitiesAndBoundsExpansion) {
  std::string secret = Write("secret.txt", "TOPSECRET");
  std::string path = Write("ext.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY x SYSTEM \"" + secret +
                                          "\">]>\n<r a=\"1\"><v>&x;</v></r>\n");
  try {
    TXmlDocument doc(path);
    EXPECT_EQ(doc.DocumentElement().FirstChildElement("v").Text().find("TOPSECRET"), std::string::npos);
  } catch (const Exception&) {
    // Refusing the document is fine too.
  }

  std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";
  char prev = 'a';
  for (char e = 'b'; e <= 'k'; ++e) {
    laughs += std::string("<!ENTITY ") + e + " \"";
    for (int i = 0; i < 10; ++i) laughs += std::string("&") + prev + ";";
    laughs += "\">";
    prev = e;
  }
  laughs += "]>\n<r><v>&k;</v></r>\n";
  std::string bomb = Write("bomb.xml", laughs);
  try {
    TXmlDocument doc(bomb);
    std::string text = doc.DocumentElement().FirstChildElement("v").Text();
    ADD_FAILURE() << "expanded " << text.size() << " bytes";
  } catch (const Exception&) {
  }
}

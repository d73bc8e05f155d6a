#include <gtest/gtest.h>

#include <cstring>

#include "../device/BMPTestImages.h"
#include "DGTexture.h"
#include "DataTestSupport.h"
#include "Exception.h"
#include "GraphicDefLoader.h"
#include "GraphicDefs.h"
#include "HeadlessWindow.h"
#include "SXScene.h"
#include "SkinPlace.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"
#include "Visible.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

// A skin folder and the system skin beside it, with a device to make textures on.
class GraphicDefLoaderTest : public ::testing::Test {
 protected:
  GraphicDefLoaderTest() : window_(800, 600), device_(&window_) {
    device_.SetDebugOption({});
    device_.Loaded();
    list_ = std::make_unique<TGraphicDefList>(&device_);
    place_.SkinDir = dir_.Dir() + "skin/morv/";
    place_.SystemSkinDir = dir_.Dir() + "skin/system/";
    // 64 x 32: left half red, right half magenta.
    std::vector<uint32_t> pixels(64 * 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) pixels[y * 64 + x] = x < 32 ? 0xFF0000 : kMagenta;
    Picture("sheet.bmp", datatest::MakeBmp(64, 32, 24, pixels));
  }
  ~GraphicDefLoaderTest() override { list_.reset(); }

  void Picture(const std::string& Name, const std::string& Bytes) {
    datatest::WriteFile(dir_.Path() / "skin/morv/graphic" / Name, Bytes);
  }
  bool Load(const std::string& Body) {
    datatest::WriteFile(dir_.Path() / "skin/morv/xml/graphicdef.xml", "<graphics>" + Body + "</graphics>");
    return list_->Load(place_);
  }
  std::string LoadError(const std::string& Body) {
    try {
      Load(Body);
    } catch (const Exception& e) {
      return e.Message();
    }
    return "no exception";
  }
  TSpriteDef* Sprite(const std::string& Id) {
    auto* sprite = dynamic_cast<TSpriteDef*>(list_->Find(Id));
    EXPECT_NE(sprite, nullptr) << Id;
    return sprite;
  }
  TAnimationDef* Animation(const std::string& Id) {
    auto* animation = dynamic_cast<TAnimationDef*>(list_->Find(Id));
    EXPECT_NE(animation, nullptr) << Id;
    return animation;
  }
  // ARGB of a texture pixel.
  static uint32_t Texel(TDGTexture* Texture, int32_t X, int32_t Y) {
    D3DLOCKED_RECT lock = Texture->LockRect(0, MakeRect(X, Y, X + 1, Y + 1), D3DLOCK_READONLY);
    uint32_t value = 0;
    if (lock.pBits != nullptr) std::memcpy(&value, lock.pBits, 4);
    Texture->UnlockRect();
    return value;
  }

  static constexpr const char* kShip =
      "<sprite id='ship' filename='sheet.bmp'><imagerect left='0' top='0' right='32' bottom='16'/>";

  datatest::TTempDir dir_;
  THeadlessWindow window_;
  TVUDader device_;
  std::unique_ptr<TGraphicDefList> list_;
  TSkinPlace place_;
};

}  // namespace

TEST_F(GraphicDefLoaderTest, MinimalSpriteTakesItsGeometryFromTheImageRectangle) {
  ASSERT_TRUE(Load(std::string(kShip) + "</sprite>"));
  ASSERT_EQ(list_->Count(), 1);
  TSpriteDef* ship = Sprite("ship");
  EXPECT_EQ(ship->Width, 32);
  EXPECT_EQ(ship->Height, 16);
  EXPECT_EQ(ship->OriginX, 0);
  EXPECT_EQ(ship->OriginY, 0);
  EXPECT_EQ(ship->HitArea, (TRect{0, 0, 32, 16}));
  for (uint32_t c : ship->VertexColors) EXPECT_EQ(c, 0xFFFFFFFFu);
  EXPECT_EQ(ship->BlendMode, 0);
  ASSERT_NE(ship->Texture, nullptr);
  EXPECT_EQ(ship->Texture->Width(), 32u);
  EXPECT_EQ(ship->Texture->Height(), 16u);
  EXPECT_EQ(Texel(ship->Texture.get(), 0, 0), 0xFFFF0000u);
}

TEST_F(GraphicDefLoaderTest, CutOutIsColourKeyedMagenta) {
  ASSERT_TRUE(
      Load("<sprite id='edge' filename='sheet.bmp'><imagerect left='30' top='4' right='34' bottom='6'/>"
           "<width>8</width><height>2</height></sprite>"));
  TSpriteDef* edge = Sprite("edge");
  EXPECT_EQ(edge->Width, 8);                      // the drawing size may differ from the picture's
  EXPECT_EQ(edge->HitArea, (TRect{0, 0, 4, 2}));  // the hit area follows the picture
  EXPECT_EQ(Texel(edge->Texture.get(), 1, 1), 0xFFFF0000u);
  EXPECT_EQ(Texel(edge->Texture.get(), 2, 0) >> 24, 0u);  // magenta: transparent
}

TEST_F(GraphicDefLoaderTest, OriginHitAreaColoursAndBlendModes) {
  ASSERT_TRUE(
      Load(std::string(kShip) + "<origin x='16' y='8'/></sprite>" +
           "<sprite id='left' filename='sheet.bmp'><imagerect right='32' bottom='16'/>"
           "<origin><x>16</x><y>8</y></origin><hitarea left='-4'/></sprite>"
           "<sprite id='tinted' filename='sheet.bmp' blendmode='add'><imagerect right='2' bottom='2'/>"
           "<vertexcolor color='$80FFFFFF'><rb>$FFFF0000</rb></vertexcolor></sprite>"
           "<sprite id='Add' filename='sheet.bmp' blendmode='Add'><imagerect right='2' bottom='2'/></sprite>"
           "<sprite id='alpha' filename='sheet.bmp'><blendmode>alpha</blendmode><imagerect right='2' bottom='2'/>"
           "<vertexcolor color='-1' lt='16711680'/></sprite>"));
  EXPECT_EQ(Sprite("ship")->HitArea, (TRect{-16, -8, 16, 8}));
  EXPECT_EQ(Sprite("left")->HitArea, (TRect{-4, -8, 16, 8}));
  TSpriteDef* tinted = Sprite("tinted");
  EXPECT_EQ(tinted->VertexColors[0], 0x80FFFFFFu);
  EXPECT_EQ(tinted->VertexColors[1], 0x80FFFFFFu);
  EXPECT_EQ(tinted->VertexColors[2], 0x80FFFFFFu);
  EXPECT_EQ(tinted->VertexColors[3], 0xFFFF0000u);
  EXPECT_EQ(tinted->BlendMode, 1);
  EXPECT_EQ(Sprite("Add")->BlendMode, 0);
  TSpriteDef* alpha = Sprite("alpha");
  EXPECT_EQ(alpha->BlendMode, 2);
  EXPECT_EQ(alpha->VertexColors[0], 0x00FF0000u);
  EXPECT_EQ(alpha->VertexColors[3], 0xFFFFFFFFu);
}

TEST_F(GraphicDefLoaderTest, DefaultIdsCountEveryDefinitionAndEmptyIdsOrRectanglesAreSkipped) {
  const char* rect = "<imagerect right='2' bottom='2'/>";
  ASSERT_TRUE(Load(std::string("<animation maxframe='4'><sprite ref='a'/></animation>") +  // read after all sprites
                   "<sprite id='a' filename='sheet.bmp'>" + rect + "</sprite>" + "<sprite id='' filename='sheet.bmp'>" +
                   rect + "</sprite>" +                         // skipped
                   "<sprite id='b' filename='missing.bmp'/>" +  // empty rectangle
                   "<sprite filename='sheet.bmp'><imagerect left='5' right='5' bottom='2'/></sprite>" +
                   "<sprite><id>c</id><filename>sheet.bmp</filename>" + rect + "</sprite>" +
                   "<sprite filename='sheet.bmp'>" + rect + "</sprite>" + "<other id='x'/>"));
  ASSERT_EQ(list_->Count(), 4);
  EXPECT_EQ(list_->IdAt(0), "a");
  EXPECT_EQ(list_->IdAt(1), "c");
  EXPECT_EQ(list_->IdAt(2), "id2");  // two definitions before it
  EXPECT_EQ(list_->IdAt(3), "id3");  // the animation, counted after every sprite
  EXPECT_EQ(Animation("id3")->FrameAt(0)->Sprite, Sprite("a"));
}

TEST_F(GraphicDefLoaderTest, AnimationsResolveSpritesDefinedAnywhere) {
  ASSERT_TRUE(
      Load("<animation id='boom' maxframe='30' repeat='TRUE' width='40' height='20'>"
           "<origin x='20' y='10'/>"
           "<sprite ref='late' frame='20' alpha='128'/><sprite ref='EARLY'/><sprite><ref>late</ref>"
           "<frame>10</frame><alpha>511</alpha></sprite></animation>"
           "<sprite id='early' filename='sheet.bmp'><imagerect right='2' bottom='2'/></sprite>"
           "<sprite id='late' filename='sheet.bmp'><imagerect right='4' bottom='4'/></sprite>"
           "<animation id='once' maxframe='-1'><hitarea right='3'/></animation>"));
  TAnimationDef* boom = Animation("boom");
  EXPECT_EQ(boom->MaxFrame, 30u);
  EXPECT_TRUE(boom->Repeat);
  EXPECT_EQ(boom->Width, 40);
  EXPECT_EQ(boom->HitArea, (TRect{-20, -10, 20, 10}));
  ASSERT_EQ(boom->FrameCount(), 3);
  EXPECT_EQ(boom->FrameAt(0)->Sprite, Sprite("early"));
  EXPECT_EQ(boom->FrameAt(0)->Alpha, 255);
  EXPECT_EQ(boom->FrameAt(1)->Frame, 10u);
  EXPECT_EQ(boom->FrameAt(1)->Alpha, 255);  // low 8 bits of 511
  EXPECT_EQ(boom->FrameAt(2)->Alpha, 128);
  TAnimationDef* once = Animation("once");
  EXPECT_EQ(once->MaxFrame, 0xFFFFFFFFu);
  EXPECT_FALSE(once->Repeat);
  EXPECT_EQ(once->HitArea, (TRect{0, 0, 3, 0}));
  EXPECT_EQ(once->FrameIndexAt(0), -1);
}

TEST_F(GraphicDefLoaderTest, AnimationErrorsNameTheAnimation) {
  std::string sprite = "<sprite id='s' filename='sheet.bmp'><imagerect right='2' bottom='2'/></sprite>";
  EXPECT_EQ(LoadError(sprite + "<animation id='boom'><sprite ref='s'/></animation>"),
            Jp("最大フレーム数は0より大きい数字を指定して下さい(ID:boom)"));
  EXPECT_EQ(LoadError(sprite + "<animation id='boom' maxframe='5'><sprite frame='1'/></animation>"),
            Jp("空のグラフィックIDは指定できません"));
  EXPECT_EQ(LoadError(sprite + "<animation id='boom' maxframe='5'><sprite ref='nope'/></animation>"),
            Jp("\"nope\"は定義されていないグラフィックIDです"));
  EXPECT_EQ(LoadError(sprite + "<animation id='a1' maxframe='5'><sprite ref='s'/></animation>" +
                      "<animation id='a2' maxframe='5'><sprite ref='a1'/></animation>"),
            Jp("アニメーション定義からスプライト以外を参照しています(ID:a2)"));
  // Definitions added before the failure stay.
  EXPECT_EQ(list_->Count(), 1 + 1 + 1 + 2);
}

TEST_F(GraphicDefLoaderTest, PicturesFallBackToTheSystemSkin) {
  datatest::WriteFile(dir_.Path() / "skin/system/graphic/shared.bmp", datatest::MakeSolidBmp(4, 4, 0x00FF00));
  ASSERT_TRUE(Load("<sprite id='s' filename='shared.bmp'><imagerect right='4' bottom='4'/></sprite>"));
  EXPECT_EQ(Texel(Sprite("s")->Texture.get(), 3, 3), 0xFF00FF00u);
  EXPECT_EQ(LoadError("<sprite id='t' filename='nope.bmp'><imagerect right='4' bottom='4'/></sprite>"),
            Jp("存在しないファイル名です (nope.bmp)"));
  EXPECT_EQ(LoadError("<sprite id='t'><imagerect right='4' bottom='4'/></sprite>"), Jp("存在しないファイル名です ()"));
}

TEST_F(GraphicDefLoaderTest, PictureNamesAreFoundAsWindowsFindsThem) {
  Picture("sub/p.bmp", datatest::MakeSolidBmp(2, 2, 0x00FF00));
  Picture("base.bmp", datatest::MakeSolidBmp(2, 2, 0x0000FF));
  Picture("Twin.bmp", datatest::MakeSolidBmp(2, 2, 0x00FF00));
  Picture("twin.bmp", datatest::MakeSolidBmp(2, 2, 0x0000FF));
  datatest::WriteFile(dir_.Path() / "skin/system/graphic/Shared/Fall.bmp", datatest::MakeSolidBmp(2, 2, 0xFFFFFF));
  const struct {
    const char* FileName;
    uint32_t Texel;
  } cases[] = {
      {"sub\\p.bmp", 0xFF00FF00},       {"SUB\\P.Bmp", 0xFF00FF00}, {"BASE.BMP", 0xFF0000FF},
      {"Twin.bmp", 0xFF00FF00},         {"twin.bmp", 0xFF0000FF},   {"TWIN.BMP", 0xFF00FF00},  // exact name first
      {"shared\\FALL.bmp", 0xFFFFFFFF},
  };
  std::string body;
  for (const auto& c : cases)
    body += std::string("<sprite filename='") + c.FileName + "'><imagerect right='2' bottom='2'/></sprite>";
  ASSERT_TRUE(Load(body));
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    EXPECT_EQ(Texel(Sprite("id" + std::to_string(i))->Texture.get(), 1, 1), cases[i].Texel) << cases[i].FileName;
  }
}

TEST_F(GraphicDefLoaderTest, EightBitPicturesKeepTheirPaletteColours) {
  std::vector<uint32_t> palette = {0x00000000, 0x00302010, 0x00FF00FF};
  Picture("pal.bmp", datatest::MakeBmp(2, 1, 8, {1, 2}, palette));
  ASSERT_TRUE(Load("<sprite id='p' filename='pal.bmp'><imagerect right='2' bottom='1'/></sprite>"));
  EXPECT_EQ(Texel(Sprite("p")->Texture.get(), 0, 0), 0xFF302010u);
  EXPECT_EQ(Texel(Sprite("p")->Texture.get(), 1, 0) >> 24, 0u);
}

TEST_F(GraphicDefLoaderTest, BadFilesEndTheLoadWithTheirMessage) {
  Picture("text.bmp", "this is not a bitmap");
  std::string message = LoadError("<sprite id='t' filename='text.bmp'><imagerect right='4' bottom='4'/></sprite>");
  EXPECT_NE(message.find("text.bmp"), std::string::npos) << message;

  message = LoadError(std::string(kShip) + "</sprite><sprite id='x' filename='sheet.bmp'><imagerect right='4'");
  EXPECT_NE(message.find("graphicdef.xml"), std::string::npos) << message;

  EXPECT_EQ(LoadError("<sprite id='w' filename='sheet.bmp' width='4294967296'><imagerect right='4' bottom='4'/>"
                      "</sprite>"),
            Jp("\"4294967296\" は整数の範囲を超えています"));
  EXPECT_EQ(LoadError("<sprite id='w' filename='sheet.bmp'><imagerect right='4' bottom='4'/><origin x='middle'/>"
                      "</sprite>"),
            Jp("\"middle\" は整数に変換できません"));
  EXPECT_EQ(LoadError("<animation id='a' maxframe='3' repeat='sometimes'/>"),
            Jp("\"sometimes\" は真偽値に変換できません"));
  EXPECT_EQ(LoadError("<sprite filename='sheet.bmp'><id/><imagerect right='4' bottom='4'/></sprite>"),
            Jp("値が空です: id"));
  // A cut-out too large to hold is refused rather than allocated.
  message = LoadError("<sprite id='huge' filename='sheet.bmp'><imagerect right='100000' bottom='100000'/></sprite>");
  EXPECT_NE(message.find("100000"), std::string::npos) << message;
  // Extreme origins wrap instead of overflowing.
  EXPECT_TRUE(
      Load("<sprite id='o' filename='sheet.bmp'><imagerect right='4' bottom='4'/>"
           "<origin x='-2147483648'/></sprite>"));
}

// A picture is decoded once per load, however many sprites are cut from it: 400 sprites from a 1 KB RLE8 file
// that declares 2^25 pixels cost one decode. The pictures and the sprites of a skin have their budgets.
TEST_F(GraphicDefLoaderTest, PicturesAreDecodedOnceAndWithinTheirBudgets) {
  Picture("vast.bmp", bmptest::RleImage(8192, 4096, 8, {0xFF00FF, 0x00FF00}, std::string("\x10\x01\x00\x01", 4)));
  std::string sprites;
  for (int i = 0; i < 400; ++i) {
    const std::string x = std::to_string(i % 64 * 16);
    sprites += "<sprite id='s" + std::to_string(i) + "' filename='" + (i % 2 ? "vast.bmp" : "sheet.bmp") +
               "'><imagerect left='" + x + "' right='" + std::to_string(i % 64 * 16 + 16) + "' bottom='16'/></sprite>";
  }
  datatest::WriteFile(dir_.Path() / "skin/morv/xml/graphicdef.xml", "<graphics>" + sprites + "</graphics>");
  TGraphicDefLoader loader(*list_, place_);
  ASSERT_TRUE(loader.Load());
  EXPECT_EQ(list_->Count(), 400);
  EXPECT_EQ(loader.PicturesDecoded(), 2u);
  // Budgets of 1 MiB here (256 MiB in the game): a second 512x512 picture passes the pictures' budget, a fifth
  // 256x256 cut the sprites'.
  const TPictureBudget budget{1 << 20, 1 << 20};
  Picture("p1.bmp", bmptest::RleImage(512, 512, 8, {0}, std::string("\x00\x01", 2)));
  Picture("p2.bmp", bmptest::RleImage(512, 512, 8, {0}, std::string("\x00\x01", 2)));
  const auto loadWithin = [&](const std::string& Body) {
    datatest::WriteFile(dir_.Path() / "skin/morv/xml/graphicdef.xml", "<graphics>" + Body + "</graphics>");
    try {
      TGraphicDefLoader(*list_, place_, budget).Load();
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::string("no exception");
  };
  std::string cuts;
  for (int i = 0; i < 5; ++i) {
    cuts += "<sprite id='c" + std::to_string(i) + "' filename='p1.bmp'><imagerect right='256' bottom='256'/></sprite>";
  }
  EXPECT_EQ(loadWithin(cuts), Jp("スプライトの合計が大きすぎます (上限 1 MiB, ID=c4)"));
  std::string entries =
      "<sprite id='one' filename='p1.bmp'><imagerect right='1' bottom='1'/></sprite>"
      "<animation id='long' maxframe='10001'>";
  for (int i = 0; i <= 10000; ++i) entries += "<sprite ref='one' frame='" + std::to_string(i) + "'/>";
  EXPECT_EQ(loadWithin(entries + "</animation>"), Jp("アニメーションのフレームが多すぎます (上限 10000, ID:long)"));
  const std::string message = loadWithin(
      "<sprite id='a' filename='p1.bmp'><imagerect right='1' bottom='1'/></sprite>"
      "<sprite id='b' filename='p2.bmp'><imagerect right='1' bottom='1'/></sprite>");
  EXPECT_NE(message.find(Jp("スキンの画像の合計が大きすぎます (上限 1 MiB): ")), std::string::npos) << message;
  EXPECT_NE(message.find("p2.bmp"), std::string::npos) << message;
}

// A missing picture folder or definition file is named (not left to surface as an undefined id); a root
// without children loads nothing.
TEST_F(GraphicDefLoaderTest, MissingFolderOrFileIsNamedAndNoChildrenGiveFalse) {
  const auto error = [&] {
    try {
      list_->Load(place_);
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::string("no exception");
  };
  EXPECT_EQ(error(), Jp("存在しないファイル名です (") + place_.SkinDir + "xml/graphicdef.xml)");
  EXPECT_FALSE(Load(""));
  std::filesystem::remove_all(dir_.Path() / "skin/morv/graphic");
  EXPECT_EQ(LoadError(std::string(kShip) + "</sprite>"),
            Jp("存在しないファイル名です (") + place_.SkinDir + "graphic/)");
  EXPECT_EQ(list_->Count(), 0);
}

TEST_F(GraphicDefLoaderTest, DefinitionsDrawThemselvesThroughTheSpriteRenderer) {
  ASSERT_TRUE(Load(std::string(kShip) +
                   "<origin x='16' y='8'/><vertexcolor rt='$FF00FF00' lb='$FFFF0000' rb='$FF0000FF'/></sprite>" +
                   "<animation id='boom' maxframe='30'><sprite ref='ship' frame='10' alpha='128'/></animation>"));
  TSXScene scene(&device_, "");
  TVisible ship(100, 50, Sprite("ship"));
  ship.Draw(&scene);
  ASSERT_EQ(scene.OpaqueQueue().QuadCount(), 1);
  const TSXQuad& quad = scene.OpaqueQueue().Quad(0);
  EXPECT_EQ(quad.X, 100.0f);
  EXPECT_EQ(quad.Y, 50.0f);
  EXPECT_EQ(quad.Texture, Sprite("ship")->Texture.get());
  EXPECT_EQ(quad.Smooth, 0);
  EXPECT_EQ(quad.AddressU, D3DTADDRESS_CLAMP);
  // Centred on the position: corners (-16, -8) to (16, 8), texture 0 to 1.
  EXPECT_EQ(quad.Vertices[0].X, -16.0f);
  EXPECT_EQ(quad.Vertices[0].Y, -8.0f);
  EXPECT_EQ(quad.Vertices[3].X, 16.0f);
  EXPECT_EQ(quad.Vertices[3].Y, 8.0f);
  EXPECT_EQ(quad.Vertices[1].U, 1.0f);
  EXPECT_EQ(quad.Vertices[1].V, 0.0f);
  EXPECT_EQ(quad.Vertices[2].U, 0.0f);
  EXPECT_EQ(quad.Vertices[2].V, 1.0f);
  EXPECT_EQ(quad.Vertices[1].Diffuse, 0xFF00FF00u);
  EXPECT_EQ(quad.Vertices[2].Diffuse, 0xFFFF0000u);
  EXPECT_EQ(quad.Vertices[3].Diffuse, 0xFF0000FFu);

  TAnimation boom(10, 20, Animation("boom"));
  boom.OnTop = true;
  boom.Draw(&scene);  // the single entry shows from the start
  ASSERT_EQ(scene.OverlayQueue().QuadCount(), 1);
  const TSXQuad& frame = scene.OverlayQueue().Quad(0);
  EXPECT_EQ(frame.Vertices[0].Diffuse, 0x80FFFFFFu);
  EXPECT_EQ(frame.Vertices[3].Diffuse, 0x800000FFu);

  // A stretched object draws over its own size.
  class TBeam : public TVisible {
   public:
    using TVisible::TVisible;
    int32_t Width() const override { return 300; }
  } beam(0, 0, Sprite("ship"));
  beam.OwnSize = true;
  beam.Draw(&scene);
  const TSXQuad& stretched = scene.OpaqueQueue().Quad(1);
  EXPECT_EQ(stretched.Vertices[3].X, 300.0f - 16.0f);
}

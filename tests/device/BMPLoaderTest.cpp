#include "BMPLoader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "BMPTestImages.h"
#include "DGTexture.h"
#include "DeviceTestSupport.h"
#include "Exception.h"
#include "TexturePixel.h"

namespace {

using devicetest::DeviceTest;
using namespace bmptest;

class BMPLoaderTest : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    StartDevice();
  }
  void TearDown() override {
    texture_.reset();
    DeviceTest::TearDown();
  }

  TDGTexture& Texture(D3DFORMAT Format = D3DFMT_A8R8G8B8) {
    texture_ = std::make_unique<TDGTexture>(device_, "", std::vector<D3DFORMAT>{Format}, 0, D3DPOOL_MANAGED, 0);
    texture_->FillColor = 0x5A5A5A5A;
    return *texture_;
  }

  // Loads the image as the game's loaders do: sized from its headers, then decoded.
  TDGTexture& Load(const std::string& Bytes, D3DFORMAT Format = D3DFMT_A8R8G8B8) {
    TDGTexture& texture = Texture(Format);
    std::istringstream stream(Bytes);
    texture.LoadFromStream(stream);
    return texture;
  }

  static const std::string& ReadError() {
    static const std::string kLine = "LoadBMP中に、読み込みエラーが発生しました";
    return kLine;
  }

  std::unique_ptr<TDGTexture> texture_;
};

TEST_F(BMPLoaderTest, TwentyFourBitRowsArePaddedAndTheTopRowLandsInRowZero) {
  const std::string bmp = Image24({{0x010203, 0x040506, 0x070809}, {0x0A0B0C, 0x0D0E0F, 0x101112}});
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  TDGTexture& texture = Load(bmp);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0xFF010203u);
  EXPECT_EQ(TexturePixel(texture, 2, 0), 0xFF070809u);
  EXPECT_EQ(TexturePixel(texture, 0, 1), 0xFF0A0B0Cu);
  EXPECT_EQ(TexturePixel(texture, 2, 1), 0xFF101112u);
  EXPECT_EQ(halts_, 0);
}

TEST_F(BMPLoaderTest, SixteenBitPixelsAreA1R5G5B5) {
  TDGTexture& texture = Load(Image16({{0x7FFF, 0xFFFF, 0x801F}}));
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0x00FFFFFFu);
  EXPECT_EQ(TexturePixel(texture, 1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(TexturePixel(texture, 2, 0), 0xFF0000FFu);
}

TEST_F(BMPLoaderTest, EightBitPixelsUseThePaletteAndAreOpaque) {
  std::vector<uint32_t> palette(256, 0);
  palette[5] = 0x00302010;  // bytes 0x10, 0x20, 0x30, 0: blue, green, red, reserved
  palette[200] = 0xEEFFFFFF;
  TDGTexture& texture = Load(Image8(palette, {{5, 200}}));
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0xFF302010u);
  EXPECT_EQ(TexturePixel(texture, 1, 0), 0xFFFFFFFFu) << "the palette's fourth byte is not alpha";
}

TEST_F(BMPLoaderTest, ThirtyTwoBitPixelsKeepTheirAlpha) {
  TDGTexture& texture = Load(Image32({{0x80123456, 0x00FFFFFF}}));
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0x80123456u);
  EXPECT_EQ(TexturePixel(texture, 1, 0), 0x00FFFFFFu);
}

TEST_F(BMPLoaderTest, PixelsArePackedIntoTheTexturesFormat) {
  EXPECT_EQ(TexturePixel(Load(Image24({{0xFF8040}}), D3DFMT_A4R4G4B4), 0, 0), 0xFF84u);
  EXPECT_EQ(TexturePixel(Load(Image32({{0x80FF8040}}), D3DFMT_A1R5G5B5), 0, 0), 0xFE08u);
  EXPECT_EQ(TexturePixel(Load(Image32({{0x7FFF8040}}), D3DFMT_A1R5G5B5), 0, 0), 0x7E08u);
}

TEST_F(BMPLoaderTest, AnImageLargerThanTheTextureKeepsItsTopLeftCorner) {
  TDGTexture& texture = Texture();
  texture.SetSize(2, 1);
  std::istringstream stream(Image24({{0x111111, 0x222222, 0x333333}, {0x444444, 0x555555, 0x666666}}));
  LoadBMP(texture, stream);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0xFF111111u);
  EXPECT_EQ(TexturePixel(texture, 1, 0), 0xFF222222u);
  EXPECT_EQ(FindLine(ReadError()), -1);
}

TEST_F(BMPLoaderTest, AnImageSmallerThanThePowerOfTwoAllocationFillsItsCorner) {
  D3D9Hooks().ForcePow2 = true;
  TDGTexture& texture = Load(Image24({{0x111111, 0x222222, 0x333333}, {0x444444, 0x555555, 0x666666}}));
  ASSERT_EQ(texture.TextureWidth(), 4u);
  EXPECT_EQ(TexturePixel(texture, 2, 1), 0xFF666666u);
  EXPECT_EQ(TexturePixel(texture, 3, 0), 0x5A5A5A5Au) << "outside the picture the fill colour stays";
  EXPECT_EQ(TexturePixel(texture, 3, 1), 0x5A5A5A5Au);
}

TEST_F(BMPLoaderTest, WrongSignatureIsLoggedAndTheTextureStaysAsSized) {
  std::string bmp = Image24({{0x123456}});
  bmp[0] = 'X';
  TDGTexture& texture = Load(bmp);
  EXPECT_GE(FindLine("不正なBMPファイルです"), 0);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0x5A5A5A5Au);
  EXPECT_EQ(halts_, 0);
}

TEST_F(BMPLoaderTest, OneAndFourBitImagesAreRefused) {
  const std::string refusal =
      "色数が8ビット～32ビットの範囲のビットマップを、LoadBMPには指定してください(Error Code = UNKNOWN ERROR ... "
      "$00000001)";
  for (uint16_t bits : {1, 4, 0, 12, 48}) {
    std::string bmp = Headers(8, 2, 24) + std::string(48, '\x7F');
    Put16(bmp, 28, bits);
    TDGTexture& texture = Load(bmp);
    EXPECT_EQ(TexturePixel(texture, 0, 0), 0x5A5A5A5Au) << bits;
  }
  EXPECT_EQ(CountLines(refusal), 5);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

// 4 x 3 codes, bottom row first: a run; an absolute block and a run; a run, then the end of the line
// leaves two pixels to index 0.
const std::string kRle8Codes = std::string("\x04\x01\x00\x00", 4) + std::string("\x00\x03\x02\x03\x02\x00\x01\x01", 8) +
                               std::string("\x00\x00\x02\x03\x00\x00\x00\x01", 8);

TEST_F(BMPLoaderTest, EightBitRunLengthPicturesAreDecoded) {
  std::vector<uint32_t> palette(256, 0);
  palette[0] = 0x000010;
  palette[1] = 0x000011;
  palette[2] = 0x000012;
  palette[3] = 0x000013;
  TDGTexture& texture = Load(RleImage(4, 3, 8, palette, kRle8Codes));
  const uint32_t expected[3][4] = {{0x13, 0x13, 0x10, 0x10}, {0x12, 0x13, 0x12, 0x11}, {0x11, 0x11, 0x11, 0x11}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(TexturePixel(texture, x, y), 0xFF000000u | expected[y][x]) << x << "," << y;
  EXPECT_EQ(FindLine(ReadError()), -1);
}

TEST_F(BMPLoaderTest, DamagedRunsAndOtherCompressionsAreReadErrors) {
  const std::vector<uint32_t> palette(256, 0x00FFFFFF);
  std::vector<std::string> refused = {
      RleImage(4, 3, 8, palette, std::string("\x05\x01\x00\x01", 4)),          // a run past the row
      RleImage(4, 3, 8, palette, std::string("\x00\x02\x00\x05\x00\x01", 6)),  // a delta past the top
      RleImage(4, 3, 8, palette, std::string("\x00\x04\x01\x01", 4)),          // an absolute block cut off
      RleImage(4, 3, 8, palette, kRle8Codes.substr(0, 12)),                    // no end mark
  };
  for (auto [compression, bits] : {std::pair{2u, 8}, {3u, 16}, {4u, 24}, {1u, 24}}) {
    std::string bmp = Image24({{0x123456, 0x123456}});
    Put16(bmp, 28, uint16_t(bits));
    Put32(bmp, 30, compression);
    refused.push_back(bmp);
  }
  for (const std::string& bmp : refused) EXPECT_EQ(TexturePixel(Load(bmp), 0, 0), 0x5A5A5A5Au);
  EXPECT_EQ(CountLines(ReadError()), int(refused.size()));
  EXPECT_EQ(halts_, 0);
}

TEST_F(BMPLoaderTest, TruncatedPixelDataKeepsTheRowsAlreadyDecoded) {
  // Four rows of 4 x 24 bits (12 bytes each); only the two bottom rows are in the file.
  const std::string full = Image24({{0x000001, 0x000001, 0x000001, 0x000001},
                                    {0x000002, 0x000002, 0x000002, 0x000002},
                                    {0x000003, 0x000003, 0x000003, 0x000003},
                                    {0x000004, 0x000004, 0x000004, 0x000004}});
  TDGTexture& texture = Load(full.substr(0, 54 + 2 * 12 + 5));
  EXPECT_GE(FindLine(ReadError()), 0);
  EXPECT_EQ(TexturePixel(texture, 0, 3), 0xFF000004u);
  EXPECT_EQ(TexturePixel(texture, 3, 2), 0xFF000003u);
  EXPECT_EQ(TexturePixel(texture, 0, 1), 0x5A5A5A5Au);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0x5A5A5A5Au);
  EXPECT_EQ(halts_, 0);
}

TEST_F(BMPLoaderTest, TruncatedHeadersAreReadErrorsOfTheLoader) {
  const std::string bmp = Image24({{0x123456}});
  Load(bmp.substr(0, 10));
  Load(bmp.substr(0, 30));
  EXPECT_EQ(CountLines("ストリームからの、読み込みエラー(Error Code = UNKNOWN ERROR ... $00000001)"), 2);
  // Straight into a sized texture, each cut is the decoder's own log line.
  TDGTexture& texture = Texture();
  texture.SetSize(1, 1);
  std::istringstream fileHeaderCut(bmp.substr(0, 10));
  LoadBMP(texture, fileHeaderCut);
  EXPECT_GE(FindLine("ビットマップの読みこみ中に、エラーが発生しました"), 0);
  std::istringstream infoHeaderCut(bmp.substr(0, 30));
  LoadBMP(texture, infoHeaderCut);
  EXPECT_GE(FindLine(ReadError()), 0);
  std::istringstream paletteCut(Image8(std::vector<uint32_t>(256, 0), {{1}}).substr(0, 54 + 100));
  LoadBMP(texture, paletteCut);
  EXPECT_EQ(CountLines(ReadError()), 2);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

TEST_F(BMPLoaderTest, LyingPixelOffsetStopsAtTheFirstRead) {
  std::string bmp = Image24({{0x123456, 0x654321}});
  Put32(bmp, 10, 0x7FFFFFF0);
  TDGTexture& texture = Load(bmp);
  EXPECT_GE(FindLine(ReadError()), 0);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0x5A5A5A5Au);
}

TEST_F(BMPLoaderTest, LyingWidthOrHeightCannotReadOrWritePastTheData) {
  // The texture was sized for 2 x 2, but the header claims far more: decoding stays inside both.
  TDGTexture& texture = Texture();
  texture.SetSize(2, 2);
  std::string wide = Image24({{0x111111, 0x222222}, {0x333333, 0x444444}});
  Put32(wide, 18, 0x40000000);
  std::istringstream wideStream(wide);
  LoadBMP(texture, wideStream);
  std::string tall = Image24({{0x111111, 0x222222}, {0x333333, 0x444444}});
  Put32(tall, 22, 0x7FFFFFFF);
  std::istringstream tallStream(tall);
  LoadBMP(texture, tallStream);
  EXPECT_EQ(CountLines(ReadError()), 2);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0x5A5A5A5Au);

  // A header that claims more rows than the file holds, within the device's limits.
  std::string lying = Image24({{0x111111}});
  Put32(lying, 22, 300);
  TDGTexture& sized = Load(lying);
  EXPECT_EQ(sized.Height(), 300u);
  EXPECT_EQ(CountLines(ReadError()), 3);
  EXPECT_EQ(halts_, 0);
}

TEST_F(BMPLoaderTest, ZeroOrHugeDimensionsAreRefusedCleanly) {
  for (auto [width, height] : {std::pair<uint32_t, uint32_t>{0, 0},
                               {0, 5},
                               {5, 0},
                               {0xFFFFFFFF, 0xFFFFFFFF},
                               {0x80000001, 1},
                               {1, 0xFFFFFFFE},
                               {100000, 100000}}) {
    std::string bmp = Image24({{0x123456}});
    Put32(bmp, 18, width);
    Put32(bmp, 22, height);
    TDGTexture& texture = Load(bmp);
    EXPECT_EQ(texture.Texture(), nullptr) << width << " x " << height;
    EXPECT_EQ(texture.Width(), width);
  }
  EXPECT_EQ(CountLines("ストリームからの、読み込みエラー(Error Code = UNKNOWN ERROR ... $00000001)"), 7);
  EXPECT_GE(FindLine("テクスチャの生成に失敗しました(Error Code = D3DERR_INVALIDCALL )"), 0);
  D3DCAPS9 caps{};
  device_->D3D()->GetDeviceCaps(device_->Adapter(), device_->DeviceType(), &caps);
  EXPECT_EQ(CountLines("要求されたテクスチャのサイズは大きすぎます。" + std::to_string(caps.MaxTextureWidth) + " x " +
                       std::to_string(caps.MaxTextureHeight) + " 以内にして下さい"),
            4);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

TEST_F(BMPLoaderTest, DecodingIntoAMissingTextureRaises) {
  TDGTexture& texture = Texture();
  std::istringstream stream(Image24({{0x123456}}));
  EXPECT_THROW(LoadBMP(texture, stream), Exception);
}

TEST_F(BMPLoaderTest, ALogThatCannotBeWrittenStillLeavesTheLevelUnlocked) {
  TDGTexture& texture = Texture();
  texture.SetSize(1, 1);
  SetLogFolder(folder_ / "gone");
  std::istringstream stream("XX" + Image24({{0x123456}}).substr(2));
  EXPECT_THROW(LoadBMP(texture, stream), EInOutError);  // the wrong signature's line cannot be written
  SetLogFolder(folder_);
  texture.Fill(MakeRect(0, 0, 1, 1), 0xFF00FF00u, false);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0xFF00FF00u);
  EXPECT_EQ(FindLine("LockRectに失敗しました(Error Code = D3DERR_INVALIDCALL )"), -1);
}

TEST_F(BMPLoaderTest, ImagesInsideALargerStreamAreReadFromTheirStart) {
  const std::string image = Image24({{0xABCDEF}});
  std::istringstream stream("prefix" + image);
  stream.seekg(6);
  TDGTexture& texture = Texture();
  texture.LoadFromStream(stream);
  EXPECT_EQ(TexturePixel(texture, 0, 0), 0xFFABCDEFu);
}

TEST_F(BMPLoaderTest, CorruptedImagesNeverBreakTheDecoder) {
  // Random damage to header and pixel bytes, decoded into textures of a fixed size so that any
  // header may lie about the image; the sanitizer build checks every access.
  const std::string original = Image8(std::vector<uint32_t>(256, 0x00808080), {{1, 2, 3}, {4, 5, 6}});
  TDGTexture wide(device_, "", {D3DFMT_A8R8G8B8}, 0, D3DPOOL_MANAGED, 0);
  TDGTexture narrow(device_, "", {D3DFMT_A1R5G5B5}, 0, D3DPOOL_MANAGED, 0);
  wide.SetSize(3, 2);
  narrow.SetSize(5, 1);
  std::mt19937 random(1234);
  for (int round = 0; round < 400; ++round) {
    std::string bmp = original;
    const int damage = 1 + int(random() % 6);
    for (int d = 0; d < damage; ++d) {
      const size_t at = random() % 2 ? random() % 54 : random() % bmp.size();
      bmp[at] = char(random());
    }
    if (random() % 4 == 0) bmp.resize(random() % bmp.size());
    std::istringstream stream(bmp);
    LoadBMP(random() % 2 ? wide : narrow, stream);
  }
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

}  // namespace

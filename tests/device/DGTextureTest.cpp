#include "DGTexture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "BMPTestImages.h"
#include "DeviceTestSupport.h"
#include "RasterBitmap.h"
#include "TKAWriter.h"
#include "TexturePixel.h"

namespace {

using devicetest::DeviceTest;

const std::vector<D3DFORMAT> kGameFormats = {D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4, D3DFMT_A1R5G5B5};

class DGTextureTest : public DeviceTest {
 protected:
  // A texture as every caller of the game makes it (or with other candidates).
  std::unique_ptr<TDGTexture> MakeTexture(const std::vector<D3DFORMAT>& Formats = kGameFormats,
                                          D3DPOOL Pool = D3DPOOL_MANAGED) {
    auto texture = std::make_unique<TDGTexture>(device_, "", Formats, 0, Pool, 0);
    texture->FillColor = 0;
    return texture;
  }

  std::string WriteFile(const std::string& Name, const std::string& Bytes) {
    const std::filesystem::path path = folder_ / Name;
    std::ofstream(path, std::ios::binary) << Bytes;
    return path.string();
  }
};

TEST_F(DGTextureTest, PowerOfTwoDeviceRoundsEachSideUp) {
  StartDevice();
  D3D9Hooks().ForcePow2 = true;
  auto texture = MakeTexture();
  texture->SetSize(100, 30);
  EXPECT_EQ(texture->Width(), 100u);
  EXPECT_EQ(texture->Height(), 30u);
  EXPECT_EQ(texture->TextureWidth(), 128u);
  EXPECT_EQ(texture->TextureHeight(), 32u);
  EXPECT_FLOAT_EQ(texture->MaxU(), 0.78125f);
  EXPECT_FLOAT_EQ(texture->MaxV(), 0.9375f);
  ASSERT_NE(texture->Texture(), nullptr);
  D3DSURFACE_DESC desc{};
  texture->Texture()->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 128u);
  EXPECT_EQ(desc.Height, 32u);

  texture->SetSize(1, 0);  // a side of 0 or 1 becomes 1
  EXPECT_EQ(texture->TextureWidth(), 1u);
  EXPECT_EQ(texture->TextureHeight(), 1u);
  EXPECT_FLOAT_EQ(texture->MaxV(), 0.0f);
  texture->SetSize(64, 65);
  EXPECT_EQ(texture->TextureWidth(), 64u);
  EXPECT_EQ(texture->TextureHeight(), 128u);
  EXPECT_EQ(halts_, 0);
}

TEST_F(DGTextureTest, SquareDevicesUseTheLargerSide) {
  StartDevice();
  D3D9Hooks().ForcePow2 = true;
  D3D9Hooks().ForceSquareOnly = true;
  auto texture = MakeTexture();
  texture->SetSize(100, 30);
  EXPECT_EQ(texture->TextureWidth(), 128u);
  EXPECT_EQ(texture->TextureHeight(), 128u);
  EXPECT_FLOAT_EQ(texture->MaxU(), 0.78125f);
  EXPECT_FLOAT_EQ(texture->MaxV(), 0.234375f);

  D3D9Hooks().ForcePow2 = false;
  texture->SetSize(100, 30);
  EXPECT_EQ(texture->TextureWidth(), 100u);
  EXPECT_EQ(texture->TextureHeight(), 100u);
  EXPECT_FLOAT_EQ(texture->MaxV(), 0.3f);

  D3D9Hooks().ForceSquareOnly = false;
  texture->SetSize(100, 30);
  EXPECT_EQ(texture->TextureWidth(), 100u);
  EXPECT_EQ(texture->TextureHeight(), 30u);
  EXPECT_FLOAT_EQ(texture->MaxU(), 1.0f);
}

TEST_F(DGTextureTest, FirstFormatTheDeviceAcceptsIsUsed) {
  StartDevice();
  auto texture = MakeTexture();
  texture->SetSize(4, 4);
  EXPECT_EQ(texture->Format(), D3DFMT_A8R8G8B8);
  EXPECT_EQ(texture->BytesPerPixel(), 4);
  EXPECT_GE(FindLine("使用されるフォーマットは A8R8G8B8 です"), 0);

  auto small = MakeTexture({D3DFMT_A4R4G4B4, D3DFMT_A8R8G8B8});
  small->SetSize(4, 4);
  EXPECT_EQ(small->Format(), D3DFMT_A4R4G4B4);
  EXPECT_EQ(small->BytesPerPixel(), 2);

  // Without candidates the back buffer's format is taken.
  auto plain = MakeTexture({});
  plain->SetSize(4, 4);
  EXPECT_EQ(plain->Format(), device_->BackBufferFormat());
}

TEST_F(DGTextureTest, TheGameFormatsAreTriedInOrderThenTheBackBuffers) {
  StartDevice();
  const struct {
    std::vector<D3DFORMAT> Refused;
    D3DFORMAT Expected;
  } cases[] = {
      {{D3DFMT_A8R8G8B8}, D3DFMT_A4R4G4B4},
      {{D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4}, D3DFMT_A1R5G5B5},
      {{D3DFMT_A4R4G4B4}, D3DFMT_A8R8G8B8},
      {kGameFormats, device_->BackBufferFormat()},
  };
  for (const auto& c : cases) {
    D3D9Hooks().RefusedTextureFormats = c.Refused;
    auto texture = MakeTexture();
    texture->SetSize(4, 4);
    EXPECT_EQ(texture->Format(), c.Expected) << c.Refused.size();
  }
}

TEST_F(DGTextureTest, NewTexturesAreClearedToTheFillColour) {
  StartDevice();
  auto texture = MakeTexture();
  texture->FillColor = 0x80102030;
  texture->SetSize(3, 2);
  EXPECT_EQ(TexturePixel(*texture, 0, 0), 0x80102030u);
  EXPECT_EQ(TexturePixel(*texture, 2, 1), 0x80102030u);
  EXPECT_EQ(texture->Source(), tsMemory);
}

TEST_F(DGTextureTest, FillReplacesOnlyTheRectangle) {
  StartDevice();
  auto texture = MakeTexture();
  texture->SetSize(4, 4);
  texture->Fill(MakeRect(1, 1, 3, 4), 0x80112233, false);
  EXPECT_EQ(TexturePixel(*texture, 1, 1), 0x80112233u);
  EXPECT_EQ(TexturePixel(*texture, 2, 3), 0x80112233u);
  EXPECT_EQ(TexturePixel(*texture, 0, 1), 0u);
  EXPECT_EQ(TexturePixel(*texture, 3, 1), 0u);
  EXPECT_EQ(TexturePixel(*texture, 1, 0), 0u);

  // Packed once into the texture's format: 0x80112233 as A4R4G4B4 is 0x8123.
  auto small = MakeTexture({D3DFMT_A4R4G4B4});
  small->SetSize(2, 2);
  small->Fill(MakeRect(0, 0, 2, 2), 0x80112233, false);
  EXPECT_EQ(TexturePixel(*small, 1, 1), 0x8123u);
}

TEST_F(DGTextureTest, FillKeepingAlphaReplacesOnlyTheColour) {
  StartDevice();
  auto texture = MakeTexture();
  texture->SetSize(2, 1);
  texture->Fill(MakeRect(0, 0, 1, 1), 0x40FFFFFF, false);
  texture->Fill(MakeRect(1, 0, 2, 1), 0xC0000000, false);
  texture->Fill(MakeRect(0, 0, 2, 1), 0x1200FF00, true);
  EXPECT_EQ(TexturePixel(*texture, 0, 0), 0x4000FF00u);
  EXPECT_EQ(TexturePixel(*texture, 1, 0), 0xC000FF00u);

  auto small = MakeTexture({D3DFMT_A4R4G4B4});
  small->SetSize(1, 1);
  small->Fill(MakeRect(0, 0, 1, 1), 0x50000000, false);
  small->Fill(MakeRect(0, 0, 1, 1), 0xFFFF8000, true);
  EXPECT_EQ(TexturePixel(*small, 0, 0), 0x5F80u);
}

TEST_F(DGTextureTest, ColourKeyOnA1R5G5B5MatchesWhatTheFormatCanHold) {
  StartDevice();
  const std::string file = WriteFile("key.bmp", bmptest::Image24({{0xFF00FF, 0xFF0000, 0xF800F8}}));
  auto wide = MakeTexture();
  auto narrow = MakeTexture({D3DFMT_A1R5G5B5});
  wide->LoadFromFile(file);
  narrow->LoadFromFile(file);
  ASSERT_EQ(narrow->Format(), D3DFMT_A1R5G5B5);
  wide->SetColorKey(MakeRect(0, 0, 3, 1), 0xFF00FF);
  narrow->SetColorKey(MakeRect(0, 0, 3, 1), 0xFF00FF);

  EXPECT_EQ(TexturePixel(*wide, 0, 0), 0x00FF00FFu);
  EXPECT_EQ(TexturePixel(*wide, 1, 0), 0xFFFF0000u);
  EXPECT_EQ(TexturePixel(*wide, 2, 0), 0xFFF800F8u) << "near-magenta is a different colour in 32 bits";
  EXPECT_EQ(TexturePixel(*narrow, 0, 0), 0x7C1Fu);
  EXPECT_EQ(TexturePixel(*narrow, 1, 0), 0xFC00u);
  EXPECT_EQ(TexturePixel(*narrow, 2, 0), 0x7C1Fu) << "5-bit fields cannot tell near-magenta from magenta";
  EXPECT_EQ(narrow->Source(), tsMemory);
}

TEST_F(DGTextureTest, ColourKeyReplacesAnyAlphaTheImageHad) {
  StartDevice();
  auto texture = MakeTexture();
  texture->SetSize(2, 1);
  texture->Fill(MakeRect(0, 0, 1, 1), 0x10FF00FF, false);
  texture->Fill(MakeRect(1, 0, 2, 1), 0x10123456, false);
  texture->SetColorKey(MakeRect(0, 0, 2, 1), 0xFFFF00FF);
  EXPECT_EQ(TexturePixel(*texture, 0, 0), 0x00FF00FFu);
  EXPECT_EQ(TexturePixel(*texture, 1, 0), 0xFF123456u);
}

TEST_F(DGTextureTest, LockingATextureNeverSizedReportsAndWritesNothing) {
  StartDevice();
  auto texture = MakeTexture();
  const D3DLOCKED_RECT lock = texture->LockRect(0, MakeRect(0, 0, 4, 4), 0);
  EXPECT_EQ(lock.pBits, nullptr);
  EXPECT_TRUE(texture->Locked());
  texture->UnlockRect();
  EXPECT_FALSE(texture->Locked());
  texture->Fill(MakeRect(0, 0, 4, 4), 0xFFFFFFFF, false);
  texture->SetColorKey(MakeRect(0, 0, 4, 4), 0xFF00FF);
  EXPECT_EQ(CountLines("テクスチャが確保されていません。LockRectの前にSetSizeするか、BMPを読み込んでください"
                       "(Error Code = UNKNOWN ERROR ... $00000001)"),
            3);
  EXPECT_EQ(texture->Source(), tsNone);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

TEST_F(DGTextureTest, SourceFollowsTheLastLoadOrWrite) {
  StartDevice();
  const std::string file = WriteFile("pic.bmp", bmptest::Image24({{0x102030, 0x405060}}));
  auto texture = MakeTexture();
  EXPECT_EQ(texture->Source(), tsNone);
  texture->LoadFromFile(file);
  EXPECT_EQ(texture->Source(), tsFile);
  EXPECT_EQ(texture->FileName(), file);
  EXPECT_EQ(TexturePixel(*texture, 1, 0), 0xFF405060u);
  EXPECT_EQ(texture->Source(), tsFile) << "read-only locks keep the source";
  texture->LockRect(0, MakeRect(0, 0, 1, 1), 0);
  texture->UnlockRect();
  EXPECT_EQ(texture->Source(), tsMemory) << "a writable lock means the content may differ from the file";

  texture->LoadFromFile(file);
  std::istringstream image(bmptest::Image24({{0x112233}}));
  texture->LoadFromStream(image);
  EXPECT_EQ(texture->Source(), tsMemory);
  EXPECT_EQ(texture->Width(), 1u);
  texture->LoadFromFile(file);
  texture->SetSize(8, 8);
  EXPECT_EQ(texture->Source(), tsMemory);
}

TEST_F(DGTextureTest, MissingFileIsReportedAndStillRecorded) {
  StartDevice();
  auto texture = MakeTexture();
  texture->LoadFromFile("nowhere.bmp");
  EXPECT_GE(FindLine("nowhere.bmpからの、読み込みエラー(Error Code = UNKNOWN ERROR ... $00000001)"), 0);
  EXPECT_EQ(texture->Source(), tsFile);
  EXPECT_EQ(texture->FileName(), "nowhere.bmp");
  EXPECT_EQ(texture->Texture(), nullptr);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

TEST_F(DGTextureTest, LoadsArchiveEntriesAndReportsMissingOnes) {
  StartDevice();
  const std::string image = bmptest::Image24({{0xABCDEF, 0x123456}});
  const std::vector<uint8_t> archive =
      TKAWriter::Build({{"ship", std::vector<uint8_t>(image.begin(), image.end())}}, /*compress=*/true);
  const std::string file = WriteFile("pics.tka", std::string(archive.begin(), archive.end()));
  auto texture = MakeTexture();
  texture->LoadFromFile("ship", file);
  EXPECT_EQ(texture->Source(), tsArchive);
  EXPECT_EQ(texture->ArchiveName(), file);
  EXPECT_EQ(texture->ArchiveID(), "ship");
  EXPECT_EQ(TexturePixel(*texture, 0, 0), 0xFFABCDEFu);
  EXPECT_GE(FindLine("ID 0() のテクスチャに、TKAファイル" + file + " から ID ship を読み込みます"), 0);

  auto missing = MakeTexture();
  missing->LoadFromFile("boss", file);
  EXPECT_GE(FindLine("boss ＠ " + file + "からの、読み込みエラー(Error Code = UNKNOWN ERROR ... $00000001)"), 0);
  EXPECT_EQ(missing->Source(), tsArchive);
}

TEST_F(DGTextureTest, LoadsRasterBitmapsAsOpaquePictures) {
  StartDevice();
  TRasterBitmap bitmap(3, 2);
  bitmap.SetPixel(0, 0, 0x112233);
  bitmap.SetPixel(2, 1, 0xFF00FF);
  auto texture = MakeTexture();
  texture->LoadFromBitmap(bitmap);
  EXPECT_EQ(texture->Width(), 3u);
  EXPECT_EQ(texture->Height(), 2u);
  EXPECT_EQ(TexturePixel(*texture, 0, 0), 0xFF112233u);
  EXPECT_EQ(TexturePixel(*texture, 2, 1), 0xFFFF00FFu);
  EXPECT_EQ(TexturePixel(*texture, 1, 0), 0xFF000000u);
  EXPECT_EQ(texture->Source(), tsMemory);
  EXPECT_GE(FindLine("ID 0 のテクスチャに、TBitmapから読み込みます"), 0);
}

TEST_F(DGTextureTest, SavesItsImageAs32BitBottomUpBMP) {
  StartDevice();
  D3D9Hooks().ForcePow2 = true;
  auto texture = MakeTexture({D3DFMT_A4R4G4B4});
  texture->SetSize(3, 2);
  texture->Fill(MakeRect(0, 0, 3, 1), 0xFFFF0000, false);
  texture->Fill(MakeRect(0, 1, 3, 2), 0x8800FF00, false);
  std::stringstream out;
  texture->SaveAsBMP(out);
  const std::string bmp = out.str();
  ASSERT_EQ(bmp.size(), 54u + 3 * 2 * 4);
  auto u32 = [&](size_t At) {
    return uint32_t(uint8_t(bmp[At])) | uint32_t(uint8_t(bmp[At + 1])) << 8 | uint32_t(uint8_t(bmp[At + 2])) << 16 |
           uint32_t(uint8_t(bmp[At + 3])) << 24;
  };
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), 78u);
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 3u) << "the image's width, not the allocation's";
  EXPECT_EQ(u32(22), 2u);
  EXPECT_EQ(uint8_t(bmp[28]), 32);
  EXPECT_EQ(u32(34), 24u);
  // Bottom row first; A4R4G4B4 widened to eight bits per channel.
  EXPECT_EQ(u32(54), 0x8800FF00u);
  EXPECT_EQ(u32(54 + 12), 0xFFFF0000u);
}

TEST_F(DGTextureTest, AnImageWithoutRowsIsSavedAndRestoredWithItsSize) {
  StartDevice({dgoHaltOnError, dgoDebugMessage, dgoDetailedLog});
  D3D9Hooks().ForcePow2 = true;  // 5 x 0 gets an 8 x 1 allocation
  auto texture = MakeTexture();
  texture->SetSize(5, 0);
  ASSERT_NE(texture->Texture(), nullptr);
  std::stringstream out;
  texture->SaveAsBMP(out);
  const std::string bmp = out.str();
  ASSERT_EQ(bmp.size(), 54u);
  EXPECT_EQ(uint8_t(bmp[18]), 5);  // width
  EXPECT_EQ(uint8_t(bmp[22]), 0);  // height

  SetWindowMode800();  // backed up and restored from the backup
  EXPECT_EQ(texture->Width(), 5u);
  EXPECT_EQ(texture->Height(), 0u);
  EXPECT_EQ(texture->TextureWidth(), 8u);
  EXPECT_EQ(FindLine("LockRectに失敗しました(Error Code = D3DERR_INVALIDCALL )"), -1);
  EXPECT_EQ(halts_, 0);
}

TEST_F(DGTextureTest, ContentSurvivesDeviceRecreation) {
  StartDevice();
  const std::string file = WriteFile("pic.bmp", bmptest::Image24({{0x0000FF, 0x00FF00}}));
  auto drawn = MakeTexture();
  drawn->SetSize(2, 2);
  drawn->Fill(MakeRect(0, 0, 2, 2), 0x80405060, false);
  drawn->Fill(MakeRect(1, 1, 2, 2), 0xFF010203, false);
  auto loaded = MakeTexture();
  loaded->LoadFromFile(file);
  auto sized = MakeTexture();
  sized->FillColor = 0x11223344;
  sized->SetSize(3, 3);
  sized->Fill(MakeRect(0, 0, 1, 1), 0xFFFFFFFF, false);
  // Source "none" only exists while restoring; a texture sized and written is memory content.
  ASSERT_EQ(sized->Source(), tsMemory);

  // Watches the release step: memory content is backed up, every Direct3D texture is gone.
  bool backedUp = false;
  bool allReleased = false;
  struct TWatcher : TObject {};
  TWatcher watcher;
  const int32_t id = device_->RegisterResource(
      &watcher, "watch",
      [&] {
        backedUp = drawn->HasBackup() && sized->HasBackup() && !loaded->HasBackup();
        allReleased = drawn->Texture() == nullptr && loaded->Texture() == nullptr;
      },
      nullptr, nullptr, nullptr);

  const int from = int(LogLines().size());
  SetWindowMode800();
  device_->UnregisterResource(id);
  EXPECT_TRUE(backedUp);
  EXPECT_TRUE(allReleased);
  ASSERT_NE(drawn->Texture(), nullptr);
  EXPECT_FALSE(drawn->HasBackup());
  EXPECT_EQ(drawn->Source(), tsMemory);
  EXPECT_EQ(TexturePixel(*drawn, 0, 0), 0x80405060u);
  EXPECT_EQ(TexturePixel(*drawn, 1, 1), 0xFF010203u);
  EXPECT_EQ(sized->Source(), tsMemory);
  EXPECT_EQ(TexturePixel(*sized, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(TexturePixel(*sized, 2, 2), 0x11223344u);
  EXPECT_EQ(loaded->Source(), tsFile);
  EXPECT_EQ(TexturePixel(*loaded, 1, 0), 0xFF00FF00u);
  EXPECT_GE(FindLine("ID 1() のテクスチャに、" + file + " を読み込みます", from), 0) << "reloaded from its file";
  EXPECT_GE(FindLine("ID 0 のテクスチャに、ストリームから読み込みます", from), 0) << "restored from its backup";
  EXPECT_EQ(halts_, 0);
}

TEST_F(DGTextureTest, EditedFileTextureIsBackedUpNotReloaded) {
  StartDevice();
  const std::string file = WriteFile("pic.bmp", bmptest::Image24({{0x0000FF}}));
  auto texture = MakeTexture();
  texture->LoadFromFile(file);
  texture->Fill(MakeRect(0, 0, 1, 1), 0xFF777777, false);
  ASSERT_EQ(texture->Source(), tsMemory);
  std::filesystem::remove(folder_ / "pic.bmp");
  SetWindowMode800();
  EXPECT_EQ(TexturePixel(*texture, 0, 0), 0xFF777777u);
  EXPECT_EQ(halts_, 0);
}

TEST_F(DGTextureTest, ManagedTexturesSurviveAResetUntouchedDefaultPoolOnesAreRecreated) {
  StartDevice();
  auto managed = MakeTexture();
  managed->SetSize(2, 2);
  managed->Fill(MakeRect(0, 0, 2, 2), 0xFF123456, false);
  auto plain = MakeTexture(kGameFormats, D3DPOOL_DEFAULT);
  plain->SetSize(2, 2);
  EXPECT_FALSE(plain->Restorable());
  IDirect3DTexture9* const managedBefore = managed->Texture();

  bool plainReleasedDuringReset = false;
  struct TWatcher : TObject {};
  TWatcher watcher;
  const int32_t id = device_->RegisterResource(
      &watcher, "", nullptr, nullptr, [&] { plainReleasedDuringReset = plain->Texture() == nullptr; }, nullptr);
  D3D9LoseDevice(device_->D3DDevice(), 1);
  device_->D3DDevice()->TestCooperativeLevel();
  device_->ResetDevice();
  device_->UnregisterResource(id);

  EXPECT_TRUE(plainReleasedDuringReset);
  EXPECT_EQ(managed->Texture(), managedBefore);
  EXPECT_EQ(TexturePixel(*managed, 1, 1), 0xFF123456u);
  ASSERT_NE(plain->Texture(), nullptr);
  EXPECT_EQ(plain->TextureWidth(), 2u);
  EXPECT_EQ(halts_, 0);
}

TEST_F(DGTextureTest, FailedCreationLeavesTheTextureAbsent) {
  StartDevice();
  D3D9Hooks().FailCreateTexture = 1;
  auto texture = MakeTexture();
  texture->SetSize(4, 4);
  EXPECT_EQ(texture->Texture(), nullptr);
  EXPECT_GE(FindLine("テクスチャの生成に失敗しました(Error Code = D3DERR_OUTOFVIDEOMEMORY)"), 0);
  EXPECT_GE(FindLine("テクスチャが確保されていません。LockRectの前にSetSizeするか、BMPを読み込んでください"
                     "(Error Code = UNKNOWN ERROR ... $00000001)"),
            0);
  // The next device re-creation brings it back at its size.
  SetWindowMode800();
  ASSERT_NE(texture->Texture(), nullptr);
  EXPECT_EQ(texture->TextureWidth(), 4u);
}

TEST_F(DGTextureTest, DestroyingUnregistersAndLogs) {
  StartDevice();
  auto texture = MakeTexture();
  texture->SetSize(2, 2);
  const int32_t id = texture->ResourceID();
  EXPECT_TRUE(device_->Resources().IsRegistered(id));
  EXPECT_GE(FindLine("VUDaderリソース(TDGTexture)を登録します ID は " + std::to_string(id) + "() です"), 0);
  texture.reset();
  EXPECT_FALSE(device_->Resources().IsRegistered(id));
  const int freed = FindLine("テクスチャオブジェクトを解放します");
  EXPECT_GE(freed, 0);
  EXPECT_GT(FindLine("VUDaderリソース(TDGTexture) : ID " + std::to_string(id) + "() を登録解除します"), freed);
  EXPECT_EQ(halts_, 0) << "the texture held the only reference";
}

TEST_F(DGTextureTest, TextureLeftAtTeardownIsFreedByTheDevice) {
  StartDevice();
  TDGTexture* texture = MakeTexture().release();
  texture->SetSize(2, 2);
  DestroyDevice();
  const int notice = FindLine("ID 0() のVUDaderリソースは、明示的に解放されていません");
  EXPECT_GE(notice, 0);
  EXPECT_GT(FindLine("テクスチャオブジェクトを解放します", notice), notice);
  EXPECT_EQ(halts_, 0);
}

}  // namespace

namespace {

using devicetest::DeviceTest;

class TeardownTest : public DeviceTest {};

TEST_F(TeardownTest, UnwritableLogDoesNotStopTheReleasing) {
  StartDevice();
  auto* texture = new TDGTexture(device_, "", kGameFormats, 0, D3DPOOL_MANAGED, 0);
  texture->SetSize(2, 2);
  auto* leftOver = new TDGTexture(device_, "", kGameFormats, 0, D3DPOOL_MANAGED, 0);
  leftOver->SetSize(2, 2);
  SetLogFolder(folder_ / "gone" / "away");
  EXPECT_THROW(WriteLog("x"), EInOutError);
  const int32_t id = texture->ResourceID();
  delete texture;
  EXPECT_FALSE(device_->Resources().IsRegistered(id));
  DestroyDevice();  // frees the texture left over, releases device and API object
  EXPECT_EQ(halts_, 0);
}

}  // namespace

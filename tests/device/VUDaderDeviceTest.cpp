#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "DeviceTestSupport.h"
#include "TObject.h"

namespace {

using devicetest::DeviceTest;

class VUDaderDeviceTest : public DeviceTest {};

bool StartsWith(const std::string& Text, const std::string& Prefix) { return Text.rfind(Prefix, 0) == 0; }

TEST_F(VUDaderDeviceTest, LoadingNarratesTheFirstDeviceLineByLine) {
  StartDevice({dgoDebugMessage, dgoDetailedLog}, /*resize=*/false);
  const std::vector<std::string> lines = LogLines();
  const std::vector<std::string> expected = {
      "",
      "■■■起動時の初期化をします■■■",
      "  Direct3Dを生成します",
      "  ウィンドウのクライアント領域のサイズに合わせて初期化を開始します",
      "  ",
      "  ■■■Windowモードへ移行します■■■",
      "    ",
      "    ■■■Direct3Dデバイスを解放します■■■",
      "      全てのVUDaderリソースを解放します",
      "    ■■■Direct3Dデバイスを解放しました■■■",
      "    ",
      "    ",
      "    ■■■画面モードを初期化します■■■",
      "      Driver : ",
      "      Description : ",
      "      VendorID : ",
      "      ウィンドウモード 792x566で初期化します",
      "      ハードウェアアクセラレーションを利用します",
      "      希望のデプスステンシルサーフェスのフォーマットが見つかりませんでした",
      "      デプスステンシルサーフェスのフォーマット...UNKNOWN",
      "      ソフトウェアT&Lを利用します",
      "      Direct3DDeviceオブジェクトの生成を行います",
      "      全てのVUDaderリソースを再構築します",
      "    ■■■画面モードを初期化しました■■■",
      "    ",
      "  ■■■Windowモードへ移行しました■■■",
      "  ",
      "■■■VUDader 起動しました■■■",
      "",
  };
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    if (StartsWith(expected[i], "      Driver") || StartsWith(expected[i], "      Description") ||
        StartsWith(expected[i], "      VendorID"))
      EXPECT_TRUE(StartsWith(lines[i], expected[i])) << i << ": " << lines[i];
    else
      EXPECT_EQ(lines[i], expected[i]) << "line " << i;
  }
  // Identifiers are eight upper-case hexadecimal digits each.
  EXPECT_TRUE(std::regex_match(lines[15], std::regex("      VendorID : [0-9A-F]{8}, DeviceID : [0-9A-F]{8}, "
                                                     "SubSysID : [0-9A-F]{8}, Revision : [0-9A-F]{8}")))
      << lines[15];
  EXPECT_EQ(LogIndent, 0);
  EXPECT_EQ(halts_, 0);
}

TEST_F(VUDaderDeviceTest, FirstDeviceAtTheStoredClientSizeThenRecreatedAt800x600) {
  TVUDader& dg = StartDevice({dgoDebugMessage, dgoDetailedLog}, /*resize=*/false);
  ASSERT_NE(dg.D3DDevice(), nullptr);
  EXPECT_EQ(dg.Width(), 792);
  EXPECT_EQ(dg.Height(), 566);
  IDirect3DDevice9* first = dg.D3DDevice();

  SetWindowMode800();
  ASSERT_NE(dg.D3DDevice(), nullptr);
  EXPECT_EQ(dg.Width(), 800);
  EXPECT_EQ(dg.Height(), 600);
  EXPECT_TRUE(dg.Windowed());
  EXPECT_EQ(dg.PresentParams().Windowed, BOOL(-1));
  EXPECT_EQ(dg.PresentParams().EnableAutoDepthStencil, 0);
  EXPECT_EQ(dg.PresentParams().hDeviceWindow, window_.get());
  EXPECT_EQ(dg.DeviceType(), D3DDEVTYPE_HAL);
  EXPECT_EQ(dg.Adapter(), 0u);
  EXPECT_GE(dg.BackBufferCount(), 1);
  ASSERT_NE(dg.BackBuffer(0), nullptr);
  EXPECT_EQ(dg.BackBuffer(dg.BackBufferCount()), nullptr);
  D3DSURFACE_DESC desc{};
  ASSERT_EQ(dg.BackBuffer(0)->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Width, 800u);
  EXPECT_EQ(desc.Height, 600u);
  EXPECT_EQ(dg.BackBufferFormat(), desc.Format);
  EXPECT_EQ(dg.DepthStencil(), nullptr);
  (void)first;

  // The client area is 800 x 600; the frame (8 x 34) and the position are kept.
  EXPECT_EQ(window_->ClientWidth(), 800);
  EXPECT_EQ(window_->ClientHeight(), 600);
  EXPECT_EQ(window_->WindowWidth(), 808);
  EXPECT_EQ(window_->WindowHeight(), 634);
  EXPECT_EQ(window_->Left(), 192);
  EXPECT_EQ(window_->Top(), 114);
  EXPECT_TRUE(window_->Shown());
  EXPECT_GE(FindLine("ウィンドウモード 800x600で初期化します"), 0);
  EXPECT_EQ(halts_, 0);
}

TEST_F(VUDaderDeviceTest, ReferenceDeviceWhenAskedOrWhenTheHardwareDeviceIsMissing) {
  {
    window_ = std::make_unique<THeadlessWindow>(800, 600);
    device_ = new TVUDader(window_.get());
    device_->SetDebugOption({dgoDebugMessage, dgoDetailedLog});
    device_->UseREFDevice = true;
    device_->Loaded();
    EXPECT_EQ(device_->DeviceType(), D3DDEVTYPE_REF);
    EXPECT_GE(FindLine("ソフトウェアエミュレーションを利用します"), 0);
    EXPECT_EQ(FindLine("ハードウェアアクセラレーションを利用します"), -1);
    DestroyDevice();
  }
  LogLineCount = 0;
  D3D9Hooks().FailHalCaps = true;
  StartDevice();
  EXPECT_EQ(device_->DeviceType(), D3DDEVTYPE_REF);
  EXPECT_NE(device_->D3DDevice(), nullptr);
  EXPECT_GE(FindLine("ソフトウェアエミュレーションを利用します"), 0);
}

TEST_F(VUDaderDeviceTest, VertexProcessingFollowsTheCapabilitiesAndTheProperty) {
  D3D9Hooks().ReportHardwareTnL = true;
  StartDevice({dgoDebugMessage, dgoDetailedLog}, false);
  EXPECT_GE(FindLine("ハードウェアT&Lを利用します"), 0);
  EXPECT_EQ(FindLine("ソフトウェアT&Lを利用します"), -1);
  DestroyDevice();

  LogLineCount = 0;
  window_ = std::make_unique<THeadlessWindow>(800, 600);
  device_ = new TVUDader(window_.get());
  device_->SetDebugOption({dgoDebugMessage, dgoDetailedLog});
  device_->UseSoftwareVertexProcessing = true;
  device_->Loaded();
  EXPECT_GE(FindLine("ソフトウェアT&Lを利用します"), 0);
  EXPECT_EQ(FindLine("ハードウェアT&Lを利用します"), -1);
  EXPECT_EQ(device_->DeviceType(), D3DDEVTYPE_HAL);
}

TEST_F(VUDaderDeviceTest, FirstAcceptedDepthStencilFormatOfTheListWins) {
  D3D9Hooks().DepthStencilFormats = {D3DFMT_D24S8, D3DFMT_D16};
  TVUDader& dg = StartDevice({dgoDebugMessage, dgoDetailedLog}, false);
  dg.SetWindowMode(800, 600, {D3DFMT_D32, D3DFMT_D16, D3DFMT_D24S8}, 0, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
  EXPECT_EQ(dg.PresentParams().EnableAutoDepthStencil, BOOL(-1));
  EXPECT_EQ(dg.PresentParams().AutoDepthStencilFormat, D3DFMT_D16);
  EXPECT_GE(FindLine("デプスステンシルサーフェスのフォーマット...D16"), 0);
  EXPECT_NE(dg.DepthStencil(), nullptr);
  // Releasing the device releases its depth surface too.
  const int from = int(LogLines().size());
  SetWindowMode800();
  EXPECT_GE(FindLine("デプスステンシルサーフェスを解放します", from), 0);
  EXPECT_EQ(dg.DepthStencil(), nullptr);
  EXPECT_EQ(halts_, 0);
}

TEST_F(VUDaderDeviceTest, EmptyOptionsWriteNothingAndNeverHalt) {
  TVUDader& dg = StartDevice({});
  dg.UnregisterResource(7);
  D3D9Hooks().FailCreateDevice = true;
  SetWindowMode800();
  EXPECT_FALSE(LogExists());
  EXPECT_EQ(halts_, 0);
}

TEST_F(VUDaderDeviceTest, DebugMessageAloneLogsOnlyFailures) {
  TVUDader& dg = StartDevice({dgoDebugMessage});
  EXPECT_FALSE(LogExists());
  dg.UnregisterResource(7);
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0],
            "リストに入ってないVUDaderリソース(ID:7)が、UnregisterResource手続きに渡されました"
            "(Error Code = UNKNOWN ERROR ... $00000001)");
}

TEST_F(VUDaderDeviceTest, FailedDeviceCreationLeavesNoDeviceAndRecovers) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  D3D9Hooks().FailCreateDevice = true;
  SetWindowMode800();
  EXPECT_EQ(dg.D3DDevice(), nullptr);
  EXPECT_GE(FindLine("Direct3DDeviceオブジェクトの生成に失敗しました(Error Code = D3DERR_NOTAVAILABLE)"), 0);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
  // Resetting without a device reports and goes on.
  dg.ResetDevice();
  D3D9Hooks().FailCreateDevice = false;
  SetWindowMode800();
  EXPECT_NE(dg.D3DDevice(), nullptr);
}

// Records the device's reset handlers and whether the device answered D3D_OK after the reset.
class TResetProbe : public TObject {
 public:
  TResetProbe(TVUDader& Device, const std::string& Name, std::vector<std::string>& Calls)
      : device_(Device), name_(Name), calls_(Calls) {
    id_ = Device.RegisterResource(
        this, Name, nullptr, nullptr, [this] { calls_.push_back(name_ + ":before"); },
        [this] { calls_.push_back(name_ + ":after"); });
  }
  ~TResetProbe() override { device_.UnregisterResource(id_); }

 private:
  TVUDader& device_;
  std::string name_;
  std::vector<std::string>& calls_;
  int32_t id_;
};

TEST_F(VUDaderDeviceTest, LostDeviceIsResetWithHandlersAroundIt) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  TResetProbe a(dg, "a", calls);
  TResetProbe b(dg, "b", calls);
  D3D9LoseDevice(dg.D3DDevice(), 1);
  EXPECT_EQ(dg.D3DDevice()->TestCooperativeLevel(), D3DERR_DEVICELOST);
  EXPECT_EQ(dg.D3DDevice()->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

  const int from = int(LogLines().size());
  dg.ResetDevice();
  EXPECT_EQ(calls, (std::vector<std::string>{"a:before", "b:before", "a:after", "b:after"}));
  EXPECT_EQ(dg.D3DDevice()->TestCooperativeLevel(), D3D_OK);
  ASSERT_NE(dg.BackBuffer(0), nullptr);
  D3DSURFACE_DESC desc{};
  ASSERT_EQ(dg.BackBuffer(0)->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Width, 800u);
  const int begin = FindLine("■■■Direct3DDeviceをリセットします■■■", from);
  EXPECT_GT(begin, from);
  EXPECT_GT(FindLine("■■■Direct3DDeviceをリセットしました■■■", begin), begin);
  EXPECT_EQ(FindLine("リセットに失敗しました(Error Code = D3DERR_DEVICELOST)", from), -1);
  EXPECT_EQ(LogIndent, 0);
}

TEST_F(VUDaderDeviceTest, ResetWhileStillLostIsReportedAndHandlersStillRun) {
  TVUDader& dg = StartDevice();
  std::vector<std::string> calls;
  TResetProbe a(dg, "a", calls);
  D3D9LoseDevice(dg.D3DDevice(), 5);
  dg.ResetDevice();
  EXPECT_EQ(calls, (std::vector<std::string>{"a:before", "a:after"}));
  EXPECT_GE(FindLine("リセットに失敗しました(Error Code = D3DERR_DEVICELOST)"), 0);
  EXPECT_EQ(halts_, ErrorLines());  // each reported failure halts
}

TEST_F(VUDaderDeviceTest, TeardownReleasesDeviceAndApiObjectWithoutLeftovers) {
  StartDevice();
  const int from = int(LogLines().size());
  DestroyDevice();
  const std::vector<std::string> lines = LogLines();
  const std::vector<std::string> tail(lines.begin() + from, lines.end());
  const std::vector<std::string> expected = {
      "",
      "■■■お別れの時がやってまいりました■■■",
      "  VUDaderオブジェクトの解放に伴い、全ての関連オブジェクトを解放します",
      "  ",
      "  ■■■Direct3Dデバイスを解放します■■■",
      "    全てのVUDaderリソースを解放します",
      "    バックバッファを解放します",
      "    Direct3DDeviceオブジェクトの解放を行います",
      "  ■■■Direct3Dデバイスを解放しました■■■",
      "  ",
      "  Direct3Dオブジェクトの解放を行います",
      "■■■それではごきげんよう■■■",
      "",
  };
  EXPECT_EQ(tail, expected);
  EXPECT_EQ(halts_, 0) << "every reference count reached 0";
}

}  // namespace

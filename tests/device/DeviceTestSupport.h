// Shared set-up of the device-layer tests: the debug log redirected into a fresh folder and halts
// counted instead of ending the process; for device tests also a headless owner window, a device
// component loaded on it, and the software device's test hooks reset after each test.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "DebugLog.h"
#include "HeadlessWindow.h"
#include "TextEncoding.h"
#include "VUDaderDevice.h"
#include "support/D3D9TestHooks.h"

namespace devicetest {

// What a halting result check throws when a test asks for it (throwOnHalt_).
struct THalted {};

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "morvanth-device-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    SetLogFolder(folder_);
    SetHaltHandler([this] {
      ++halts_;
      if (throwOnHalt_) throw THalted{};
    });
    LogLineCount = 0;
    LogIndent = 0;
  }

  void TearDown() override {
    SetLogFolder({});
    SetHaltHandler({});
    ApplyDebugOption({dgoHaltOnError, dgoDebugMessage, dgoDetailedLog});
    LogLineCount = 0;
    LogIndent = 0;
    std::filesystem::remove_all(folder_);
  }

  std::filesystem::path LogPath() const { return folder_ / "VUDader_DebugLog.txt"; }
  bool LogExists() const { return std::filesystem::exists(LogPath()); }
  // The log file's bytes as written (CP932, CR LF).
  std::string LogText() const {
    std::ifstream in(LogPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path folder_;
  int halts_ = 0;
  bool throwOnHalt_ = false;
};

class DeviceTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    D3D9Hooks().Reset();
  }

  void TearDown() override {
    delete device_;  // frees whatever a test left registered, still logging into the test's folder
    device_ = nullptr;
    D3D9Hooks().Reset();
    LogTest::TearDown();
  }

  // The main window's start-up: a window of the form's stored client size, the component with the
  // given options, loaded (first device), then re-created at 800 x 600. Halting is on by default, so that a
  // test's "no halt" means no failed result.
  TVUDader& StartDevice(TDGDebugOption Options = {dgoHaltOnError, dgoDebugMessage, dgoDetailedLog},
                        bool Resize = true) {
    window_ = std::make_unique<THeadlessWindow>(792, 566, 8, 34, 192, 114);
    device_ = new TVUDader(window_.get());
    device_->SetDebugOption(Options);
    device_->Loaded();
    if (Resize) SetWindowMode800();
    return *device_;
  }

  void SetWindowMode800() {
    device_->SetWindowMode(800, 600, {}, D3DPRESENT_INTERVAL_DEFAULT, D3DSWAPEFFECT_DISCARD, D3DMULTISAMPLE_NONE, 0);
  }

  // Deletes the component now (as the main window's teardown does).
  void DestroyDevice() {
    delete device_;
    device_ = nullptr;
  }

  // The log's lines in UTF-8 without their "#NNNNN | " prefix (indentation kept).
  std::vector<std::string> LogLines() const {
    const std::string text = LogText();
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      const size_t bar = line.find(" | ");
      lines.push_back(ToUTF8(bar == std::string::npos ? line : line.substr(bar + 3)));
      start = end + 2;
    }
    return lines;
  }

  // Index of the first line at or after `From` equal to `Line` (indentation ignored), or -1.
  int FindLine(const std::string& Line, int From = 0) const {
    const std::vector<std::string> lines = LogLines();
    for (int i = From; i < int(lines.size()); ++i) {
      const size_t text = lines[size_t(i)].find_first_not_of(' ');
      if (lines[size_t(i)].substr(text == std::string::npos ? lines[size_t(i)].size() : text) == Line) return i;
    }
    return -1;
  }
  // Lines reporting a failed result; with dgoHaltOnError on (the default here) each one halted once.
  int ErrorLines() const {
    int count = 0;
    for (const std::string& line : LogLines()) count += line.find("(Error Code") != std::string::npos;
    return count;
  }
  int CountLines(const std::string& Line) const {
    int count = 0;
    for (int at = FindLine(Line); at >= 0; at = FindLine(Line, at + 1)) ++count;
    return count;
  }

  std::unique_ptr<THeadlessWindow> window_;
  TVUDader* device_ = nullptr;
};

}  // namespace devicetest

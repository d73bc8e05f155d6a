#include "StateStream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "data/DataTestSupport.h"

namespace {

std::string ThrownBy(const std::string& Target) {
  try {
    TStateStream stream(Target);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

TEST(StateStreamTest, AFileGetsOneLinePerFrameAndStartsEmptyEachRun) {
  const std::string path = ::testing::TempDir() + "state_stream_test.jsonl";
  {
    std::ofstream(path) << "left from an earlier run\n";
    TStateStream stream(path);
    stream.FrameDone(0, nullptr, nullptr);
    stream.FrameDone(1, nullptr, nullptr);
  }
  EXPECT_EQ(datatest::ReadFile(path), "{\"frame\":0,\"scene\":-1}\n{\"frame\":1,\"scene\":-1}\n");
  std::remove(path.c_str());
}

TEST(StateStreamTest, ADescriptorIsWrittenAndLeftOpen) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  {
    TStateStream stream("fd:" + std::to_string(ends[1]));
    stream.FrameDone(7, nullptr, nullptr);
  }
  ASSERT_NE(fcntl(ends[1], F_GETFL), -1);
  close(ends[1]);
  char text[64] = {};
  const ssize_t n = read(ends[0], text, sizeof text - 1);
  close(ends[0]);
  EXPECT_EQ(std::string(text, n > 0 ? n : 0), "{\"frame\":7,\"scene\":-1}\n");
}

TEST(StateStreamTest, AnUnusableTargetIsRefusedByName) {
  for (const char* target : {"fd:", "fd:3x", "fd:-1", "fd:999999", "/no/such/folder/state.jsonl"}) {
    const std::string message = ThrownBy(target);
    EXPECT_NE(message.find("MORVANTH_STATE_FILE"), std::string::npos) << target << ": " << message;
    EXPECT_NE(message.find(target), std::string::npos) << target << ": " << message;
  }
}

TEST(StateStreamTest, AFailedWriteIsReportedOnceAndTheStreamEnds) {
  const int readOnly = open("/dev/null", O_RDONLY);
  ASSERT_GE(readOnly, 0);
  TStateStream stream("fd:" + std::to_string(readOnly));
  ::testing::internal::CaptureStderr();
  stream.FrameDone(0, nullptr, nullptr);
  stream.FrameDone(1, nullptr, nullptr);
  const std::string errors = ::testing::internal::GetCapturedStderr();
  close(readOnly);
  EXPECT_EQ(errors.find("morvanth: state lines to fd:"), 0u) << errors;
  EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
}

}  // namespace

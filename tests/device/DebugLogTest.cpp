#include "DebugLog.h"

#include <gtest/gtest.h>

#include <fstream>

#include "DeviceTestSupport.h"
#include "TextEncoding.h"

namespace {

using devicetest::THalted;
using DebugLogTest = devicetest::LogTest;

TEST_F(DebugLogTest, FirstLineOfARunReplacesAnEarlierLog) {
  ApplyDebugOption({dgoDebugMessage, dgoDetailedLog});
  std::ofstream(folder_ / "VUDader_DebugLog.txt") << "old run\r\n";
  WriteLog("first");
  WriteDetail("second");
  WriteDetail("");
  EXPECT_EQ(LogText(), "#00001 | first\r\n#00002 | second\r\n#00003 | \r\n");
  EXPECT_EQ(LogLineCount, 3);
}

TEST_F(DebugLogTest, IndentIsTwoBlanksPerLevelAndNoneBelowZero) {
  ApplyDebugOption({dgoDebugMessage, dgoDetailedLog});
  LogIndent = 2;
  WriteLog("deep");
  LogIndent = 1;
  WriteDetail("");
  LogIndent = -3;
  WriteLog("neg");
  EXPECT_EQ(LogText(), "#00001 |     deep\r\n#00002 |   \r\n#00003 | neg\r\n");
}

TEST_F(DebugLogTest, LineNumbersGrowPastFiveDigits) {
  ApplyDebugOption({dgoDebugMessage});
  WriteLog("a");  // creates the file
  LogLineCount = 99999;
  WriteLog("b");
  LogLineCount = 1234566;
  WriteLog("c");
  EXPECT_EQ(LogText(), "#00001 | a\r\n#100000 | b\r\n#1234567 | c\r\n");
}

TEST_F(DebugLogTest, JapaneseMessagesAreWrittenAsCP932) {
  ApplyDebugOption({dgoDebugMessage});
  EXPECT_EQ(CheckResult(D3DERR_DEVICELOST, Jp("リセットに失敗しました")), D3DERR_DEVICELOST);
  const std::string expected = "#00001 | " + Jp("リセットに失敗しました") + "(Error Code = D3DERR_DEVICELOST)\r\n";
  EXPECT_EQ(LogText(), expected);
  EXPECT_EQ(expected.size(), 9u + 22u + 32u + 2u);  // 11 double-byte characters
}

TEST_F(DebugLogTest, CheckResultNamesReleaseCountsAndBlankEndedNames) {
  ApplyDebugOption({dgoDebugMessage});
  EXPECT_EQ(CheckResult(3, "Release"), 3);
  EXPECT_EQ(CheckResult(D3DERR_INVALIDCALL, "Call"), D3DERR_INVALIDCALL);
  EXPECT_EQ(CheckResult(D3D_OK, "never"), 0);
  EXPECT_EQ(LogText(),
            "#00001 | Release(Error Code = UNKNOWN ERROR ... $00000003)\r\n"
            "#00002 | Call(Error Code = D3DERR_INVALIDCALL )\r\n");
  EXPECT_EQ(halts_, 0);
}

TEST(ErrorNameTest, TableNamesAndUnknownCodes) {
  EXPECT_EQ(ErrorName(0), "D3D_OK");
  EXPECT_EQ(ErrorName(D3DERR_OUTOFVIDEOMEMORY), "D3DERR_OUTOFVIDEOMEMORY");
  EXPECT_EQ(ErrorName(D3DERR_DEVICENOTRESET), "D3DERR_DEVICENOTRESET");
  EXPECT_EQ(ErrorName(D3DERR_DRIVERINVALIDCALL), "D3DERR_DRIVERINVALIDCALL ");
  EXPECT_EQ(ErrorName(1), "UNKNOWN ERROR ... $00000001");
  EXPECT_EQ(ErrorName(E_FAIL), "UNKNOWN ERROR ... $80004005");
  EXPECT_EQ(ErrorName(MakeHResult(0x8876ABCDu)), "UNKNOWN ERROR ... $8876ABCD");

  const HRESULT blankEnded[] = {
      D3DERR_UNSUPPORTEDCOLOROPERATION, D3DERR_UNSUPPORTEDCOLORARG, D3DERR_UNSUPPORTEDALPHAOPERATION,
      D3DERR_UNSUPPORTEDALPHAARG,       D3DERR_TOOMANYOPERATIONS,   D3DERR_CONFLICTINGTEXTUREPALETTE,
      D3DERR_DRIVERINTERNALERROR,       D3DERR_INVALIDDEVICE,       D3DERR_INVALIDCALL,
      D3DERR_DRIVERINVALIDCALL};
  const HRESULT plain[] = {D3D_OK,
                           D3DERR_OUTOFVIDEOMEMORY,
                           D3DERR_WRONGTEXTUREFORMAT,
                           D3DERR_CONFLICTINGTEXTUREFILTER,
                           D3DERR_UNSUPPORTEDFACTORVALUE,
                           D3DERR_CONFLICTINGRENDERSTATE,
                           D3DERR_UNSUPPORTEDTEXTUREFILTER,
                           D3DERR_NOTFOUND,
                           D3DERR_MOREDATA,
                           D3DERR_DEVICELOST,
                           D3DERR_DEVICENOTRESET,
                           D3DERR_NOTAVAILABLE};
  for (HRESULT code : blankEnded) {
    const std::string name = ErrorName(code);
    EXPECT_EQ(name.back(), ' ') << name;
    EXPECT_EQ(name.rfind("D3DERR_", 0), 0u) << name;
  }
  for (HRESULT code : plain) {
    const std::string name = ErrorName(code);
    EXPECT_NE(name.back(), ' ') << name;
    EXPECT_EQ(name.find("UNKNOWN"), std::string::npos) << name;
  }
}

TEST_F(DebugLogTest, EmptyOptionsWriteNothingAndNeverHalt) {
  ApplyDebugOption({});
  WriteLog("x");
  WriteDetail("y");
  EXPECT_EQ(CheckResult(D3DERR_INVALIDCALL, "z"), D3DERR_INVALIDCALL);
  EXPECT_FALSE(LogExists());
  EXPECT_EQ(LogLineCount, 0);
  EXPECT_EQ(halts_, 0);
}

TEST_F(DebugLogTest, DebugMessageAloneLogsOnlyErrorLines) {
  ApplyDebugOption({dgoDebugMessage});
  WriteDetail("info");
  CheckResult(D3DERR_NOTAVAILABLE, "fail");
  WriteLog("plain");
  EXPECT_EQ(LogText(), "#00001 | fail(Error Code = D3DERR_NOTAVAILABLE)\r\n#00002 | plain\r\n");
  EXPECT_EQ(halts_, 0);
}

TEST_F(DebugLogTest, DetailedLogAloneWritesNothing) {
  ApplyDebugOption({dgoDetailedLog});
  WriteDetail("info");
  WriteLog("plain");
  CheckResult(D3DERR_NOTAVAILABLE, "fail");
  EXPECT_FALSE(LogExists());
  EXPECT_EQ(halts_, 0);
}

TEST_F(DebugLogTest, HaltAloneStopsWithoutWritingALine) {
  ApplyDebugOption({dgoHaltOnError});
  throwOnHalt_ = true;
  EXPECT_THROW(CheckResult(D3DERR_INVALIDCALL, "fail"), THalted);
  EXPECT_EQ(halts_, 1);
  EXPECT_FALSE(LogExists());
  EXPECT_NO_THROW(CheckResult(D3D_OK, "ok"));
  EXPECT_EQ(halts_, 1);
}

TEST_F(DebugLogTest, HaltWithLogWritesTheLineFirst) {
  ApplyDebugOption({dgoHaltOnError, dgoDebugMessage, dgoDetailedLog});
  throwOnHalt_ = true;
  EXPECT_THROW(CheckResult(1, "own failure"), THalted);
  EXPECT_EQ(LogText(), "#00001 | own failure(Error Code = UNKNOWN ERROR ... $00000001)\r\n");
}

TEST_F(DebugLogTest, OptionBitsAndStartValues) {
  EXPECT_EQ(TDGDebugOption({dgoHaltOnError, dgoDebugMessage, dgoDetailedLog}).Byte(), 7);
  EXPECT_EQ(TDGDebugOption({dgoDebugMessage}).Byte(), 2);
  EXPECT_EQ(TDGDebugOption::FromByte(0xFF).Byte(), 7);
  EXPECT_TRUE(TDGDebugOption::FromByte(4).Contains(dgoDetailedLog));
  EXPECT_FALSE(TDGDebugOption::FromByte(4).Contains(dgoHaltOnError));
  ApplyDebugOption(TDGDebugOption::FromByte(5));
  EXPECT_EQ(CurrentDebugOption(), TDGDebugOption({dgoHaltOnError, dgoDetailedLog}));
}

TEST_F(DebugLogTest, AnUnwritableLogRaisesAnIOError) {
  ApplyDebugOption({dgoDebugMessage});
  SetLogFolder(folder_ / "missing");
  try {
    WriteLog("x");
    FAIL() << "no exception";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode, ENOENT);
    EXPECT_EQ(error.Message().rfind("I/O error 2", 0), 0u);
  }
  EXPECT_EQ(LogLineCount, 0);
}

TEST_F(DebugLogTest, DefaultLogFolderIsTheExecutablesFolder) {
  SetLogFolder({});
  EXPECT_EQ(LogFilePath(), std::filesystem::read_symlink("/proc/self/exe").parent_path() / "VUDader_DebugLog.txt");
}

TEST(DebugLogDeathTest, DefaultHaltEndsTheProcessWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ApplyDebugOption({dgoHaltOnError});
        CheckResult(D3DERR_DEVICELOST, "fail");
        std::abort();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace

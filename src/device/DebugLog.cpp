#include "DebugLog.h"

#include "FileSystem.h"
#include "TextEncoding.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

int32_t LogIndent = 0;
int32_t LogLineCount = 0;

namespace {

// Module-wide switches; all on until the device applies its DebugOption.
bool HaltSwitch = true;
bool LogSwitch = true;
bool DetailSwitch = true;

std::filesystem::path& LogFolderOverride() {
  static std::filesystem::path folder;
  return folder;
}

std::function<void()>& HaltHandler() {
  static std::function<void()> handler;
  return handler;
}

std::string FormatMessage(int ErrorCode) {
  char text[160];
  std::snprintf(text, sizeof text, "I/O error %d (%s)", ErrorCode, std::strerror(ErrorCode));
  return text;
}

// Closes the file on every path out of WriteLog.
struct TFileCloser {
  void operator()(std::FILE* File) const { std::fclose(File); }
};

struct TErrorNameEntry {
  uint32_t Code;
  const char* Name;
};

// Ten names end with a blank; the blank shows in the log just before the closing parenthesis.
constexpr TErrorNameEntry kErrorNames[] = {
    {0x00000000u, "D3D_OK"},
    {0x8876017Cu, "D3DERR_OUTOFVIDEOMEMORY"},
    {0x88760818u, "D3DERR_WRONGTEXTUREFORMAT"},
    {0x88760819u, "D3DERR_UNSUPPORTEDCOLOROPERATION "},
    {0x8876081Au, "D3DERR_UNSUPPORTEDCOLORARG "},
    {0x8876081Bu, "D3DERR_UNSUPPORTEDALPHAOPERATION "},
    {0x8876081Cu, "D3DERR_UNSUPPORTEDALPHAARG "},
    {0x8876081Du, "D3DERR_TOOMANYOPERATIONS "},
    {0x8876081Eu, "D3DERR_CONFLICTINGTEXTUREFILTER"},
    {0x8876081Fu, "D3DERR_UNSUPPORTEDFACTORVALUE"},
    {0x88760821u, "D3DERR_CONFLICTINGRENDERSTATE"},
    {0x88760822u, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
    {0x88760826u, "D3DERR_CONFLICTINGTEXTUREPALETTE "},
    {0x88760827u, "D3DERR_DRIVERINTERNALERROR "},
    {0x88760866u, "D3DERR_NOTFOUND"},
    {0x88760867u, "D3DERR_MOREDATA"},
    {0x88760868u, "D3DERR_DEVICELOST"},
    {0x88760869u, "D3DERR_DEVICENOTRESET"},
    {0x8876086Au, "D3DERR_NOTAVAILABLE"},
    {0x8876086Bu, "D3DERR_INVALIDDEVICE "},
    {0x8876086Cu, "D3DERR_INVALIDCALL "},
    {0x8876086Du, "D3DERR_DRIVERINVALIDCALL "},
};

}  // namespace

EInOutError::EInOutError(int Code) : Exception(FormatMessage(Code)), ErrorCode(Code) {}

void ApplyDebugOption(TDGDebugOption Value) {
  HaltSwitch = Value.Contains(dgoHaltOnError);
  LogSwitch = Value.Contains(dgoDebugMessage);
  DetailSwitch = Value.Contains(dgoDetailedLog);
}

TDGDebugOption CurrentDebugOption() {
  TDGDebugOption result;
  if (HaltSwitch) result.Include(dgoHaltOnError);
  if (LogSwitch) result.Include(dgoDebugMessage);
  if (DetailSwitch) result.Include(dgoDetailedLog);
  return result;
}

std::filesystem::path LogFilePath() {
  const std::filesystem::path& folder = LogFolderOverride();
  return (folder.empty() ? std::filesystem::path(ProgramDirectory()) : folder) / "VUDader_DebugLog.txt";
}

void WriteLog(const std::string& Message) {
  if (!LogSwitch) return;
  // Opened and closed per line, so the log is complete up to the last line even if the program stops abruptly.
  const std::filesystem::path path = LogFilePath();
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), LogLineCount == 0 ? "wb" : "ab"));
  if (!file) throw EInOutError(errno);
  ++LogLineCount;
  std::string line = "#";
  char number[16];
  std::snprintf(number, sizeof number, "%.5d", LogLineCount);
  line += number;
  line += " | ";
  for (int32_t level = 0; level < LogIndent; ++level) line += "  ";
  line += Message;
  line += "\r\n";
  if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size()) throw EInOutError(errno ? errno : EIO);
  std::FILE* raw = file.release();
  if (std::fclose(raw) != 0) throw EInOutError(errno ? errno : EIO);
}

void WriteDetail(const std::string& Message) {
  if (DetailSwitch) WriteLog(Message);
}

HRESULT CheckResult(HRESULT Code, const std::string& Message) {
  if (Code == 0) return 0;
  WriteLog(Message + "(Error Code = " + ErrorName(Code) + ")");
  if (HaltSwitch) {
    if (const std::function<void()>& handler = HaltHandler()) {
      handler();
    } else {
      std::exit(0);
    }
  }
  return Code;
}

std::string ErrorName(HRESULT Code) {
  const uint32_t code = static_cast<uint32_t>(Code);
  for (const TErrorNameEntry& entry : kErrorNames) {
    if (entry.Code == code) return entry.Name;
  }
  char text[40];
  std::snprintf(text, sizeof text, "UNKNOWN ERROR ... $%.8X", code);
  return text;
}

void SetLogFolder(const std::filesystem::path& Folder) { LogFolderOverride() = Folder; }

void SetHaltHandler(std::function<void()> Handler) { HaltHandler() = std::move(Handler); }

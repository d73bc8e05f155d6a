// The device debug log: numbered, indented lines in VUDader_DebugLog.txt next to the executable,
// the result check that names a failed Direct3D result and may halt the program, and the switches
// that the device's DebugOption sets.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>

#include "Exception.h"
#include "d3d9types.h"

// The device's debug options; the value is the bit number in the option byte.
enum TDGOption : uint8_t {
  dgoHaltOnError = 0,   // stop the program on a failed result
  dgoDebugMessage = 1,  // write the log at all
  dgoDetailedLog = 2,   // also write informational lines
};

// A set of TDGOption stored in one byte (bit 0 dgoHaltOnError, bit 1 dgoDebugMessage, bit 2 dgoDetailedLog).
class TDGDebugOption {
 public:
  constexpr TDGDebugOption() = default;
  constexpr TDGDebugOption(std::initializer_list<TDGOption> Options) {
    for (TDGOption option : Options) Include(option);
  }
  // The set whose bits are `Bits` (bits above 2 are dropped).
  static constexpr TDGDebugOption FromByte(uint8_t Bits) {
    TDGDebugOption result;
    result.bits_ = Bits & 7u;
    return result;
  }

  constexpr uint8_t Byte() const { return bits_; }
  constexpr bool Contains(TDGOption Option) const { return (bits_ >> Option) & 1u; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr void Include(TDGOption Option) { bits_ = uint8_t(bits_ | (1u << Option)); }
  constexpr void Exclude(TDGOption Option) { bits_ = uint8_t(bits_ & ~(1u << Option)); }
  friend constexpr bool operator==(TDGDebugOption, TDGDebugOption) = default;

 private:
  uint8_t bits_ = 0;
};

// The platform's input/output error: the log file could not be created, opened or written.
// Code (kept as ErrorCode) is the system's error number.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int Code);
  int ErrorCode;
};

// Nesting level of the following lines (two blanks each); callers raise and lower it around groups.
extern int32_t LogIndent;
// Lines written in this run; the first line (count 0 -> 1) truncates the log file.
extern int32_t LogLineCount;

// Sets the halt, log and detail switches from the bits of the device's DebugOption.
void ApplyDebugOption(TDGDebugOption Value);
// The switches as an option set (all three at program start).
TDGDebugOption CurrentDebugOption();

// Writes one line "#%.5d | <indent><Message>" with CR LF when the log switch is on.
// Throws EInOutError when the log file cannot be created, opened or written.
void WriteLog(const std::string& Message);
// WriteLog when the detail switch is on as well; informational lines use it.
void WriteDetail(const std::string& Message);
// Returns Code. A non-zero Code first logs "<Message>(Error Code = <ErrorName(Code)>)" and, with the
// halt switch on, ends the program (see SetHaltHandler).
HRESULT CheckResult(HRESULT Code, const std::string& Message);
// The name of a Direct3D result code, or "UNKNOWN ERROR ... $XXXXXXXX" for any other value.
std::string ErrorName(HRESULT Code);

// Path of the log file: VUDader_DebugLog.txt in the executable's folder (or the folder set below).
std::filesystem::path LogFilePath();

// Test hooks. SetLogFolder redirects the log file (an empty path restores the executable's folder);
// SetHaltHandler replaces what a halting CheckResult does (an empty function restores the default,
// which ends the process with exit status 0). If the handler returns, CheckResult returns Code.
void SetLogFolder(const std::filesystem::path& Folder);
void SetHaltHandler(std::function<void()> Handler);

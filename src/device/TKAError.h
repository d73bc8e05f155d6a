// The exception of the archive reader, and the texts it raises.
#pragma once
#include <cstdint>
#include <string>

#include "Exception.h"

class ETKAError : public Exception {
 public:
  using Exception::Exception;
};

// Messages in CP932. The first two are the ones players and skin authors know; the rest name the ways
// a damaged archive can break, so a bad file is reported for what it is instead of being half read.
namespace TKAMessage {
std::string NotAnArchive();
std::string IdNotFound(const std::string& Id);
std::string HeaderCutShort();
std::string DirectoryPastEnd(uint32_t Count);
std::string DataPastEnd(const std::string& Id);
std::string PairTableCutShort();
std::string PairTablePastLastCode();
std::string BlockLengthCutShort();
std::string BlockCutShort(uint32_t Length, uint64_t Remaining);
std::string PairCycle(uint8_t Code);
std::string PairNestingTooDeep(uint8_t Code);
std::string ExpansionTooLong(uint32_t ItemSize);
std::string ReadFailed();
// Raised by the writer.
std::string BadId(const std::string& Id);
std::string DuplicateId(const std::string& Id);
std::string ArchiveTooLarge(const std::string& Id);
}  // namespace TKAMessage

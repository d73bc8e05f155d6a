// Reader of archive files (kind TKA): many named items in one file, optionally byte-pair encoded.
// Entries come back as in-memory streams positioned at 0, owned by the caller.
#pragma once
#include <cstdint>
#include <istream>
#include <memory>
#include <span>
#include <string>

#include "TKADirectory.h"
#include "TKAError.h"
#include "TKAMemoryStream.h"

// Opens the archive file (CP932 name), reads the entry `Id` and closes the file. A file that cannot be
// opened raises Exception("ファイル <name> を開けません"); archive faults raise ETKAError.
std::unique_ptr<TKAMemoryStream> LoadFromArchive(const std::string& ArchiveFile, const std::string& Id);

// Reads the entry `Id` (matched without regard to letter case) from a seekable archive stream.
std::unique_ptr<TKAMemoryStream> ReadArchiveEntry(std::istream& Stream, const std::string& Id);

// True when bytes 4-7 of the header are "TKA0".
bool IsArchiveHeader(std::span<const uint8_t> Header);

// Expands the byte-pair-encoded blocks from the packed stream's position to its end into `ItemSize` bytes.
std::unique_ptr<TKAMemoryStream> ExpandPairs(std::istream& Packed, uint32_t ItemSize);

// morvanth-tka: lists, extracts and packs archive files (kind TKA) for skin authors and tests.
// File names on the command line are UTF-8; ids inside archives are CP932.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "TKAWriter.h"
#include "TKArc.h"
#include "TextEncoding.h"
#include "Version.h"

namespace {

const char* const Usage =
    "usage: morvanth-tka list ARCHIVE\n"
    "       morvanth-tka extract ARCHIVE ID [OUT]\n"
    "       morvanth-tka pack [--compress] ARCHIVE FILE...\n"
    "       morvanth-tka --help | --version\n"
    "\n"
    "list     prints whether the archive is compressed and, per entry, its data offset,\n"
    "         stored size, item size and id\n"
    "extract  writes the entry ID (letter case ignored) to OUT, to a file named ID in the\n"
    "         current folder when OUT is left out, or to standard output when OUT is -\n"
    "pack     writes a new ARCHIVE holding each FILE under its file name as id;\n"
    "         --compress stores every entry byte-pair encoded\n"
    "--help     show this text\n"
    "--version  show the version\n";

// Errors of the tool itself (as opposed to the archive code's CP932 exceptions).
class EToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line the tool cannot read: answered with the usage and status 2, as every program of the game does.
class EUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::ifstream OpenInput(const std::string& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw EToolError("cannot open " + Path + ": " + std::strerror(errno));
  return in;
}

std::vector<uint8_t> ReadWholeFile(const std::string& Path) {
  std::ifstream in = OpenInput(Path);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EToolError("cannot read " + Path);
  return bytes;
}

void WriteWholeFile(const std::string& Path, const std::vector<uint8_t>& Bytes) {
  if (Path == "-") {
    std::cout.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    std::cout.flush();
    if (!std::cout) throw EToolError("cannot write to standard output");
    return;
  }
  std::ofstream out(Path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  out.close();
  if (!out) throw EToolError("cannot write " + Path + ": " + std::strerror(errno));
}

// A command-line text as an archive id; refuses what CP932 cannot hold rather than storing '?'.
std::string IdFromArgument(const std::string& Utf8) {
  const std::string id = ToCP932(Utf8);
  if (ToUTF8(id) != Utf8) throw EToolError("'" + Utf8 + "' cannot be written in code page 932");
  return id;
}

int List(const std::vector<std::string>& Args) {
  if (Args.size() != 1) throw EUsageError("list takes one archive");
  std::ifstream in = OpenInput(Args[0]);
  const TKADirectory directory = ReadArchiveDirectory(in);
  std::printf("%s archive, %zu entries\n", directory.Compressed ? "compressed" : "plain", directory.Entries.size());
  std::printf("%10s %10s %10s  %s\n", "offset", "stored", "size", "id");
  for (const TKAEntry& entry : directory.Entries) {
    std::printf("%10u %10u %10u  %s\n", entry.Offset, entry.StoredSize, entry.ItemSize, ToUTF8(entry.ID).c_str());
  }
  return 0;
}

int Extract(const std::vector<std::string>& Args) {
  if (Args.size() != 2 && Args.size() != 3) throw EUsageError("extract takes ARCHIVE ID [OUT]");
  std::string out = Args.size() == 3 ? Args[2] : Args[1];
  if (Args.size() == 2 && (out == "." || out == ".." || out.find('/') != std::string::npos)) {
    throw EToolError("id '" + out + "' is no file name here; give OUT");
  }
  std::ifstream in = OpenInput(Args[0]);
  const std::unique_ptr<TKAMemoryStream> entry = ReadArchiveEntry(in, IdFromArgument(Args[1]));
  WriteWholeFile(out, entry->Bytes());
  return 0;
}

int Pack(std::vector<std::string> Args) {
  bool compress = false;
  if (!Args.empty() && Args[0] == "--compress") {
    compress = true;
    Args.erase(Args.begin());
  }
  if (Args.size() < 2) throw EUsageError("pack takes [--compress] ARCHIVE FILE...");
  std::vector<TKAItem> items;
  for (size_t i = 1; i < Args.size(); ++i) {
    const std::string name = std::filesystem::path(Args[i]).filename().string();
    items.push_back({IdFromArgument(name), ReadWholeFile(Args[i])});
  }
  WriteWholeFile(Args[0], TKAWriter::Build(items, compress));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> all(argv + 1, argv + argc);
  if (all.empty()) {
    std::fputs(Usage, stderr);
    return 2;
  }
  const std::string command = all[0];
  const std::vector<std::string> args(all.begin() + 1, all.end());
  try {
    if (command == "-h" || command == "--help" || command == "help") {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (command == "--version") {
      std::printf("morvanth-tka %s\n", kMorvanthVersion);
      return 0;
    }
    if (command == "list") return List(args);
    if (command == "extract") return Extract(args);
    if (command == "pack") return Pack(args);
    throw EUsageError("unknown command '" + command + "'");
  } catch (const EUsageError& e) {
    std::fprintf(stderr, "morvanth-tka: %s\n%s", e.what(), Usage);
    return 2;
  } catch (const Exception& e) {
    std::fprintf(stderr, "morvanth-tka: %s\n", ToUTF8(e.Message()).c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanth-tka: %s\n", e.what());
  }
  return 1;
}

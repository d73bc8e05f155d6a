// Runs a fuzz target's entry function over files without libFuzzer, so the ordinary test suite (plain and
// sanitizer builds) replays every seed and every input that once crashed. Each argument is a file or a
// folder whose files are all fed in, in name order; a folder that does not exist holds nothing (a target
// without regressions). The run fails when nothing was fed at all, and when the target marks the inputs that
// reached the code under test (FuzzReplay.h) and none did.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzReplay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    if (std::filesystem::is_directory(path)) {
      for (const auto& entry : std::filesystem::directory_iterator(path)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else if (std::filesystem::exists(path)) {
      files.push_back(path);
    }
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replay: %zu inputs, %zu reached the code under test\n", files.size(), FuzzInputsReached());
  if (FuzzMarksInputs() && FuzzInputsReached() == 0) {
    std::fprintf(stderr, "replay: no input reached the code under test\n");
    return 1;
  }
  return files.empty() ? 1 : 0;
}

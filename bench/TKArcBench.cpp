// Archive throughput: expanding and packing a picture-sized item (1 MiB of 24-bit gradient rows).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "TKAPairEncoder.h"
#include "TKAPairExpander.h"

namespace {

std::vector<uint8_t> PictureLikeBytes() {
  std::vector<uint8_t> out(1 << 20);
  for (size_t i = 0; i < out.size(); ++i) {
    const size_t pixel = i / 3;
    out[i] = static_cast<uint8_t>(i % 3 == 2 ? 0x80 : (i % 3 == 0 ? pixel % 512 / 2 : pixel / 512 / 4));
  }
  return out;
}

void BM_TKAExpand(benchmark::State& State) {
  const std::vector<uint8_t> item = PictureLikeBytes();
  const std::vector<uint8_t> packed = TKAPairEncoder::Pack(item);
  for (auto _ : State) {
    benchmark::DoNotOptimize(TKAPairExpander::Expand(packed, static_cast<uint32_t>(item.size())));
  }
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(item.size()));
}
BENCHMARK(BM_TKAExpand)->Unit(benchmark::kMillisecond);

void BM_TKAPack(benchmark::State& State) {
  const std::vector<uint8_t> item = PictureLikeBytes();
  for (auto _ : State) benchmark::DoNotOptimize(TKAPairEncoder::Pack(item));
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(item.size()));
}
BENCHMARK(BM_TKAPack)->Unit(benchmark::kMillisecond);

}  // namespace

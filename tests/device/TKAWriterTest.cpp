#include "TKAWriter.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "TKAPairEncoder.h"
#include "TKAPairExpander.h"
#include "TKArc.h"
#include "device/TKATestArchive.h"

using tka_test::Bytes;

namespace {

std::vector<uint8_t> RandomBytes(size_t Size, uint32_t Seed, int Range = 256) {
  std::mt19937 random(Seed);
  std::vector<uint8_t> out(Size);
  for (auto& b : out) b = static_cast<uint8_t>(random() % Range);
  return out;
}

void PutLE(std::vector<uint8_t>& Out, uint32_t Value, int Bytes) {
  for (int i = 0; i < Bytes; ++i) Out.push_back(static_cast<uint8_t>(Value >> (8 * i)));
}

// A bottom-up BMP file: 24-bit, or 8-bit with a 256-colour grey palette. Rows are padded to 4 bytes.
std::vector<uint8_t> MakeBmp(int Width, int Height, int Bits) {
  const int rowBytes = ((Width * Bits / 8) + 3) & ~3;
  const int paletteBytes = Bits == 8 ? 1024 : 0;
  const uint32_t offset = 54 + paletteBytes;
  std::vector<uint8_t> out = {'B', 'M'};
  PutLE(out, offset + rowBytes * Height, 4);
  PutLE(out, 0, 4);
  PutLE(out, offset, 4);
  PutLE(out, 40, 4);
  PutLE(out, Width, 4);
  PutLE(out, Height, 4);
  PutLE(out, 1, 2);
  PutLE(out, Bits, 2);
  PutLE(out, 0, 4);
  PutLE(out, rowBytes * Height, 4);
  PutLE(out, 2835, 4);
  PutLE(out, 2835, 4);
  PutLE(out, Bits == 8 ? 256 : 0, 4);
  PutLE(out, 0, 4);
  for (int i = 0; i < paletteBytes / 4; ++i) PutLE(out, 0x010101u * i, 4);
  for (int y = 0; y < Height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < Width; ++x) {
      if (Bits == 8) {
        row.push_back(static_cast<uint8_t>((x / 8 + y / 8) % 2 ? 200 : 30));
      } else {
        // A magenta border (the colour key) around a gradient.
        const bool border = x < 2 || y < 2 || x >= Width - 2 || y >= Height - 2;
        row.insert(row.end(), {static_cast<uint8_t>(border ? 0xFF : x * 4), static_cast<uint8_t>(border ? 0 : y * 4),
                               static_cast<uint8_t>(border ? 0xFF : 0x80)});
      }
    }
    row.resize(rowBytes, 0);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<uint8_t> Extract(const std::vector<uint8_t>& Archive, const std::string& Id) {
  std::stringstream in(std::string(Archive.begin(), Archive.end()), std::ios::in | std::ios::binary);
  return ReadArchiveEntry(in, Id)->Bytes();
}

std::string WriterError(const std::vector<TKAItem>& Items) {
  try {
    TKAWriter::Build(Items, false);
  } catch (const ETKAError& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace

TEST(TKAPairEncoder, WritesTheTableTheReaderExpects) {
  // Nothing repeats four times: every code literal, written as skip 128, code 128 itself, skip 127.
  EXPECT_EQ(TKAPairEncoder::Pack(Bytes("ABC")), Bytes({0xFF, 0x80, 0xFE, 3, 0, 0, 0, 'A', 'B', 'C'}));
  // "AB" five times: the first unused value, 0, becomes ('A','B'). Its run of one pair is count 0,
  // then skip 128 (codes 1-128), code 129 itself, skip 126.
  EXPECT_EQ(TKAPairEncoder::Pack(Bytes("ABABABABAB")),
            Bytes({0x00, 'A', 'B', 0xFF, 0x81, 0xFD, 5, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(TKAPairEncoder::Pack({}).empty());
}

TEST(TKAPairEncoder, RoundTripsRandomAndRepetitiveData) {
  const std::vector<std::vector<uint8_t>> inputs = {
      Bytes({0x42}),
      RandomBytes(1000, 1),
      RandomBytes(70000, 2),
      RandomBytes(50000, 3, 4),         // few values: long pair chains
      std::vector<uint8_t>(100000, 0),  // one value: deepest nesting
      RandomBytes(TKAPairEncoder::kMaxBlockSize * 3 + 5, 4, 200),
  };
  for (const auto& input : inputs) {
    const auto packed = TKAPairEncoder::Pack(input);
    EXPECT_EQ(TKAPairExpander::Expand(packed, static_cast<uint32_t>(input.size())), input) << input.size();
  }
  // Repetitive data shrinks.
  EXPECT_LT(TKAPairEncoder::Pack(std::vector<uint8_t>(100000, 0)).size(), 2000u);
  EXPECT_LT(TKAPairEncoder::Pack(RandomBytes(50000, 3, 4)).size(), 50000u / 2);
}

TEST(TKAWriter, LaysOutHeaderDirectoryAndData) {
  const auto archive = TKAWriter::Build({{"a.bmp", Bytes("xyz")}, {"B", Bytes("")}}, false);
  ASSERT_EQ(archive.size(), 256u + 2 * 268 + 3);
  EXPECT_EQ(std::vector<uint8_t>(archive.begin(), archive.begin() + 12),
            Bytes({0, 0, 0, 0, 'T', 'K', 'A', '0', 2, 0, 0, 0}));
  // First entry: offset 792, stored 3, size 3, id.
  EXPECT_EQ(std::vector<uint8_t>(archive.begin() + 256, archive.begin() + 274),
            Bytes({0x18, 0x03, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 'a', '.', 'b', 'm', 'p', 0}));
  EXPECT_EQ(Extract(archive, "A.BMP"), Bytes("xyz"));
  EXPECT_EQ(Extract(archive, "b"), Bytes(""));
  EXPECT_EQ(TKAWriter::Build({}, true), tka_test::Archive(1, 0, {}));
}

TEST(TKAWriter, RoundTripsRandomAndBmpDataPlainAndCompressed) {
  const std::vector<TKAItem> items = {
      {"random.bin", RandomBytes(30000, 7)}, {"empty", {}},
      {"ship.bmp", MakeBmp(64, 40, 24)},     {"tiles.bmp", MakeBmp(37, 21, 8)},
      {"odd.bmp", MakeBmp(3, 3, 24)},
  };
  for (bool compress : {false, true}) {
    const auto archive = TKAWriter::Build(items, compress);
    for (const TKAItem& item : items) EXPECT_EQ(Extract(archive, item.ID), item.Bytes) << item.ID << compress;
  }
  // The pictures are regular enough that byte-pair encoding pays.
  const auto plain = TKAWriter::Build({items[2], items[3]}, false);
  const auto packed = TKAWriter::Build({items[2], items[3]}, true);
  EXPECT_LT(packed.size(), plain.size() * 3 / 4);
}

TEST(TKAWriter, RefusesIdsTheReaderCouldNotFind) {
  EXPECT_EQ(WriterError({{"", {}}}), TKAMessage::BadId(""));
  EXPECT_EQ(WriterError({{std::string(256, 'x'), {}}}), TKAMessage::BadId(std::string(256, 'x')));
  EXPECT_EQ(WriterError({{std::string("a\0b", 3), {}}}), TKAMessage::BadId(std::string("a\0b", 3)));
  EXPECT_EQ(WriterError({{"Map.bmp", {}}, {"map.BMP", {}}}), TKAMessage::DuplicateId("map.BMP"));
  EXPECT_EQ(WriterError({{std::string(255, 'x'), {}}}), "no error");
}

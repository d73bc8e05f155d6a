#include "TKAPairExpander.h"

#include <gtest/gtest.h>

#include "TKADirectory.h"
#include "TKAError.h"
#include "device/TKATestArchive.h"

using tka_test::Bytes;

namespace {

// A pair table without pairs: skip codes 0-127, list code 128 as itself, skip codes 129-255.
const std::vector<uint8_t> kNoPairs = Bytes({0xFF, 0x80, 0xFE});

std::vector<uint8_t> Block(const std::vector<uint8_t>& Table, const std::vector<uint8_t>& Packed) {
  std::vector<uint8_t> out = Table;
  tka_test::PutUInt32(out, out.size(), static_cast<uint32_t>(Packed.size()));
  tka_test::Append(out, Packed);
  return out;
}

std::string ExpandToString(const std::vector<uint8_t>& Packed, uint32_t Size) {
  const std::vector<uint8_t> out = TKAPairExpander::Expand(Packed, Size);
  return std::string(out.begin(), out.end());
}

std::string ErrorOf(const std::vector<uint8_t>& Packed, uint32_t Size) {
  try {
    TKAPairExpander::Expand(Packed, Size);
  } catch (const ETKAError& e) {
    return e.Message();
  }
  return "no error";
}

}  // namespace

TEST(TKAPairExpander, TableWithoutPairsCopiesThePackedBytes) {
  EXPECT_EQ(ExpandToString(Block(kNoPairs, Bytes("ABC")), 3), "ABC");
  EXPECT_EQ(ExpandToString(Block(kNoPairs, Bytes({0x00, 0x80, 0xFF})), 3), std::string("\x00\x80\xFF", 3));
}

TEST(TKAPairExpander, SkipByteLeavesCodesLiteralAndReadsOneEntry) {
  // 0x81 skips codes 0 and 1, then code 2 = ('A','X'); 0xFC skips 3-127; code 128 = ('A','B'); 0xFE skips the rest.
  const auto table = Bytes({0x81, 0x41, 0x58, 0xFC, 0x41, 0x42, 0xFE});
  EXPECT_EQ(ExpandToString(Block(table, Bytes({0x00, 0x01, 0x02, 0x80, 0x03})), 7), std::string("\x00\x01"
                                                                                                "AX"
                                                                                                "AB"
                                                                                                "\x03",
                                                                                                7));
}

TEST(TKAPairExpander, EntriesListedAsThemselvesStayLiteral) {
  // Count 3 lists codes 0-3: 0, 1 and 2 as themselves (one byte each), 3 = ('a','b'); then skip 128 to
  // code 132, list it as itself, skip the remaining 123.
  const auto table = Bytes({0x03, 0x00, 0x01, 0x02, 0x61, 0x62, 0xFF, 0x84, 0xFA});
  EXPECT_EQ(ExpandToString(Block(table, Bytes({0x03, 0x02, 0x84, 0x03})), 6), std::string("ab\x02\x84"
                                                                                          "ab",
                                                                                          6));
}

TEST(TKAPairExpander, NestedPairsExpandLeftBeforeRight) {
  // 0x80 = AB, 0x81 = (0x80,'C') = ABC, 0x82 = (0x81,0x81) = ABCABC, 0x83 = ('D',0x82) = DABCABC.
  const auto table = Bytes({0xFF, 0x41, 0x42, 0x02, 0x80, 0x43, 0x81, 0x81, 0x44, 0x82, 0xFB});
  EXPECT_EQ(ExpandToString(Block(table, Bytes({0x83, 0x45, 0x81})), 11), "DABCABCEABC");
}

TEST(TKAPairExpander, EachBlockStartsFromLiteralCodes) {
  auto packed = Block(Bytes({0xFF, 0x41, 0x42, 0xFE}), Bytes({0x80}));
  tka_test::Append(packed, Block(kNoPairs, Bytes({0x80, 0x43})));
  EXPECT_EQ(ExpandToString(packed, 4),
            "AB\x80"
            "C");
}

TEST(TKAPairExpander, ChainUsingTheWholeStackExpands) {
  // Code 0 is the only literal; code c = (c-1, 0) for 1..255, so code 255 stands for 256 zero bytes and
  // needs exactly the 256-byte stack: a pair needs max(2, 1 + its left's need) = c + 1.
  std::vector<uint8_t> table = {0x80, 0x00, 0x00, 127};
  for (int c = 2; c <= 129; ++c) table.insert(table.end(), {static_cast<uint8_t>(c - 1), 0x00});
  table.push_back(125);
  for (int c = 130; c <= 255; ++c) table.insert(table.end(), {static_cast<uint8_t>(c - 1), 0x00});
  // Every other code is a pair too: 0x01 = (0, 0) adds two more zeros.
  const auto out = TKAPairExpander::Expand(Block(table, Bytes({0xFF, 0x01})), 258);
  EXPECT_EQ(out, std::vector<uint8_t>(258, 0));
  EXPECT_EQ(TKAPairExpander::Expand(Block(table, Bytes({0x00})), 1), std::vector<uint8_t>(1, 0));
}

TEST(TKAPairExpander, ShortOutputIsPaddedToTheItemSize) {
  EXPECT_EQ(ExpandToString({}, 4), std::string(4, '\0'));
  EXPECT_EQ(ExpandToString(Block(kNoPairs, Bytes("AB")), 5), std::string("AB\0\0\0", 5));
  auto emptyBlock = Block(kNoPairs, {});
  EXPECT_EQ(ExpandToString(emptyBlock, 0), "");
}

TEST(TKAPairExpander, CutShortDataIsRejected) {
  EXPECT_EQ(ErrorOf(Bytes({0xFF}), 10), TKAMessage::PairTableCutShort());
  EXPECT_EQ(ErrorOf(Bytes({0x81, 0x41}), 10), TKAMessage::PairTableCutShort());  // right byte of code 2 missing
  EXPECT_EQ(ErrorOf(Bytes({0xFF, 0x80, 0xFE, 0x03, 0x00}), 10), TKAMessage::BlockLengthCutShort());
  EXPECT_EQ(ErrorOf(Bytes({0xFF, 0x80, 0xFE, 0x05, 0x00, 0x00, 0x00, 0x41, 0x42}), 10),
            TKAMessage::BlockCutShort(5, 2));
  // A huge length must not be trusted either.
  EXPECT_EQ(ErrorOf(Bytes({0xFF, 0x80, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x41}), 10),
            TKAMessage::BlockCutShort(0xFFFFFFFF, 1));
  // A stray byte after a good block starts a table that runs out.
  auto packed = Block(kNoPairs, Bytes("A"));
  packed.push_back(0x00);
  EXPECT_EQ(ErrorOf(packed, 10), TKAMessage::PairTableCutShort());
}

TEST(TKAPairExpander, TableRunningPastCode255IsRejected) {
  EXPECT_EQ(ErrorOf(Bytes({0xFF, 0x80, 0xFF, 0x00}), 10), TKAMessage::PairTablePastLastCode());  // skip to 257
  EXPECT_EQ(ErrorOf(Bytes({0xFF, 0x80, 0x7F}), 10), TKAMessage::PairTablePastLastCode());        // codes 129-256
}

TEST(TKAPairExpander, PairsContainingThemselvesAreRejected) {
  // Left cycle 0x80 = (0x81,'A'), 0x81 = (0x80,'B'): the stack would grow without end.
  const auto leftCycle = Bytes({0xFF, 0x81, 0x41, 0x00, 0x80, 0x42, 0xFD});
  EXPECT_EQ(ErrorOf(Block(leftCycle, Bytes({0x80})), 1000), TKAMessage::PairCycle(0x80));
  // Right cycle 0x80 = ('A',0x80): would write 'A' forever.
  const auto rightCycle = Bytes({0xFF, 0x41, 0x80, 0xFE});
  EXPECT_EQ(ErrorOf(Block(rightCycle, Bytes({0x80})), 1000), TKAMessage::PairCycle(0x80));
  // A cyclic pair that no packed byte uses does no harm.
  EXPECT_EQ(ExpandToString(Block(rightCycle, Bytes("A")), 1), "A");
}

TEST(TKAPairExpander, OutputBeyondTheItemSizeIsRejected) {
  EXPECT_EQ(ErrorOf(Block(kNoPairs, Bytes("ABC")), 2), TKAMessage::ExpansionTooLong(2));
  EXPECT_EQ(ErrorOf({}, TKAFormat::kMaxItemSize + 1), TKAMessage::NotAnArchive());
}

TEST(TKAPairExpander, DoublingChainExpandsOnlyToTheItemSize) {
  const auto bomb = tka_test::DoublingChainBlock(20);
  EXPECT_EQ(TKAPairExpander::Expand(bomb, 1 << 20), std::vector<uint8_t>(1 << 20, 0));
  EXPECT_EQ(ErrorOf(bomb, (1 << 20) - 1), TKAMessage::ExpansionTooLong((1 << 20) - 1));
}

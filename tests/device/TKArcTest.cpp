#include "TKArc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <stdlib.h>

#include "TextEncoding.h"
#include "device/TKATestArchive.h"

using tka_test::Archive;
using tka_test::Bytes;
using tka_test::TRawEntry;

namespace {

std::stringstream StreamOf(const std::vector<uint8_t>& Bytes) {
  return std::stringstream(std::string(Bytes.begin(), Bytes.end()), std::ios::in | std::ios::binary);
}

std::string Read(const std::vector<uint8_t>& Archive, const std::string& Id) {
  std::stringstream in = StreamOf(Archive);
  const auto entry = ReadArchiveEntry(in, Id);
  EXPECT_EQ(entry->tellg(), 0);
  return std::string(entry->Bytes().begin(), entry->Bytes().end());
}

std::string ErrorOf(const std::vector<uint8_t>& Archive, const std::string& Id) {
  try {
    Read(Archive, Id);
  } catch (const ETKAError& e) {
    return e.Message();
  }
  return "no error";
}

// Two entries whose data follows a two-entry directory (data starts at 256 + 2 * 268 = 792).
std::vector<uint8_t> PlainArchive(uint32_t Flag) {
  auto archive = Archive(Flag, 2, {{792, 999, 5, "Ship.BMP"}, {797, 0, 3, "map.bmp"}});
  tka_test::Append(archive, Bytes("hellomap"));
  return archive;
}

}  // namespace

TEST(TKArc, PlainArchiveReturnsItemsAsStored) {
  // Flag 0: the stored-size field (999) is ignored.
  EXPECT_EQ(Read(PlainArchive(0), "Ship.BMP"), "hello");
  EXPECT_EQ(Read(PlainArchive(0), "map.bmp"), "map");
  // Any flag other than 1 means plain.
  EXPECT_EQ(Read(PlainArchive(2), "map.bmp"), "map");
}

TEST(TKArc, IdsMatchRegardlessOfLetterCase) {
  EXPECT_EQ(Read(PlainArchive(0), "ship.bmp"), "hello");
  EXPECT_EQ(Read(PlainArchive(0), "MAP.BMP"), "map");
  // Only ASCII letters fold: the second byte of a double-byte character is compared as it stands
  // ("ア" is 83 41, "ヂ" is 83 61), for lead bytes at both ends of both ranges and for no byte beside them.
  EXPECT_TRUE(TKAIdEquals(ToCP932("ア"), ToCP932("ア")));
  EXPECT_FALSE(TKAIdEquals(ToCP932("ア"), ToCP932("ヂ")));
  for (const int lead : {0x81, 0x9F, 0xE0, 0xFC, 0x80, 0xA0, 0xDF, 0xFD}) {
    const bool isLead = lead != 0x80 && lead != 0xA0 && lead != 0xDF && lead != 0xFD;
    EXPECT_EQ(TKAIdEquals(std::string{char(lead), 'A'}, std::string{char(lead), 'a'}), !isLead) << lead;
  }
  EXPECT_TRUE(TKAIdEquals(ToCP932("自機A.bmp"), ToCP932("自機a.BMP")));
}

TEST(TKArc, MissingIdNamesTheRequestedId) {
  EXPECT_EQ(ErrorOf(PlainArchive(0), "Boss.bmp"),
            Jp("アーカイブ内には指定されたID 'Boss.bmp' を持つデータが見つかりません"));
  // The first match decides; one whose data offset is 0 counts as absent even if a later one would do.
  auto archive = Archive(0, 2, {{0, 0, 1, "a"}, {792, 0, 1, "A"}});
  tka_test::Append(archive, Bytes("x"));
  EXPECT_EQ(ErrorOf(archive, "a"), TKAMessage::IdNotFound("a"));
}

TEST(TKArc, IdFieldWithoutTerminatorEndsAtItsField) {
  auto archive = Archive(0, 1, {{524, 0, 2, std::string(256, 'q')}});
  tka_test::Append(archive, Bytes("ok"));
  EXPECT_EQ(Read(archive, std::string(256, 'Q')), "ok");
}

TEST(TKArc, CompressedEntryIsExpanded) {
  // One block: code 0x80 = ('A','B'), packed 80 43 80 -> "ABCAB".
  auto packed = Bytes({0xFF, 0x41, 0x42, 0xFE, 0x03, 0x00, 0x00, 0x00, 0x80, 0x43, 0x80});
  auto archive = Archive(1, 1, {{524, static_cast<uint32_t>(packed.size()), 5, "x"}});
  tka_test::Append(archive, packed);
  EXPECT_EQ(Read(archive, "x"), "ABCAB");
}

TEST(TKArc, ForeignDataIsNotAnArchive) {
  const std::string message = Jp("Tessellar K Archiveの扱えるデータではありません");
  auto wrongSignature = PlainArchive(0);
  wrongSignature[7] = '1';
  EXPECT_EQ(ErrorOf(wrongSignature, "map.bmp"), message);
  EXPECT_EQ(ErrorOf({}, "map.bmp"), message);
  EXPECT_EQ(ErrorOf(Bytes("BM\x10\x00"), "map.bmp"), message);
  EXPECT_TRUE(IsArchiveHeader(PlainArchive(0)));
  EXPECT_FALSE(IsArchiveHeader(wrongSignature));
  EXPECT_FALSE(IsArchiveHeader(Bytes("\x01\x00\x00\x00TKA")));
}

TEST(TKArc, TruncatedHeaderOrDirectoryIsRejected) {
  auto archive = PlainArchive(0);
  EXPECT_EQ(ErrorOf(std::vector<uint8_t>(archive.begin(), archive.begin() + 100), "map.bmp"),
            TKAMessage::HeaderCutShort());
  // Directory of two entries cut inside the second one.
  EXPECT_EQ(ErrorOf(std::vector<uint8_t>(archive.begin(), archive.begin() + 700), "map.bmp"),
            TKAMessage::DirectoryPastEnd(2));
  // A count that would need gigabytes is refused before anything is allocated for it.
  tka_test::PutUInt32(archive, 8, 0xFFFFFFFF);
  EXPECT_EQ(ErrorOf(archive, "map.bmp"), TKAMessage::DirectoryPastEnd(0xFFFFFFFF));
}

TEST(TKArc, DataOutsideTheFileIsRejected) {
  const std::string past = TKAMessage::DataPastEnd("map.bmp");
  EXPECT_EQ(ErrorOf(Archive(0, 1, {{524, 0, 1, "map.bmp"}}), "map.bmp"), past);  // nothing after directory
  auto archive = Archive(0, 1, {{524, 0, 4, "map.bmp"}});
  tka_test::Append(archive, Bytes("abc"));
  EXPECT_EQ(ErrorOf(archive, "map.bmp"), past);  // one byte short
  EXPECT_EQ(ErrorOf(Archive(0, 1, {{0xFFFFFFF0, 0, 0xFFFFFFFF, "map.bmp"}}), "map.bmp"), past);
  EXPECT_EQ(ErrorOf(Archive(1, 1, {{524, 0xFFFFFFFF, 1, "map.bmp"}}), "map.bmp"), past);  // stored size
  // A packed item that claims more than any texture could need is refused before it is allocated.
  auto huge = Archive(1, 1, {{524, 0, 0xFFFFFFFF, "map.bmp"}});
  EXPECT_EQ(ErrorOf(huge, "map.bmp"), TKAMessage::NotAnArchive());
  // An empty plain item at the very end is fine.
  EXPECT_EQ(Read(Archive(0, 1, {{524, 0, 0, "map.bmp"}}), "map.bmp"), "");
}

TEST(TKArc, ItemClaimingMoreThanTheLargestPictureIsRefused) {
  // A 28-level doubling chain would expand to 256 MiB; its claim alone is refused.
  const auto bomb = tka_test::DoublingChainBlock(28);
  auto archive = Archive(1, 1, {{524, static_cast<uint32_t>(bomb.size()), 1u << 28, "map.bmp"}});
  tka_test::Append(archive, bomb);
  EXPECT_EQ(ErrorOf(archive, "map.bmp"), TKAMessage::NotAnArchive());
}

TEST(TKArc, ExpandPairsReadsFromTheStreamPosition) {
  std::stringstream in = StreamOf(Bytes({0x55, 0x55, 0xFF, 0x80, 0xFE, 0x02, 0x00, 0x00, 0x00, 0x61, 0x62}));
  in.seekg(2);
  const auto out = ExpandPairs(in, 3);
  EXPECT_EQ(out->Bytes(), Bytes({0x61, 0x62, 0x00}));
  EXPECT_EQ(out->tellg(), 0);
}

TEST(TKArc, MemoryStreamSeeksAndReadsLikeAFile) {
  TKAMemoryStream stream(Bytes("BMxyz"));
  char two[2];
  stream.read(two, 2);
  EXPECT_EQ(std::string(two, 2), "BM");
  stream.seekg(1, std::ios::cur);
  EXPECT_EQ(stream.get(), 'y');
  stream.seekg(0);
  EXPECT_EQ(stream.get(), 'B');
  stream.seekg(-1, std::ios::end);
  EXPECT_EQ(stream.get(), 'z');
  EXPECT_EQ(stream.get(), std::char_traits<char>::eof());
  stream.clear();
  stream.seekg(6);
  EXPECT_TRUE(stream.fail());  // past the end
}

TEST(TKArc, LoadFromArchiveOpensTheNamedFile) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tkarc_XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::filesystem::path folder = pattern;
  const std::string path = (folder / "絵.tka").string();
  {
    const auto bytes = PlainArchive(0);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  const auto entry = LoadFromArchive(path, "MAP.bmp");
  EXPECT_EQ(entry->Bytes(), Bytes("map"));
  const std::string missing = (folder / "none ü.tka").string();
  try {
    LoadFromArchive(missing, "map.bmp");
    ADD_FAILURE() << "no exception";
  } catch (const ETKAError&) {
    ADD_FAILURE() << "an open failure is the file error, not an archive error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), Jp("ファイル ") + ToCP932(missing) + Jp(" を開けません"));  // shown as it can be
  }
  std::filesystem::remove_all(folder);
}

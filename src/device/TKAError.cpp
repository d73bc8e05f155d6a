#include "TKAError.h"

#include <cstdarg>
#include <cstdio>

#include "TextEncoding.h"

namespace {

// printf over a CP932 format: '%' (0x25) is never a trail byte of a double-byte character, so
// the conversions cannot be confused with the Japanese text around them.
std::string Format(const char* Format, ...) {
  va_list args;
  va_start(args, Format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, Format, copy);
  va_end(copy);
  std::string out(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(out.data(), out.size() + 1, Format, args);
  va_end(args);
  return out;
}

}  // namespace

namespace TKAMessage {

std::string NotAnArchive() { return Jp("Tessellar K Archiveの扱えるデータではありません"); }

std::string IdNotFound(const std::string& Id) {
  return Format(Jp("アーカイブ内には指定されたID '%s' を持つデータが見つかりません").c_str(), Id.c_str());
}

std::string HeaderCutShort() { return Jp("Tessellar K Archiveのヘッダーが途中で切れています"); }

std::string DirectoryPastEnd(uint32_t Count) {
  return Format(Jp("Tessellar K Archiveの目録（%u 項目）がファイルの終わりを越えています").c_str(), Count);
}

std::string DataPastEnd(const std::string& Id) {
  return Format(Jp("アーカイブ内のID '%s' のデータがファイルの終わりを越えています").c_str(), Id.c_str());
}

std::string PairTableCutShort() { return Jp("圧縮データのペア表が途中で切れています"); }

std::string PairTablePastLastCode() { return Jp("圧縮データのペア表が符号255を越えています"); }

std::string BlockLengthCutShort() { return Jp("圧縮データのブロック長が途中で切れています"); }

std::string BlockCutShort(uint32_t Length, uint64_t Remaining) {
  return Format(Jp("圧縮データのブロック（%u バイト）が途中で切れています（残り %llu バイト）").c_str(), Length,
                static_cast<unsigned long long>(Remaining));
}

std::string PairCycle(uint8_t Code) {
  return Format(Jp("圧縮データのペア %u が循環しています").c_str(), static_cast<unsigned>(Code));
}

std::string PairNestingTooDeep(uint8_t Code) {
  return Format(Jp("圧縮データのペア %u の入れ子が展開スタック（256バイト）より深くなっています").c_str(),
                static_cast<unsigned>(Code));
}

std::string ExpansionTooLong(uint32_t ItemSize) {
  return Format(Jp("圧縮データの展開結果がデータサイズ %u バイトを越えています").c_str(), ItemSize);
}

std::string ReadFailed() { return Jp("アーカイブの読み込みに失敗しました"); }

std::string BadId(const std::string& Id) {
  return Format(Jp("ID '%s' はアーカイブに格納できません（1～255バイトで、0を含まないこと）").c_str(), Id.c_str());
}

std::string DuplicateId(const std::string& Id) {
  return Format(Jp("ID '%s' が重複しています（大文字と小文字は区別されません）").c_str(), Id.c_str());
}

std::string ArchiveTooLarge(const std::string& Id) {
  return Format(Jp("ID '%s' のデータでアーカイブが扱える大きさを越えます").c_str(), Id.c_str());
}

}  // namespace TKAMessage

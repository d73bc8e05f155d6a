#include "FreeTypeGlyphSource.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "Exception.h"
#include "FontResolver.h"
#include "TextEncoding.h"

namespace {

// Em sizes beyond this are clamped: a glyph bitmap stays a few megabytes at most.
constexpr int32_t kMaxPixelsPerEm = 1024;
// The platform's default height when a font asks for 0.
constexpr int32_t kDefaultPixelsPerEm = 12;
// Faces kept open at once; the game uses a handful of name and size pairs.
constexpr size_t kMaxOpenFaces = 32;

int32_t RoundToPixels(FT_Pos Value266) { return static_cast<int32_t>((Value266 + 32) >> 6); }

// One font (face name, height, style) opened at its size.
struct TSizedFace {
  std::string Name;
  int32_t Height = 0;
  TFontStyles Style = 0;

  FT_Face Face = nullptr;  // absent when no font exists at all
  std::string Family;
  bool Embolden = false;
  bool Oblique = false;
  TTextMetrics Metrics;
  std::unordered_map<int32_t, int32_t> Advances;  // pen advance per character code

  ~TSizedFace() {
    if (Face) FT_Done_Face(Face);
  }
  bool Is(const TFont& Font) const { return Height == Font.Height && Style == Font.Style && Name == Font.Name; }
};

// Pixels per em for a font height (see the header for the meaning of its sign).
int32_t PixelsPerEm(FT_Face Face, int32_t Height) {
  int64_t ppem = kDefaultPixelsPerEm;
  if (Height < 0) {
    ppem = -int64_t(Height);
  } else if (Height > 0) {
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
    int64_t cell = 0;
    if (os2 && os2->version != 0xFFFF) cell = int64_t(os2->usWinAscent) + os2->usWinDescent;
    if (cell <= 0) cell = int64_t(Face->ascender) - Face->descender;
    ppem = (cell > 0 && Face->units_per_EM > 0) ? (int64_t(Height) * Face->units_per_EM + cell / 2) / cell : Height;
  }
  return static_cast<int32_t>(std::clamp<int64_t>(ppem, 1, kMaxPixelsPerEm));
}

// Sets the face to the font's size and works out the line metrics. False when the face cannot be
// sized.
bool SizeFace(TSizedFace& Sized) {
  FT_Face face = Sized.Face;
  const int32_t ppem = PixelsPerEm(face, Sized.Height);
  if (FT_IS_SCALABLE(face)) {
    if (FT_Set_Pixel_Sizes(face, 0, ppem) != 0) return false;
    // The Windows ascent and descent come from the OS/2 table's Windows metrics.
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const FT_Fixed scale = face->size->metrics.y_scale;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      Sized.Metrics.Ascent = RoundToPixels(FT_MulFix(os2->usWinAscent, scale));
      Sized.Metrics.Descent = RoundToPixels(FT_MulFix(os2->usWinDescent, scale));
    } else {
      Sized.Metrics.Ascent = RoundToPixels(FT_MulFix(face->ascender, scale));
      Sized.Metrics.Descent = RoundToPixels(FT_MulFix(-face->descender, scale));
    }
  } else {
    if (face->num_fixed_sizes <= 0) return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
      if (std::abs(face->available_sizes[i].y_ppem - (ppem << 6)) <
          std::abs(face->available_sizes[best].y_ppem - (ppem << 6))) {
        best = i;
      }
    }
    if (FT_Select_Size(face, best) != 0) return false;
    Sized.Metrics.Ascent = RoundToPixels(face->size->metrics.ascender);
    Sized.Metrics.Descent = RoundToPixels(-face->size->metrics.descender);
  }
  Sized.Metrics.Height = Sized.Metrics.Ascent + Sized.Metrics.Descent;
  return true;
}

}  // namespace

struct TFreeTypeGlyphSource::TImpl {
  FT_Library Library = nullptr;
  std::shared_ptr<TFontResolver> Resolver;
  TNotice Notice;
  iconv_t ToUnicode = reinterpret_cast<iconv_t>(-1);
  std::vector<std::unique_ptr<TSizedFace>> Faces;  // most recently opened last
  TSizedFace* Current = nullptr;

  // The glyph rendered last, kept for the second outline call that fetches its bitmap.
  const TSizedFace* RenderedFace = nullptr;
  int32_t RenderedCode = -1;
  TGlyphMetrics RenderedMetrics;
  std::vector<uint8_t> Rendered;

  ~TImpl() {
    Faces.clear();
    if (Library) FT_Done_FreeType(Library);
    if (ToUnicode != reinterpret_cast<iconv_t>(-1)) iconv_close(ToUnicode);
  }

  TSizedFace& Select(const TFont& Font);
  void Open(TSizedFace& Sized);
  FT_ULong Unicode(int32_t Code);
  bool LoadGlyph(TSizedFace& Sized, int32_t Code);
  int32_t Advance(TSizedFace& Sized, int32_t Code);
  void Render(TSizedFace& Sized, int32_t Code);
};

TSizedFace& TFreeTypeGlyphSource::TImpl::Select(const TFont& Font) {
  if (Current && Current->Is(Font)) return *Current;
  for (auto& face : Faces) {
    if (face->Is(Font)) return *(Current = face.get());
  }
  if (Faces.size() >= kMaxOpenFaces) {
    if (RenderedFace == Faces.front().get()) RenderedFace = nullptr;
    Faces.erase(Faces.begin());
  }
  auto sized = std::make_unique<TSizedFace>();
  sized->Name = Font.Name;
  sized->Height = Font.Height;
  sized->Style = Font.Style;
  Open(*sized);
  Faces.push_back(std::move(sized));
  return *(Current = Faces.back().get());
}

void TFreeTypeGlyphSource::TImpl::Open(TSizedFace& Sized) {
  const bool bold = (Sized.Style & fsBold) != 0;
  const bool italic = (Sized.Style & fsItalic) != 0;
  const TResolvedFont& found = Resolver->Resolve(Sized.Name, bold, italic);
  if (!found.File.empty() && FT_New_Face(Library, found.File.c_str(), found.Index, &Sized.Face) == 0) {
    FT_Select_Charmap(Sized.Face, FT_ENCODING_UNICODE);
    if (!SizeFace(Sized)) {
      FT_Done_Face(Sized.Face);
      Sized.Face = nullptr;
    }
  }
  if (Sized.Face) {
    Sized.Family = found.Family;
    // Judged on the face itself: fontconfig reports the style asked for when it would synthesise it.
    Sized.Embolden = bold && !(Sized.Face->style_flags & FT_STYLE_FLAG_BOLD);
    Sized.Oblique = italic && !(Sized.Face->style_flags & FT_STYLE_FLAG_ITALIC) && FT_IS_SCALABLE(Sized.Face);
    if (found.Fallback && Notice && Resolver->FirstReport(Sized.Name)) {
      Notice(ToCP932("フォント「") + Sized.Name +
             ToCP932("」が見つからないため、「" + found.Family + "」で代用します"));
    }
  } else if (Notice && Resolver->FirstReport(Sized.Name)) {
    Notice(ToCP932("フォント「") + Sized.Name + ToCP932("」も代わりのフォントも見つからないため、文字を描けません"));
  }
}

FT_ULong TFreeTypeGlyphSource::TImpl::Unicode(int32_t Code) {
  if (Code < 0 || Code > 0xFFFF || ToUnicode == reinterpret_cast<iconv_t>(-1)) return 0;
  char bytes[2];
  size_t inLeft = 0;
  if (Code > 0xFF) {
    bytes[0] = static_cast<char>(Code >> 8);
    bytes[1] = static_cast<char>(Code & 0xFF);
    inLeft = 2;
  } else {
    bytes[0] = static_cast<char>(Code);
    inLeft = 1;
  }
  uint8_t out[8] = {};
  char* in = bytes;
  char* dst = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof out;
  iconv(ToUnicode, nullptr, nullptr, nullptr, nullptr);
  if (iconv(ToUnicode, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
      sizeof out - outLeft != 4) {
    return 0;  // not a CP932 character (or a lead byte alone): the missing glyph
  }
  return FT_ULong(out[0]) | FT_ULong(out[1]) << 8 | FT_ULong(out[2]) << 16 | FT_ULong(out[3]) << 24;
}

// Loads the glyph of a code into the face's slot, with synthetic styles applied.
bool TFreeTypeGlyphSource::TImpl::LoadGlyph(TSizedFace& Sized, int32_t Code) {
  if (!Sized.Face) return false;
  FT_Face face = Sized.Face;
  const FT_ULong unicode = Unicode(Code);
  FT_UInt index = unicode ? FT_Get_Char_Index(face, unicode) : 0;
  const FT_Int32 flags = FT_IS_SCALABLE(face) ? (FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) : FT_LOAD_DEFAULT;
  if (FT_Load_Glyph(face, index, flags) != 0) {
    if (index == 0 || FT_Load_Glyph(face, 0, flags) != 0) return false;
  }
  if (Sized.Embolden) FT_GlyphSlot_Embolden(face->glyph);
  if (Sized.Oblique) FT_GlyphSlot_Oblique(face->glyph);
  return true;
}

int32_t TFreeTypeGlyphSource::TImpl::Advance(TSizedFace& Sized, int32_t Code) {
  auto found = Sized.Advances.find(Code);
  if (found != Sized.Advances.end()) return found->second;
  const int32_t advance = LoadGlyph(Sized, Code) ? RoundToPixels(Sized.Face->glyph->advance.x) : 0;
  Sized.Advances.emplace(Code, advance);
  return advance;
}

// Renders a glyph into Rendered as 65-level grey rows padded to 4 bytes, with its metrics.
void TFreeTypeGlyphSource::TImpl::Render(TSizedFace& Sized, int32_t Code) {
  RenderedFace = &Sized;
  RenderedCode = Code;
  RenderedMetrics = TGlyphMetrics{1, 1, 0, 0, 0, 0};
  Rendered.clear();
  if (!LoadGlyph(Sized, Code)) return;
  FT_GlyphSlot slot = Sized.Face->glyph;
  RenderedMetrics.CellIncX = RoundToPixels(slot->advance.x);
  Sized.Advances.emplace(Code, RenderedMetrics.CellIncX);
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;

  const FT_Bitmap& bitmap = slot->bitmap;
  RenderedMetrics.OriginX = slot->bitmap_left;
  RenderedMetrics.OriginY = slot->bitmap_top;
  const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays > 1;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer || (!gray && !mono)) return;

  const int32_t width = static_cast<int32_t>(bitmap.width);
  const int32_t rows = static_cast<int32_t>(bitmap.rows);
  const uint32_t pitch = GlyphBitmapPitch(width);
  RenderedMetrics.BlackBoxX = width;
  RenderedMetrics.BlackBoxY = rows;
  Rendered.assign(size_t(pitch) * rows, 0);
  const int32_t maxGray = gray ? bitmap.num_grays - 1 : 1;
  for (int32_t y = 0; y < rows; ++y) {
    // A negative pitch means the rows are stored bottom-up.
    const uint8_t* src = bitmap.pitch >= 0 ? bitmap.buffer + size_t(y) * bitmap.pitch
                                           : bitmap.buffer + size_t(rows - 1 - y) * size_t(-bitmap.pitch);
    uint8_t* dst = Rendered.data() + size_t(y) * pitch;
    for (int32_t x = 0; x < width; ++x) {
      const int32_t value = gray ? src[x] : (src[x >> 3] >> (7 - (x & 7))) & 1;
      dst[x] = static_cast<uint8_t>((value * kGlyphCoverageLevels + maxGray / 2) / maxGray);
    }
  }
}

TFreeTypeGlyphSource::TFreeTypeGlyphSource(TNotice Notice)
    : TFreeTypeGlyphSource(TFontResolver::System(), std::move(Notice)) {}

TFreeTypeGlyphSource::TFreeTypeGlyphSource(std::shared_ptr<TFontResolver> Resolver, TNotice Notice)
    : impl_(std::make_unique<TImpl>()) {
  impl_->Resolver = std::move(Resolver);
  impl_->Notice = std::move(Notice);
  if (FT_Init_FreeType(&impl_->Library) != 0) throw Exception(ToCP932("FreeType を初期化できません"));
  impl_->ToUnicode = iconv_open("UTF-32LE", "CP932");
  if (impl_->ToUnicode == reinterpret_cast<iconv_t>(-1)) {
    throw Exception(ToCP932("iconv が CP932 から UTF-32 への変換に対応していません"));
  }
}

TFreeTypeGlyphSource::~TFreeTypeGlyphSource() = default;

uint32_t TFreeTypeGlyphSource::GlyphOutline(const TFont& Font, int32_t Code, TGlyphMetrics& Metrics,
                                            uint32_t BufferSize, uint8_t* Buffer) {
  TSizedFace& sized = impl_->Select(Font);
  if (impl_->RenderedFace != &sized || impl_->RenderedCode != Code) impl_->Render(sized, Code);
  Metrics = impl_->RenderedMetrics;
  const uint32_t size = static_cast<uint32_t>(impl_->Rendered.size());
  if (Buffer && size > 0 && BufferSize >= size) std::memcpy(Buffer, impl_->Rendered.data(), size);
  return size;
}

TTextMetrics TFreeTypeGlyphSource::TextMetrics(const TFont& Font) { return impl_->Select(Font).Metrics; }

TTextExtent TFreeTypeGlyphSource::TextExtent(const TFont& Font, std::string_view Text) {
  TSizedFace& sized = impl_->Select(Font);
  TTextExtent extent;
  extent.Height = sized.Metrics.Height;
  for (size_t i = 0; i < Text.size();) extent.Width += impl_->Advance(sized, NextCharCode(Text, i));
  return extent;
}

std::string TFreeTypeGlyphSource::FamilyOf(const TFont& Font) { return impl_->Select(Font).Family; }

// FreeType behind one lock: the library, faces keyed by file, face index,
// pixel size and synthetic style, and each face's rendered glyphs.
#include "imaging/core/text_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "imaging/core/engine_settings.h"
#include "imaging/core/font_match.h"
#include "imaging/core/utf8.h"

namespace quillet {

namespace {

constexpr int kMaxPixelSize = 2000;

// A rendered glyph: its bits (one byte per pixel), where they sit from the
// pen on the baseline, and the pen's advance in 1/64 pixels.
struct TGlyph {
  int Left = 0, Top = 0, Width = 0, Rows = 0;
  std::vector<uint8_t> Bits;
  int64_t Advance = 0;
};

class TSizedFace {
 public:
  TSizedFace(FT_Library library, const TFontMatch& match, int pixels) : match_(match) {
    if (FT_New_Face(library, match.File.c_str(), match.Index, &face_) != 0) {
      face_ = nullptr;
      return;
    }
    FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixels));
    if (match.HasMatrix()) {
      FT_Matrix m{FT_Fixed(std::lround(match.Xx * 65536)), FT_Fixed(std::lround(match.Xy * 65536)),
                  FT_Fixed(std::lround(match.Yx * 65536)), FT_Fixed(std::lround(match.Yy * 65536))};
      FT_Set_Transform(face_, &m, nullptr);
    }
  }
  ~TSizedFace() {
    if (face_) FT_Done_Face(face_);
  }
  TSizedFace(const TSizedFace&) = delete;
  TSizedFace& operator=(const TSizedFace&) = delete;

  bool Valid() const { return face_ != nullptr; }
  int64_t Ascent() const { return (face_->size->metrics.ascender + 63) >> 6; }
  int64_t Descent() const { return (-face_->size->metrics.descender + 63) >> 6; }

  FT_UInt GlyphIndex(char32_t c) const { return FT_Get_Char_Index(face_, FT_ULong(c)); }
  int64_t Kerning(FT_UInt previous, FT_UInt glyph) const {
    if (!FT_HAS_KERNING(face_) || previous == 0 || glyph == 0) return 0;
    FT_Vector delta{0, 0};
    FT_Get_Kerning(face_, previous, glyph, FT_KERNING_DEFAULT, &delta);
    return delta.x;
  }
  const TGlyph& Glyph(FT_UInt index) {
    auto it = glyphs_.find(index);
    if (it == glyphs_.end()) it = glyphs_.emplace(index, Render(index)).first;
    return it->second;
  }
  // The underline's first row below the baseline (negative above) and its rows.
  std::pair<int64_t, int64_t> Underline() const {
    const FT_Fixed scale = face_->size->metrics.y_scale;
    const int64_t position = FT_MulFix(face_->underline_position, scale);
    const int64_t thickness = std::max<int64_t>(FT_MulFix(face_->underline_thickness, scale), 64);
    const int64_t top = -position - thickness / 2;
    return {(top + 32) >> 6, std::max<int64_t>((thickness + 32) >> 6, 1)};
  }

 private:
  TGlyph Render(FT_UInt index) {
    TGlyph g;
    if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return g;
    FT_GlyphSlot slot = face_->glyph;
    if (match_.Embolden) FT_GlyphSlot_Embolden(slot);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
    const FT_Bitmap& b = slot->bitmap;
    g = {slot->bitmap_left, slot->bitmap_top, int(b.width), int(b.rows), {}, slot->advance.x};
    g.Bits.resize(size_t(g.Width) * size_t(g.Rows));
    for (int y = 0; y < g.Rows; ++y) {
      const uint8_t* row = b.buffer + std::ptrdiff_t(y) * b.pitch;
      for (int x = 0; x < g.Width; ++x) g.Bits[size_t(y * g.Width + x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return g;
  }

  FT_Face face_ = nullptr;
  TFontMatch match_;
  std::unordered_map<FT_UInt, TGlyph> glyphs_;
};

std::mutex& TextLock() {
  static std::mutex lock;
  return lock;
}

constexpr size_t kMaxCachedFaces = 64;

// Under the lock. Null when no face could be opened.
TSizedFace* FaceFor(const TIEFontDesc& font) {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) == 0 ? l : nullptr;
  }();
  if (!library) return nullptr;
  const TFontMatch match = MatchFont(font.Name, font.Bold, font.Italic);
  if (match.File.empty()) return nullptr;
  using TKey = std::tuple<std::string, int, int, bool, double, double, double, double>;
  static std::map<TKey, std::unique_ptr<TSizedFace>> faces;
  const TKey key{match.File, match.Index, FontPixelSize(font), match.Embolden, match.Xx, match.Xy, match.Yx, match.Yy};
  auto it = faces.find(key);
  if (it == faces.end()) {
    // Sizes and faces come and go in a long session; the cache starts over
    // rather than grow without end (no face outlives the call that asked).
    if (faces.size() >= kMaxCachedFaces) faces.clear();
    it = faces.emplace(key, std::make_unique<TSizedFace>(library, match, FontPixelSize(font))).first;
  }
  return it->second->Valid() ? it->second.get() : nullptr;
}

// Walks the glyphs: place(glyph, pen x in pixels) for each; returns the
// advance in 1/64 pixels.
template <class F>
int64_t Layout(TSizedFace& face, std::string_view utf8, F&& place) {
  int64_t pen = 0;
  FT_UInt previous = 0;
  ForEachCodePoint(utf8, [&](char32_t c) {
    const FT_UInt index = face.GlyphIndex(c);
    pen += face.Kerning(previous, index);
    const TGlyph& g = face.Glyph(index);
    place(g, (pen + 32) >> 6);
    pen += g.Advance;
    previous = index;
  });
  return pen;
}

}  // namespace

int FontPixelSize(const TIEFontDesc& font) {
  const double pixels = std::round(double(font.Size) * StartupMetrics().DpiY / 72.0);
  return int(std::clamp(pixels, 1.0, double(kMaxPixelSize)));
}

TTextExtent MeasureText(const TIEFontDesc& font, std::string_view utf8) {
  std::lock_guard<std::mutex> hold(TextLock());
  TSizedFace* face = FaceFor(font);
  if (!face) return {};
  const int64_t advance = Layout(*face, utf8, [](const TGlyph&, int64_t) {});
  return {(advance + 32) >> 6, face->Ascent() + face->Descent(), face->Ascent()};
}

void RenderText(const TIEFontDesc& font, std::string_view utf8,
                const std::function<void(int64_t y, int64_t left, int64_t right)>& run) {
  std::lock_guard<std::mutex> hold(TextLock());
  TSizedFace* face = FaceFor(font);
  if (!face) return;
  const int64_t ascent = face->Ascent();
  const int64_t advance = Layout(*face, utf8, [&](const TGlyph& g, int64_t penX) {
    for (int y = 0; y < g.Rows; ++y) {
      const uint8_t* bits = g.Bits.data() + size_t(y) * size_t(g.Width);
      for (int x = 0; x < g.Width;) {
        if (!bits[x]) {
          ++x;
          continue;
        }
        int end = x;
        while (end < g.Width && bits[end]) ++end;
        run(ascent - g.Top + y, penX + g.Left + x, penX + g.Left + end);
        x = end;
      }
    }
  });
  if (font.Underline) {
    const auto [top, rows] = face->Underline();
    for (int64_t y = 0; y < rows; ++y) run(ascent + top + y, 0, (advance + 32) >> 6);
  }
}

}  // namespace quillet

// TIEVirtualBitmap: a tiled copy of one image in a temporary file or in
// swappable anonymous memory, drawn onto a canvas one tile at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/core/draw_canvas.h"
#include "imaging/core/temp_file.h"
#include "imaging/core/working_bitmap.h"

namespace quillet {

enum class TIEVirtualBacking : uint8_t { ieTempFile = 0, ieAnonymousMemory = 1 };

class TIEVirtualBitmap {
 public:
  // The backing store and, for a temporary file, its folder (empty: the temp
  // folder). A file that cannot be made falls back to anonymous memory.
  explicit TIEVirtualBitmap(TIEVirtualBacking backing = TIEVirtualBacking::ieTempFile, std::string folder = {});

  // Tiles for an image of 1, 8 or 24 bits, zeroed. False (and empty) when the
  // size or depth is not valid or no store can be made.
  bool Allocate(int32_t width, int32_t height, int bits);
  void Release();
  // Allocates for the bitmap's size and depth and copies its rows in; an
  // 8-bit bitmap keeps its palette for drawing.
  bool CopyFrom(const TIEWorkingBitmap& bitmap);
  // Every byte of a 24-bit image through `table`.
  void ApplyLookup(const uint8_t (&table)[256]);
  // The whole image stretched into [left, right) x [top, bottom), tile by
  // tile; a 1-bit image reduced on either axis is drawn as box-averaged grey.
  void Draw(TIEDrawCanvas& canvas, int64_t left, int64_t top, int64_t right, int64_t bottom);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int Bits() const { return bits_; }
  bool Empty() const { return width_ == 0; }
  int32_t TileWidth() const { return tileWidth_; }
  int32_t TileHeight() const { return tileHeight_; }
  int32_t TilesAcross() const { return tilesAcross_; }
  int32_t TilesDown() const { return tilesDown_; }
  int64_t StoreSize() const { return store_.Size(); }

  // Runs `work(rows)` on tile (tx, ty) mapped: rows of the tile's real
  // width and height (the last column and row of tiles may be cut).
  template <class F>
  bool WithTile(int32_t tx, int32_t ty, F&& work);

 private:
  TIEFileView MapTile(int32_t tx, int32_t ty) const;
  TIEImageRows TileRows(const TIEFileView& view, int32_t tx, int32_t ty) const;
  void DrawTile(TIEDrawCanvas& canvas, const TIEImageRows& rows, int64_t left, int64_t top, int64_t right,
                int64_t bottom, bool greyReduce);

  TIEVirtualBacking backing_;
  std::string folder_;
  TIETempFile store_;
  int32_t width_ = 0, height_ = 0;
  int bits_ = 0;
  int32_t tileWidth_ = 0, tileHeight_ = 0, tilesAcross_ = 0, tilesDown_ = 0;
  int64_t tileRowLength_ = 0;
  std::vector<TRGBQuad> palette_;
};

template <class F>
bool TIEVirtualBitmap::WithTile(int32_t tx, int32_t ty, F&& work) {
  const TIEFileView view = MapTile(tx, ty);
  if (!view.Mapped()) return false;
  work(TileRows(view, tx, ty));
  return true;
}

}  // namespace quillet

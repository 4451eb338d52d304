// The nearest-neighbour row painters against a per-pixel reference, on rows
// long enough for their table and vector paths, at reducing and enlarging steps.
#include <gtest/gtest.h>

#include <random>

#include "imaging/core/bits.h"
#include "imaging/core/mask_blend.h"
#include "imaging/view/image_nearest.h"
#include "tests/view/view_fixtures.h"

namespace quillet {
namespace {

TIEWorkingBitmap RandomBitmap(int64_t w, int64_t h, TIEPixelFormat format, std::mt19937& rng) {
  TIEWorkingBitmap b(w, h, format);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t i = 0; i < b.RowBytes(); ++i) b.ScanLine(y)[i] = uint8_t(rng());
  return b;
}

// Client pixel (x, y) as the painter's contract gives it, over `under`.
TBGR Expected(const TIEWorkingBitmap& b, const TIEMask* alpha, const TIEImagePlacement& p, int64_t x, int64_t y,
              TBGR under) {
  const int64_t sx = p.SourceLeft + (((p.SourceWidth << 14) / p.Dest.Width() * (x - p.Dest.Left)) >> 14);
  const int64_t sy = p.SourceTop + (((p.SourceHeight << 14) / p.Dest.Height() * (y - p.Dest.Top)) >> 14);
  if (b.PixelFormat() == TIEPixelFormat::pf1bit) return GetBit(b.ScanLine(sy), sx) ? kWhite : kBlack;
  const uint8_t* s = b.ScanLine(sy) + 3 * sx;
  if (!alpha) return TBGR{s[0], s[1], s[2]};
  const int a = alpha->ScanLine(sy)[sx];
  return TBGR{BlendChannel(under.b, s[0], a), BlendChannel(under.g, s[1], a), BlendChannel(under.r, s[2], a)};
}

constexpr TBGR kUnderlay{40, 90, 200};

TEST(ImageNearest, RowsMatchTheReferenceAtEveryStep) {
  std::mt19937 rng(5);
  for (const TIEPixelFormat format : {TIEPixelFormat::pf24bit, TIEPixelFormat::pf1bit})
    for (const bool blend : {false, true})
      for (const int64_t width : {148, 151}) {
        if (blend && format == TIEPixelFormat::pf1bit) continue;
        const TIEWorkingBitmap b = RandomBitmap(width, 9, format, rng);
        TIEMask alpha;
        alpha.Allocate(width, 9, 8);
        for (int64_t y = 0; y < 9; ++y)
          for (int64_t x = 0; x < width; ++x) alpha.ScanLine(y)[x] = uint8_t(rng());
        // Source rectangles that end at the row's last pixel, shown reduced and enlarged.
        for (const int64_t destW : {width / 4, width / 3 + 1, width - 5, width, 2 * width + 3}) {
          // Over what the target holds, and over a solid colour.
          for (const TBGR* underlay : {static_cast<const TBGR*>(nullptr), &kUnderlay}) {
            const TIEImagePlacement p{{3, 1, 3 + destW, 8}, 5, 2, width - 5, 7};
            test::Buffer buffer(destW + 6, 9);
            for (auto& v : buffer.bytes) v = uint8_t(rng());
            const test::Buffer before = buffer;
            TIERawTarget target = buffer.Target();
            ASSERT_TRUE(DrawImageNearest(target, {0, 0, buffer.w, buffer.h}, p, b, blend ? &alpha : nullptr, false,
                                         underlay));
            for (int64_t y = 0; y < buffer.h; ++y)
              for (int64_t x = 0; x < buffer.w; ++x) {
                const bool inside = x >= p.Dest.Left && x < p.Dest.Right && y >= p.Dest.Top && y < p.Dest.Bottom;
                const TBGR under = underlay ? *underlay : before.At(x, y);
                const TBGR want = inside ? Expected(b, blend ? &alpha : nullptr, p, x, y, under) : before.At(x, y);
                ASSERT_EQ(buffer.At(x, y), want) << width << " " << destW << " " << x << "," << y;
              }
          }
        }
      }
}

}  // namespace
}  // namespace quillet

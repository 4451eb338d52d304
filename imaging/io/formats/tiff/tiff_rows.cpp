// The row conversions of the TIFF reader.
#include "imaging/io/formats/tiff/tiff_rows.h"

#include <algorithm>
#include <cstring>

#include "imaging/core/lab.h"
#include "imaging/io/byte_rows.h"

namespace quillet {

namespace {

bool IsBlackWhite(const std::vector<TBGR>& p, bool inverted) {
  return p.size() == 2 && p[inverted ? 1 : 0] == kBlack && p[inverted ? 0 : 1] == kWhite;
}

// The layout of pages of one sample: bilevel, grey and palette.
void PlanOneSample(const TTiffPage& page, TTiffRowPlan& plan) {
  const uint32_t p = page.Photometric;
  plan.WhiteIsZero = p == tpWhiteIsZero;
  const bool grey = p == tpWhiteIsZero || p == tpBlackIsZero;
  if (grey && page.Bits == 1) {
    plan.Layout = TTiffLayout::tlBilevel;
    plan.Format = TIEPixelFormat::pf1bit;
    const bool ccitt = page.Ccitt();
    plan.Invert = (p == tpWhiteIsZero && !ccitt) || (p == tpBlackIsZero && ccitt);
  } else if (grey && (page.Bits == 8 || page.Bits == 4)) {
    plan.Layout = TTiffLayout::tlGrey8;
    plan.Spread = page.Bits == 4;
    plan.Grey4 = page.Bits == 4;
  } else if (grey && page.Bits == 16) {
    plan.Layout = TTiffLayout::tlGrey16;
    plan.GreyShift = page.Software.starts_with("Look@Molli v1.1") ? 4 : 8;
  } else if (p == tpPalette && page.Bits == 1 && (IsBlackWhite(page.Palette, false) || IsBlackWhite(page.Palette, true))) {
    plan.Layout = TTiffLayout::tlBilevel;
    plan.Format = TIEPixelFormat::pf1bit;
    plan.Invert = IsBlackWhite(page.Palette, true);
  } else if (p == tpPalette && page.Bits <= 8) {
    plan.Layout = TTiffLayout::tlPalette;
    plan.Spread = page.Bits < 8;
  } else if (p == tpRGB && page.Bits == 16) {
    plan.Layout = TTiffLayout::tlRGB555;
  }
}

void PlanLayout(const TTiffPage& page, bool alphaWanted, TTiffRowPlan& plan) {
  const uint32_t p = page.Photometric;
  const int s = page.Samples, b = page.Bits;
  if (s == 1) return PlanOneSample(page, plan);
  if (p == tpRGB && b == 8 && (s == 3 || s == 4)) {
    plan.Layout = TTiffLayout::tlRGB8;
    plan.Alpha = alphaWanted && s == 4 && page.ExtraSamples == 2;
  } else if (p == tpRGB && b == 16 && s == 3) {
    plan.Layout = TTiffLayout::tlRGB16;
  } else if (p == tpPalette && b == 8 && s == 2) {
    plan.Layout = TTiffLayout::tlPalette;
    plan.Alpha = alphaWanted;
  } else if (p == tpCMYK && b == 8 && s == 4) {
    plan.Layout = TTiffLayout::tlCMYK;
  } else if (p == tpCIELab && b == 8 && s == 3) {
    plan.Layout = TTiffLayout::tlLab;
  }
}

void SumBack8(const uint8_t* src, uint8_t* dst, int64_t bytes, int s) {
  std::memcpy(dst, src, size_t(std::min<int64_t>(s, bytes)));
  for (int64_t i = s; i < bytes; ++i) dst[i] = uint8_t(src[i] + dst[i - s]);
}

void SumBack16(const uint8_t* src, uint8_t* dst, int64_t values, int s, bool bigEndian) {
  const int hi = bigEndian ? 0 : 1, lo = 1 - hi;
  std::memcpy(dst, src, size_t(2 * std::min<int64_t>(s, values)));
  for (int64_t i = s; i < values; ++i) {
    const uint16_t left = uint16_t(dst[2 * (i - s) + hi] << 8 | dst[2 * (i - s) + lo]);
    const uint16_t v = uint16_t((src[2 * i + hi] << 8 | src[2 * i + lo]) + left);
    dst[2 * i + hi] = uint8_t(v >> 8);
    dst[2 * i + lo] = uint8_t(v);
  }
}

// Samples of `bits` bits, most significant first, one per byte.
void Spread(const uint8_t* src, uint8_t* dst, int64_t count, int bits) {
  const int mask = (1 << bits) - 1;
  int64_t bit = 0;
  for (int64_t i = 0; i < count; ++i, bit += bits) {
    const int64_t at = bit >> 3;
    const int word = src[at] << 8 | (((bit & 7) + bits > 8) ? src[at + 1] : 0);
    dst[i] = uint8_t(word >> (16 - bits - (bit & 7)) & mask);
  }
}

void InvertBytes(uint8_t* row, int64_t bytes) {
  int64_t i = 0;
  for (; i + 8 <= bytes; i += 8) {
    uint64_t w;
    std::memcpy(&w, row + i, 8);
    w = ~w;
    std::memcpy(row + i, &w, 8);
  }
  for (; i < bytes; ++i) row[i] = uint8_t(~row[i]);
}

uint8_t High(const uint8_t* p, bool bigEndian) { return bigEndian ? p[0] : p[1]; }
uint16_t Word(const uint8_t* p, bool bigEndian) { return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]); }

}  // namespace

TTiffRowPlan PlanRows(const TTiffPage& page, bool bigEndian, bool alphaWanted) {
  TTiffRowPlan plan;
  plan.Samples = page.Samples;
  plan.Bits = page.Bits;
  plan.BigEndian = bigEndian;
  if (page.Predictor != 1 && page.Predictor != 2) return plan;
  PlanLayout(page, alphaWanted, plan);
  const int s = page.Planar == 2 ? 1 : page.Samples;
  plan.Predictor = page.Predictor == 2 && page.Compression == tcLzw &&
                   ((page.Bits == 8 && (s == 1 || s == 3 || s == 4)) || (page.Bits == 16 && (s == 1 || s == 3)));
  if (plan.Layout == TTiffLayout::tlPalette) {
    plan.Palette = page.Palette;
    plan.Palette.resize(256, kBlack);
  }
  return plan;
}

const uint8_t* PrepareRow(const TTiffRowPlan& plan, const uint8_t* row, int64_t width, int samples,
                          std::vector<uint8_t>& work) {
  const int64_t values = width * samples;
  const int64_t bytes = (values * plan.Bits + 7) / 8;
  if (plan.Predictor) {
    work.resize(size_t(bytes) + size_t(values));
    if (plan.Bits == 8)
      SumBack8(row, work.data(), bytes, samples);
    else
      SumBack16(row, work.data(), values, samples, plan.BigEndian);
    row = work.data();
  }
  if (plan.Spread) {
    work.resize(size_t(bytes) + size_t(values));
    uint8_t* spread = work.data() + bytes;
    Spread(row, spread, values, plan.Bits);
    if (plan.Grey4)
      for (int64_t i = 0; i < values; ++i) spread[i] = uint8_t(spread[i] * 16);
    return spread;
  }
  if (plan.Invert) {
    work.resize(size_t(bytes));
    if (row != work.data()) std::memcpy(work.data(), row, size_t(bytes));
    InvertBytes(work.data(), bytes);
    return work.data();
  }
  return row;
}

void ConvertRow(const TTiffRowPlan& plan, const uint8_t* src, int64_t count, uint8_t* dst, int64_t x, uint8_t* alpha) {
  if (plan.Layout == TTiffLayout::tlBilevel) return CopyBits(src, 0, dst, x, count);
  uint8_t* d = dst + 3 * x;
  uint8_t* a = alpha ? alpha + x : nullptr;
  const int s = plan.Samples;
  const bool be = plan.BigEndian;
  switch (plan.Layout) {
    case TTiffLayout::tlRGB8:
      if (plan.Alpha && a)
        for (int64_t i = 0; i < count; ++i) a[i] = src[4 * i + 3];
      if (s == 3)
        SwapRedBlueRow(src, d, count);
      else
        for (int64_t i = 0; i < count; ++i, src += s, d += 3) d[0] = src[2], d[1] = src[1], d[2] = src[0];
      break;
    case TTiffLayout::tlRGB16:
      for (int64_t i = 0; i < count; ++i, src += 6, d += 3)
        d[0] = High(src + 4, be), d[1] = High(src + 2, be), d[2] = High(src, be);
      break;
    case TTiffLayout::tlRGB555:
      for (int64_t i = 0; i < count; ++i, src += 2, d += 3) {
        const uint16_t v = Word(src, be);
        d[0] = uint8_t((v & 31) * 8), d[1] = uint8_t((v >> 5 & 31) * 8), d[2] = uint8_t((v >> 10 & 31) * 8);
      }
      break;
    case TTiffLayout::tlPalette:
      for (int64_t i = 0; i < count; ++i, d += 3) {
        const TBGR c = plan.Palette[src[i * s]];
        d[0] = c.b, d[1] = c.g, d[2] = c.r;
        if (plan.Alpha && a) a[i] = src[i * s + 1];
      }
      break;
    case TTiffLayout::tlGrey8: {
      const uint8_t flip = plan.WhiteIsZero ? 255 : 0;
      for (int64_t i = 0; i < count; ++i, d += 3) d[0] = d[1] = d[2] = uint8_t(src[i] ^ flip);
      break;
    }
    case TTiffLayout::tlGrey16: {
      const uint16_t flip = plan.WhiteIsZero ? 65535 : 0;
      for (int64_t i = 0; i < count; ++i, d += 3)
        d[0] = d[1] = d[2] = uint8_t(std::min((Word(src + 2 * i, be) ^ flip) >> plan.GreyShift, 255));
      break;
    }
    case TTiffLayout::tlCMYK:
      for (int64_t i = 0; i < count; ++i, src += 4, d += 3) {
        const int k = 255 - src[3];
        d[0] = uint8_t((255 - src[2]) * k / 255), d[1] = uint8_t((255 - src[1]) * k / 255), d[2] = uint8_t((255 - src[0]) * k / 255);
      }
      break;
    case TTiffLayout::tlLab:
      for (int64_t i = 0; i < count; ++i, src += 3, d += 3) {
        const TBGR c = LabToRGB(TIELab{src[0], int8_t(src[1]), int8_t(src[2])});
        d[0] = c.b, d[1] = c.g, d[2] = c.r;
      }
      break;
    default: break;
  }
}

}  // namespace quillet

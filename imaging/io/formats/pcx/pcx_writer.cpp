// PCX writer: 1-bit (its two colours in the header), 4-bit packed (16
// quantized colours in the header), 8-bit (256 after the image) and 24-bit in
// three planes; plane lines of an even byte count, plain or run-length coded.
#include <algorithm>
#include <memory>
#include <vector>

#include "imaging/io/dib_util.h"
#include "imaging/io/formats/pcx/pcx_codec.h"
#include "imaging/io/writer_source.h"
#include "imaging/proc/quantizer.h"

namespace quillet {

namespace {

constexpr int kMaxRun = 63;

// What the rows are made from, and how the file lays them out.
struct TPcxPlan {
  int depth = 24;  // 1, 4, 8 or 24
  TWriterSource source;
  std::vector<TBGR> palette;  // 2, 16 or 256 entries; none for 24 bits
  std::unique_ptr<TIEQuantizer> quantizer;
  int64_t width = 0, height = 0, lineBytes = 0;
  int planes = 1;
};

// The depth for the samples the parameters describe, which another reader
// may have left: one bit, up to four or eight bits in one sample, else 24.
int DepthOf(const TIOParamsVals& p) {
  if (p.BitsPerSample * p.SamplesPerPixel <= 1) return 1;
  if (p.SamplesPerPixel == 1 && p.BitsPerSample <= 4) return 4;
  return p.SamplesPerPixel == 1 && p.BitsPerSample <= 8 ? 8 : 24;
}

void Plan(const TIOWriteArgs& a, TPcxPlan& plan) {
  plan.depth = DepthOf(a.Params);
  plan.width = a.Bitmap.Width();
  plan.height = a.Bitmap.Height();
  plan.planes = plan.depth == 24 ? 3 : 1;
  const int64_t bits = plan.depth == 24 ? 8 : plan.depth;
  plan.lineBytes = (plan.width * bits + 7) / 8;
  plan.lineBytes += plan.lineBytes & 1;
  if (plan.depth == 1) {
    plan.source = BilevelSource(a.Bitmap);
    plan.palette.assign(plan.source.Colours.begin(), plan.source.Colours.end());
    return;
  }
  plan.source = TrueColourSource(a.Bitmap);
  if (plan.depth == 24) return;
  plan.palette.assign(size_t(1) << plan.depth, kBlack);
  plan.quantizer = TIEQuantizer::KeepingColours(TIEQuantizerSource(*plan.source.Image), plan.palette, 1 << plan.depth);
}

void WriteHeader(TIEStream& s, const TPcxPlan& plan, const TIOParamsVals& p) {
  uint8_t h[128] = {};
  const auto put16 = [&](int at, int64_t v) { h[at] = uint8_t(v), h[at + 1] = uint8_t(v >> 8); };
  h[0] = 10;
  // Readers take 8 and 24-bit layouts and the trailing palette only from version 5.
  h[1] = uint8_t(plan.depth >= 8 ? 5 : p.PcxVersion);
  h[2] = p.PcxCompression != 0 ? 1 : 0;
  h[3] = uint8_t(plan.depth == 24 ? 8 : plan.depth);
  put16(8, plan.width - 1);
  put16(10, plan.height - 1);
  put16(12, p.DpiX);
  put16(14, p.DpiY);
  if (plan.depth <= 4)
    for (size_t i = 0; i < plan.palette.size(); ++i) {
      h[16 + 3 * i] = plan.palette[i].r, h[17 + 3 * i] = plan.palette[i].g, h[18 + 3 * i] = plan.palette[i].b;
    }
  h[65] = uint8_t(plan.planes);
  put16(66, plan.lineBytes);
  put16(68, plan.depth == 24 ? 0 : 1);
  s.WriteExact(h, sizeof h);
}

// Writes the run-length coding of one plane line, at most twice its bytes,
// at `out`; returns the end of what it wrote.
uint8_t* EncodeLine(const uint8_t* line, int64_t count, uint8_t* out) {
  for (int64_t x = 0; x < count;) {
    const uint8_t v = line[x];
    const int64_t limit = std::min<int64_t>(kMaxRun, count - x);
    int64_t run = 1;
    while (run < limit && line[x + run] == v) ++run;
    *out = uint8_t(0xC0 | run);  // kept only for a run or an escaped byte; no branch on it
    out += run > 1 || v >= 0xC0;
    *out++ = v;
    x += run;
  }
  return out;
}

// The plane lines of image row y, one after the other.
void PlaneLines(const TPcxPlan& plan, int64_t y, std::vector<uint8_t>& indices, std::vector<uint8_t>& lines) {
  const uint8_t* src = plan.source.Image->ScanLine(y);
  const int64_t w = plan.width, n = plan.lineBytes;
  switch (plan.depth) {
    case 1:
      std::copy_n(src, (w + 7) / 8, lines.begin());
      if (w & 7) lines[size_t(w >> 3)] &= uint8_t(0xFF00 >> (w & 7));  // no stray bits past the width
      break;
    case 4:
      plan.quantizer->MapRow(src, w, indices.data());
      for (int64_t x = 0; x < w; ++x) {
        uint8_t& byte = lines[size_t(x >> 1)];
        byte = x & 1 ? uint8_t(byte | indices[size_t(x)]) : uint8_t(indices[size_t(x)] << 4);
      }
      break;
    case 8:
      plan.quantizer->MapRow(src, w, lines.data());
      break;
    default: {
      uint8_t *r = lines.data(), *g = r + n, *b = g + n;
      for (int64_t x = 0; x < w; ++x, src += 3) r[x] = src[2], g[x] = src[1], b[x] = src[0];
      break;
    }
  }
}

void WriteRows(TIOWriteArgs& a, const TPcxPlan& plan) {
  const bool rle = a.Params.PcxCompression != 0;
  const size_t rowBytes = size_t(plan.lineBytes * plan.planes);
  std::vector<uint8_t> lines(rowBytes, 0), indices(size_t(plan.width)), coded(rle ? 2 * rowBytes : 0);
  for (int64_t y = 0; y < plan.height; ++y) {
    a.Progress.Report(int(y * 100 / plan.height));
    if (a.Progress.Aborted()) return;
    PlaneLines(plan, y, indices, lines);
    const uint8_t* bytes = lines.data();
    int64_t size = int64_t(rowBytes);
    if (rle) {
      uint8_t* end = coded.data();
      for (int k = 0; k < plan.planes; ++k) end = EncodeLine(lines.data() + k * plan.lineBytes, plan.lineBytes, end);
      bytes = coded.data(), size = end - coded.data();
    }
    if (!a.Stream.WriteExact(bytes, size)) return Fail(a, "write error");
  }
}

void WritePcx(TIOWriteArgs& a) {
  TPcxPlan plan;
  Plan(a, plan);
  WriteHeader(a.Stream, plan, a.Params);
  WriteRows(a, plan);
  if (a.Progress.Aborted()) return;
  if (plan.depth == 8) {
    std::vector<uint8_t> trailer{0x0C};
    for (const TBGR& c : plan.palette) trailer.insert(trailer.end(), {c.r, c.g, c.b});
    a.Stream.WriteExact(trailer.data(), int64_t(trailer.size()));
  }
  if (!plan.palette.empty()) a.Params.SetColorMap(plan.palette);
  if (a.Stream.Failed()) return Fail(a, "write error");
  a.Progress.Report(100);
}

}  // namespace

void WritePCXStream(TIOWriteArgs& args) {
  if (args.Bitmap.Empty()) return Fail(args, "empty image");
  args.Progress.Guard([&] { WritePcx(args); });
}

}  // namespace quillet

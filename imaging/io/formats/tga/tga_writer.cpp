// Targa writer: 1-bit grey, 8-bit colour-mapped (256 colours, or 16 for a
// 4-bit request), 8-bit grey and 24-bit true colour, rows from the top, each
// row run-length coded on its own; then the extension area and the footer.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "imaging/io/dib_util.h"
#include "imaging/io/formats/tga/tga_codec.h"
#include "imaging/io/formats/tga/tga_extension.h"
#include "imaging/io/formats/tga/tga_packets.h"
#include "imaging/io/writer_source.h"
#include "imaging/proc/quantizer.h"

namespace quillet {

namespace {

constexpr size_t kMaxIdBytes = 254;

enum class TTgaOutput { toBits, toMapped, toGrey, toColour };

struct TTgaPlan {
  TTgaOutput output = TTgaOutput::toColour;
  TWriterSource source;
  std::vector<TBGR> palette;  // 16 or 256 entries for mapped output
  std::unique_ptr<TIEQuantizer> quantizer;
  bool rle = false;
  int64_t width = 0, height = 0;

  int Depth() const { return output == TTgaOutput::toBits ? 1 : output == TTgaOutput::toColour ? 24 : 8; }
  int64_t RowBytes() const { return output == TTgaOutput::toBits ? (width + 7) / 8 : width * Depth() / 8; }
  int ImageType() const {
    const int type = output == TTgaOutput::toMapped ? 1 : output == TTgaOutput::toColour ? 2 : 3;
    return rle ? type + 8 : type;
  }
};

// One sample of 1, 4 or 8 bits gives bilevel, mapped or grey output; every
// other sample layout another reader may leave gives true colour.
TTgaPlan Plan(TIOWriteArgs& a) {
  TIOParamsVals& p = a.Params;
  TTgaPlan plan;
  plan.width = a.Bitmap.Width();
  plan.height = a.Bitmap.Height();
  const int bits = p.SamplesPerPixel == 1 ? p.BitsPerSample : 0;
  if (bits == 1 || bits == 4) p.TgaCompressed = false;
  plan.rle = p.TgaCompressed;
  if (bits == 1) {
    plan.output = TTgaOutput::toBits;
    plan.source = BilevelSource(a.Bitmap);
    return plan;
  }
  plan.source = TrueColourSource(a.Bitmap);
  if (bits == 8 && p.TgaGrayLevel) {
    plan.output = TTgaOutput::toGrey;
  } else if (bits == 4 || bits == 8) {
    // A 4-bit request is written as 8-bit data over a 16-entry map, which readers take.
    plan.output = TTgaOutput::toMapped;
    plan.palette.assign(size_t(1) << bits, kBlack);
    plan.quantizer = TIEQuantizer::KeepingColours(TIEQuantizerSource(*plan.source.Image), plan.palette, 1 << bits);
  }
  return plan;
}

std::vector<uint8_t> Header(const TTgaPlan& plan, const TIOParamsVals& p) {
  const std::string id = p.TgaDescriptor.substr(0, kMaxIdBytes);
  const bool mapped = plan.output == TTgaOutput::toMapped;
  std::vector<uint8_t> h(18, 0);
  const auto put16 = [&](int at, int64_t v) { h[size_t(at)] = uint8_t(v), h[size_t(at + 1)] = uint8_t(v >> 8); };
  h[0] = uint8_t(id.size() + 1);
  h[1] = mapped ? 1 : 0;
  h[2] = uint8_t(plan.ImageType());
  if (mapped) {
    put16(5, int64_t(plan.palette.size()));
    h[7] = 24;
  }
  put16(8, p.TgaXPos);
  put16(10, p.TgaYPos);
  put16(12, plan.width);
  put16(14, plan.height);
  h[16] = uint8_t(plan.Depth());
  h[17] = 0x20;
  h.insert(h.end(), id.begin(), id.end());
  h.push_back(0);
  for (const TBGR& c : plan.palette) h.insert(h.end(), {c.b, c.g, c.r});
  return h;
}

// Row y as the file stores it, in `row` (or the source row itself when it
// already is); returns its bytes.
const uint8_t* FileRow(const TTgaPlan& plan, int64_t y, std::vector<uint8_t>& row) {
  const uint8_t* src = plan.source.Image->ScanLine(y);
  const int64_t w = plan.width;
  switch (plan.output) {
    case TTgaOutput::toColour:
      return src;
    case TTgaOutput::toBits:
      std::copy_n(src, row.size(), row.begin());
      if (w & 7) row.back() &= uint8_t(0xFF00 >> (w & 7));  // no stray bits past the width
      break;
    case TTgaOutput::toMapped:
      plan.quantizer->MapRow(src, w, row.data());
      break;
    case TTgaOutput::toGrey:
      for (int64_t x = 0; x < w; ++x, src += 3) row[size_t(x)] = uint8_t(GreyLevel(MakeBGR(src[2], src[1], src[0])));
      break;
  }
  return row.data();
}

void WriteRows(TIOWriteArgs& a, const TTgaPlan& plan) {
  std::vector<uint8_t> row(size_t(plan.RowBytes())), coded;
  const int pixelBytes = plan.Depth() == 24 ? 3 : 1;
  for (int64_t y = 0; y < plan.height; ++y) {
    a.Progress.Report(int(y * 100 / plan.height));
    if (a.Progress.Aborted()) return;
    const uint8_t* bytes = FileRow(plan, y, row);
    int64_t count = int64_t(row.size());
    if (plan.rle) {
      coded.clear();
      EncodeTgaRow(bytes, plan.width, pixelBytes, coded);
      bytes = coded.data(), count = int64_t(coded.size());
    }
    if (!a.Stream.WriteExact(bytes, count)) return Fail(a, "write error");
  }
}

void WriteTga(TIOWriteArgs& a) {
  const int64_t start = a.Stream.Position();
  const TTgaPlan plan = Plan(a);
  const std::vector<uint8_t> header = Header(plan, a.Params);
  if (!a.Stream.WriteExact(header.data(), int64_t(header.size()))) return Fail(a, "write error");
  WriteRows(a, plan);
  if (a.Progress.Aborted()) return;
  const TTgaExtension area = MakeTgaExtension(a.Params);
  const TTgaFooter footer = MakeTgaFooter(uint32_t(a.Stream.Position() - start));
  a.Stream.WriteExact(area.data(), kTgaExtensionBytes);
  a.Stream.WriteExact(footer.data(), kTgaFooterBytes);
  if (!plan.palette.empty()) a.Params.SetColorMap(plan.palette);
  if (a.Stream.Failed()) return Fail(a, "write error");
  a.Progress.Report(100);
}

}  // namespace

void WriteTGAStream(TIOWriteArgs& args) {
  if (args.Bitmap.Empty()) return Fail(args, "empty image");
  if (args.Bitmap.Width() > 65535 || args.Bitmap.Height() > 65535)
    return Fail(args, "image too large for a Targa file");
  args.Progress.Guard([&] { WriteTga(args); });
}

}  // namespace quillet

// PXM reader. Every row is first gathered in the file's binary layout (packed
// bits with 1 = black, or 1- or 2-byte samples, most significant byte first),
// from the binary data or from the ASCII tokens, then stored in the bitmap
// through a table that clamps to the maximum value and scales to 255.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/engine_settings.h"
#include "imaging/io/dib_util.h"
#include "imaging/io/byte_rows.h"
#include "imaging/io/formats/pxm/pxm_codec.h"
#include "imaging/io/formats/pxm/pxm_tokens.h"
#include "imaging/io/row_loop.h"

namespace quillet {

namespace {

constexpr int32_t kMaxSample = 65535;

struct TPxmHeader {
  char kind = 0;  // '1' .. '6'
  int64_t width = 0, height = 0;
  int32_t maxValue = 1;

  bool Bitmap() const { return kind == '1' || kind == '4'; }
  bool Binary() const { return kind >= '4'; }
  int Samples() const { return kind == '3' || kind == '6' ? 3 : 1; }
  int SampleBytes() const { return maxValue > 255 ? 2 : 1; }
  int64_t RowBytes() const { return Bitmap() ? (width + 7) / 8 : width * Samples() * SampleBytes(); }
};

// The next token that is not a comment; comments go to `comments`.
bool NextValue(TPxmTokenReader& tokens, std::string& token, std::vector<std::string>& comments) {
  while (tokens.Next(token)) {
    if (token[0] != '#') return true;
    comments.push_back(token.substr(1));
  }
  return false;
}

const char* ReadHeader(TPxmTokenReader& tokens, TPxmHeader& h, std::vector<std::string>& comments) {
  std::string token;
  if (!NextValue(tokens, token, comments) || token.size() != 2 || token[0] != 'P' || token[1] < '1' || token[1] > '6')
    return "not a PBM, PGM or PPM file";
  h.kind = token[1];
  int32_t fields[3] = {0, 0, 1};
  for (int i = 0; i < (h.Bitmap() ? 2 : 3); ++i) fields[i] = NextValue(tokens, token, comments) ? PxmNumber(token) : -1;
  h.width = fields[0];
  h.height = fields[1];
  h.maxValue = fields[2];
  if (h.width <= 0 || h.height <= 0) return "bad image size";
  if (h.maxValue < 1 || h.maxValue > kMaxSample) return "maximum value not in 1 to 65535";
  return nullptr;
}

void SetParams(const TPxmHeader& h, TIOParamsVals& p) {
  p.FreeColorMap();
  p.Width = int32_t(h.width);
  p.Height = int32_t(h.height);
  p.DpiX = StartupMetrics().DpiX;
  p.DpiY = StartupMetrics().DpiY;
  p.BitsPerSample = h.Bitmap() ? 1 : 8;
  p.SamplesPerPixel = h.Samples();
}

// Sample value to 8 bits: clamped to the maximum, then v × 255 ÷ max.
std::vector<uint8_t> ScaleTable(const TPxmHeader& h) {
  std::vector<uint8_t> table(h.SampleBytes() == 2 ? 65536 : 256);
  for (size_t v = 0; v < table.size(); ++v) table[v] = uint8_t(std::min<int64_t>(v, h.maxValue) * 255 / h.maxValue);
  return table;
}

// The next ASCII sample, clamped to the maximum; -1 at the end of the data.
int32_t NextSample(TPxmTokenReader& tokens, std::string& token, int32_t maxValue) {
  while (tokens.Next(token)) {
    if (token[0] == '#') continue;
    if (!std::all_of(token.begin(), token.end(), [](char c) { return c >= '0' && c <= '9'; })) return -1;
    const int32_t v = PxmNumber(token);  // -1 when too large to fit
    return v < 0 || v > maxValue ? maxValue : v;
  }
  return -1;
}

// Gathers one row of the file's binary layout in `row`; false when the data
// ended first (the rest of the row then reads as white).
class TRowSource {
 public:
  TRowSource(TIEStream& stream, TPxmTokenReader& tokens, const TPxmHeader& h) : stream_(stream), tokens_(tokens), h_(h) {}

  // `row` holds the file's row bytes.
  bool Next(uint8_t* row) {
    if (h_.Binary()) return Binary(row);
    return h_.Bitmap() ? AsciiBits(row) : AsciiSamples(row);
  }

 private:
  bool Binary(uint8_t* row) {
    const int64_t bytes = h_.RowBytes(), got = std::max<int64_t>(0, stream_.Read(row, bytes));
    std::memset(row + got, h_.Bitmap() ? 0x00 : 0xFF, size_t(bytes - got));
    return got == bytes;
  }

  // Characters 0 and 1 are pixels; any other character is skipped.
  bool AsciiBits(uint8_t* row) {
    std::memset(row, 0, size_t(h_.RowBytes()));
    for (int64_t x = 0; x < h_.width;) {
      if (pending_ == token_.size()) {
        if (!tokens_.Next(token_)) return false;
        pending_ = token_[0] == '#' ? token_.size() : 0;
        continue;
      }
      const char c = token_[pending_++];
      if (c != '0' && c != '1') continue;
      if (c == '1') row[x >> 3] |= uint8_t(0x80 >> (x & 7));
      ++x;
    }
    return true;
  }

  bool AsciiSamples(uint8_t* row) {
    const int64_t bytes = h_.SampleBytes(), size = h_.RowBytes();
    for (int64_t at = 0; at < size; at += bytes) {
      const int32_t v = NextSample(tokens_, token_, h_.maxValue);
      if (v < 0) {
        std::memset(row + at, 0xFF, size_t(size - at));
        return false;
      }
      if (bytes == 2) row[at] = uint8_t(v >> 8);
      row[at + bytes - 1] = uint8_t(v);
    }
    return true;
  }

  TIEStream& stream_;
  TPxmTokenReader& tokens_;
  const TPxmHeader& h_;
  std::string token_;
  size_t pending_ = 0;  // next character of token_ for P1
};

// `width` pixels of grey (samples 1) or R, G, B samples into B, G, R bytes;
// at(i) is sample i scaled.
template <class Sample>
void StoreSamples(int samples, int64_t width, Sample at, uint8_t* dst) {
  if (samples == 1)
    for (int64_t x = 0; x < width; ++x, dst += 3) dst[0] = dst[1] = dst[2] = at(x);
  else
    for (int64_t i = 0; i < 3 * width; i += 3, dst += 3) dst[0] = at(i + 2), dst[1] = at(i + 1), dst[2] = at(i);
}

// One gathered row into bitmap row `dst`.
void StoreRow(const TPxmHeader& h, const std::vector<uint8_t>& table, const uint8_t* row, uint8_t* dst) {
  if (h.Bitmap()) return InvertBitRow(row, dst, h.width);
  if (h.maxValue == 255) return h.Samples() == 1 ? GreyToBgrRow(row, dst, h.width) : SwapRedBlueRow(row, dst, h.width);
  const uint8_t* scale = table.data();
  if (h.SampleBytes() == 2)
    return StoreSamples(h.Samples(), h.width, [=](int64_t i) { return scale[row[2 * i] << 8 | row[2 * i + 1]]; }, dst);
  StoreSamples(h.Samples(), h.width, [=](int64_t i) { return scale[row[i]]; }, dst);
}

void ReadPixels(TIOReadArgs& a, TPxmTokenReader& tokens, const TPxmHeader& h) {
  if (!a.Bitmap.AllocateUninitialised(h.width, h.height, h.Bitmap() ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit))
    return Fail(a, "image too large");
  if (h.Binary()) tokens.SyncStream();
  TRowSource source(a.Stream, tokens, h);
  const std::vector<uint8_t> table = h.Bitmap() ? std::vector<uint8_t>() : ScaleTable(h);
  std::vector<uint8_t> row(size_t(h.RowBytes()));
  ReadRows(a, "truncated pixel data", TRowOrder::roTopDown, [&](int64_t y) {
    const bool complete = source.Next(row.data());
    StoreRow(h, table, row.data(), a.Bitmap.ScanLine(y));
    return complete;
  });
}

void ReadPxm(TIOReadArgs& a) {
  a.Params.PxmComments.clear();
  TPxmTokenReader tokens(a.Stream);
  TPxmHeader h;
  if (const char* problem = ReadHeader(tokens, h, a.Params.PxmComments)) return Fail(a, problem);
  SetParams(h, a.Params);
  if (!a.ParamsOnly) ReadPixels(a, tokens, h);
}

}  // namespace

void ReadPXMStream(TIOReadArgs& args) {
  args.Progress.Guard([&] { ReadPxm(args); });
}

}  // namespace quillet

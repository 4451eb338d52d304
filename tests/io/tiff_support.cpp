#include "tiff_support.h"

#include <random>

namespace quillet::test {

namespace {

// Bytes in the file's byte order.
struct Writer {
  bool big;
  std::vector<uint8_t> v;
  void u16(uint32_t x) { big ? (v.push_back(uint8_t(x >> 8)), v.push_back(uint8_t(x))) : (v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8))); }
  void u32(uint32_t x) { big ? (u16(x >> 16), u16(x & 0xFFFF)) : (u16(x & 0xFFFF), u16(x >> 16)); }
  void put32(size_t at, uint32_t x) {
    Writer w{big, {}};
    w.u32(x);
    std::copy(w.v.begin(), w.v.end(), v.begin() + long(at));
  }
};

int TypeSize(uint16_t type) { return type == 3 ? 2 : type == 5 ? 8 : type == 2 || type == 1 || type == 7 ? 1 : 4; }

void PutValue(Writer& w, uint16_t type, uint32_t value) {
  if (type == 3) w.u16(value);
  else if (type == 5) w.u32(value), w.u32(1);
  else if (TypeSize(type) == 1) w.v.push_back(uint8_t(value));
  else w.u32(value);
}

}  // namespace

std::vector<uint8_t> BuildTiff(std::vector<TiffPage> pages, bool bigEndian) {
  Writer w{bigEndian, {}};
  w.v = bigEndian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'};
  w.u16(42);
  w.u32(0);
  size_t link = 4;
  for (TiffPage& page : pages) {
    const uint32_t dataAt = uint32_t(w.v.size());
    w.v.insert(w.v.end(), page.data.begin(), page.data.end());
    if (w.v.size() & 1) w.v.push_back(0);
    if (!page.data.empty() && !page.entries.count(page.offsetTag)) page.Set(page.offsetTag, {dataAt}, 4);
    if (page.offsetTag == 273 && !page.entries.count(279)) page.Set(279, {uint32_t(page.data.size())}, 4);
    // Values that do not fit go first, then the directory.
    std::map<uint16_t, uint32_t> offsets;
    for (auto& [tag, e] : page.entries) {
      if (TypeSize(e.type) * e.values.size() <= 4) continue;
      offsets[tag] = uint32_t(w.v.size());
      for (uint32_t x : e.values) PutValue(w, e.type, x);
      if (w.v.size() & 1) w.v.push_back(0);
    }
    w.put32(link, uint32_t(w.v.size()));
    w.u16(uint32_t(page.entries.size()));
    for (auto& [tag, e] : page.entries) {
      w.u16(tag);
      w.u16(e.type);
      w.u32(uint32_t(e.values.size()));
      if (offsets.count(tag)) {
        w.u32(offsets[tag]);
        continue;
      }
      const size_t start = w.v.size();
      for (uint32_t x : e.values) PutValue(w, e.type, x);
      while (w.v.size() < start + 4) w.v.push_back(0);
    }
    link = w.v.size();
    w.u32(0);
  }
  return w.v;
}

TIEWorkingBitmap RandomBitmap(int64_t w, int64_t h, TIEPixelFormat format, uint32_t seed) {
  TIEWorkingBitmap b(w, h, format);
  std::mt19937 rng(seed);
  for (int64_t y = 0; y < h; ++y)
    for (int64_t i = 0; i < b.RowBytes(); ++i) b.ScanLine(y)[i] = uint8_t(rng());
  return b;
}

}  // namespace quillet::test

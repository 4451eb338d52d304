#include "imaging/io/formats/tiff/tiff_entries.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

constexpr uint16_t kAscii = 2, kShort = 3, kLong = 4, kRational = 5;

void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

}  // namespace

void PadToWord(TIEStream& stream, int64_t base) {
  if ((stream.Position() - base) & 1) stream.WriteU8(0);
}

void TTiffEntries::Add(uint16_t tag, uint16_t type, uint32_t count, std::vector<uint8_t> bytes, bool before) {
  entries_.push_back({tag, type, count, std::move(bytes), before, 0});
}

void TTiffEntries::Shorts(uint16_t tag, const std::vector<uint16_t>& values, bool before) {
  std::vector<uint8_t> bytes;
  for (uint16_t v : values) PutLE(bytes, v, 2);
  Add(tag, kShort, uint32_t(values.size()), std::move(bytes), before);
}

void TTiffEntries::Long(uint16_t tag, uint32_t value) {
  std::vector<uint8_t> bytes;
  PutLE(bytes, value, 4);
  Add(tag, kLong, 1, std::move(bytes), true);
}

void TTiffEntries::Rational(uint16_t tag, uint32_t numerator, uint32_t denominator) {
  std::vector<uint8_t> bytes;
  PutLE(bytes, numerator, 4);
  PutLE(bytes, denominator, 4);
  Add(tag, kRational, 1, std::move(bytes), false);
}

void TTiffEntries::Ascii(uint16_t tag, const std::string& text, bool before) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  const uint32_t count = uint32_t(bytes.size());
  Add(tag, kAscii, count, std::move(bytes), before);
}

void TTiffEntries::SetLong(uint16_t tag, uint32_t value) {
  for (TEntry& e : entries_)
    if (e.tag == tag) {
      e.bytes.clear();
      PutLE(e.bytes, value, 4);
    }
}

bool TTiffEntries::WriteValues(TIEStream& stream, int64_t base, bool before) {
  for (TEntry& e : entries_) {
    if (e.before != before || e.bytes.size() <= 4) continue;
    PadToWord(stream, base);
    const int64_t offset = stream.Position() - base;
    if (offset > int64_t(UINT32_MAX)) return false;
    e.offset = uint32_t(offset);
    stream.WriteExact(e.bytes.data(), int64_t(e.bytes.size()));
  }
  return true;
}

int64_t TTiffEntries::WriteDirectory(TIEStream& stream, int64_t base, uint32_t next) {
  PadToWord(stream, base);
  const int64_t offset = stream.Position() - base;
  if (offset > int64_t(UINT32_MAX) - 2 - 12 * int64_t(entries_.size()) - 4) return -1;
  std::stable_sort(entries_.begin(), entries_.end(), [](const TEntry& a, const TEntry& b) { return a.tag < b.tag; });
  std::vector<uint8_t> out;
  PutLE(out, uint32_t(entries_.size()), 2);
  for (const TEntry& e : entries_) {
    PutLE(out, e.tag, 2);
    PutLE(out, e.type, 2);
    PutLE(out, e.count, 4);
    if (e.bytes.size() <= 4) {
      out.insert(out.end(), e.bytes.begin(), e.bytes.end());
      out.insert(out.end(), 4 - e.bytes.size(), 0);
    } else {
      PutLE(out, e.offset, 4);
    }
  }
  PutLE(out, next, 4);
  stream.WriteExact(out.data(), int64_t(out.size()));
  return offset;
}

}  // namespace quillet

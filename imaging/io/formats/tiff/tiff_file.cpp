// Header, directory chain and entry values of the TIFF structure.
#include "imaging/io/formats/tiff/tiff_file.h"

#include <algorithm>
#include <unordered_set>

namespace quillet {

namespace {

constexpr int32_t kMaxDirectories = 65536;

int TypeSize(uint16_t type) {
  switch (type) {
    case 3: case 8: return 2;          // SHORT, SSHORT
    case 4: case 9: case 11: return 4; // LONG, SLONG, FLOAT
    case 5: case 10: case 12: return 8;  // RATIONAL, SRATIONAL, DOUBLE
    default: return 1;                 // BYTE, ASCII, UNDEFINED and the unknown
  }
}

}  // namespace

bool TTiffFile::ReadAt(int64_t offset, void* buffer, int64_t count) {
  if (!Contains(offset, count)) return false;
  stream_.Seek(base_ + offset, TSeekOrigin::soBeginning);
  return stream_.ReadExact(buffer, count);
}

bool TTiffFile::ReadHeader() {
  uint8_t h[8];
  if (!ReadAt(0, h, 8)) return false;
  if (h[0] == 'I' && h[1] == 'I')
    bigEndian_ = false;
  else if (h[0] == 'M' && h[1] == 'M')
    bigEndian_ = true;
  else
    return false;
  first_ = U32(h + 4);
  return U16(h + 2) == 42;
}

TTiffChain WalkDirectories(TTiffFile& file, int64_t index) {
  TTiffChain chain;
  std::unordered_set<uint32_t> seen;
  uint32_t offset = file.FirstDirectory();
  while (offset != 0 && chain.Count < kMaxDirectories && seen.insert(offset).second) {
    uint8_t count[2];
    if (!file.ReadAt(offset, count, 2)) break;
    const int64_t link = int64_t(offset) + 2 + 12 * int64_t(file.U16(count));
    uint8_t next[4];
    if (!file.ReadAt(link, next, 4)) break;
    if (chain.Count == index) chain.Selected = offset;
    if (index < 0 || chain.Count <= index) {
      chain.LinkPosition = link;
      chain.LinkValue = file.U32(next);
    }
    ++chain.Count;
    offset = file.U32(next);
  }
  return chain;
}

bool TTiffDirectory::Read(TTiffFile& file, int64_t offset) {
  file_ = &file;
  uint8_t count[2];
  if (!file.ReadAt(offset, count, 2)) return false;
  const int n = file.U16(count);
  std::vector<uint8_t> raw(size_t(n) * 12);
  if (!file.ReadAt(offset + 2, raw.data(), int64_t(raw.size()))) return false;
  entries_.resize(size_t(n));
  for (int i = 0; i < n; ++i) {
    const uint8_t* p = raw.data() + 12 * i;
    TTiffEntry& e = entries_[size_t(i)];
    e.Tag = file.U16(p);
    e.Type = file.U16(p + 2);
    e.Count = file.U32(p + 4);
    std::copy(p + 8, p + 12, e.Value);
  }
  return true;
}

const TTiffEntry* TTiffDirectory::Find(uint16_t tag) const {
  for (const TTiffEntry& e : entries_)
    if (e.Tag == tag) return &e;
  return nullptr;
}

uint32_t TTiffDirectory::Int(uint16_t tag, uint32_t fallback) const {
  const TTiffEntry* e = Find(tag);
  if (!e) return fallback;
  if (e->Type == 1 || e->Type == 6 || e->Type == 7) return e->Value[0];  // BYTE, SBYTE, UNDEFINED
  return e->Type == 3 ? file_->U16(e->Value) : file_->U32(e->Value);
}

bool TTiffDirectory::Bytes(const TTiffEntry& e, int64_t size, std::vector<uint8_t>& out) const {
  if (size <= 4) return out.assign(e.Value, e.Value + size), true;
  const int64_t offset = file_->U32(e.Value);
  if (!file_->Contains(offset, size)) return false;
  out.resize(size_t(size));
  return file_->ReadAt(offset, out.data(), size);
}

double TTiffDirectory::Rational(uint16_t tag, double fallback) const {
  const std::vector<double> values = Rationals(tag);
  return values.empty() ? fallback : values[0];
}

std::vector<double> TTiffDirectory::Rationals(uint16_t tag) const {
  const TTiffEntry* e = Find(tag);
  if (e && e->Type != 5 && e->Type != 10) {  // whole numbers where a fraction belongs
    const std::vector<uint32_t> ints = Ints(tag);
    return std::vector<double>(ints.begin(), ints.end());
  }
  std::vector<uint8_t> raw;
  if (!e || e->Count == 0 || !Bytes(*e, int64_t(e->Count) * 8, raw)) return {};
  std::vector<double> values(e->Count);
  for (size_t i = 0; i < values.size(); ++i) {
    const uint32_t num = file_->U32(&raw[8 * i]), den = file_->U32(&raw[8 * i + 4]);
    if (e->Type == 10)  // SRATIONAL
      values[i] = double(int32_t(num)) / (den == 0 ? 1 : int32_t(den));
    else
      values[i] = double(num) / (den == 0 ? 1 : den);
  }
  return values;
}

std::vector<uint32_t> TTiffDirectory::Ints(uint16_t tag) const {
  const TTiffEntry* e = Find(tag);
  if (!e || e->Count == 0) return {};
  if (e->Count == 1) return {Int(tag, 0)};
  const int size = e->Type == 3 ? 2 : 4;
  std::vector<uint8_t> raw;
  if (!Bytes(*e, int64_t(e->Count) * size, raw)) return {};
  std::vector<uint32_t> values(e->Count);
  for (size_t i = 0; i < values.size(); ++i) values[i] = size == 2 ? file_->U16(&raw[2 * i]) : file_->U32(&raw[4 * i]);
  return values;
}

std::string TTiffDirectory::Text(uint16_t tag) const {
  const TTiffEntry* e = Find(tag);
  std::vector<uint8_t> raw;
  if (!e || !Bytes(*e, int64_t(e->Count) * TypeSize(e->Type), raw)) return "";
  const auto end = std::find(raw.begin(), raw.end(), 0);
  return std::string(raw.begin(), end);
}

}  // namespace quillet

// The GIF block walk: header, colour tables, extensions and image descriptors.
#include "imaging/io/formats/gif/gif_blocks.h"

#include <array>
#include <cstring>

namespace quillet {

namespace {

// 2^bits entries of red, green, blue into the 256-entry table; entries the
// data does not reach stay black.
bool ReadColourTable(TIEStream& stream, int bits, TPaletteTable& table) {
  table = TPaletteTable{};
  const int64_t count = int64_t(1) << bits;
  std::array<uint8_t, 768> raw{};
  const int64_t got = stream.Read(raw.data(), count * 3);
  for (int64_t i = 0; i < got / 3; ++i) table.Colors[size_t(i)] = MakeBGR(raw[size_t(3 * i)], raw[size_t(3 * i + 1)], raw[size_t(3 * i + 2)]);
  table.Count = int(got / 3);
  return got == count * 3;
}

// The graphic control extension after its label: the size byte and that many
// bytes, of which the first four are the values, then any further sub-blocks.
bool ReadControl(TIEStream& stream, TGifControl& control) {
  uint8_t size = 0;
  std::array<uint8_t, 255> data{};
  if (!stream.ReadU8(size) || !stream.ReadExact(data.data(), size)) return false;
  if (size >= 4) {
    control.Present = true;
    control.Packed = data[0];
    control.Delay = uint16_t(data[1] | data[2] << 8);
    control.TransparentIndex = data[3];
  }
  return size == 0 || SkipGifSubBlocks(stream);
}

bool ReadDescriptor(TIEStream& stream, TGifImage& image) {
  std::array<uint8_t, 9> d{};
  if (!stream.ReadExact(d.data(), 9)) return false;
  const auto u16 = [&](int at) { return uint16_t(d[size_t(at)] | d[size_t(at + 1)] << 8); };
  image.Left = u16(0), image.Top = u16(2), image.Width = u16(4), image.Height = u16(6);
  image.Packed = d[8];
  image.HasTable = image.Packed & 0x80;
  if (!image.HasTable) return true;
  image.TableBits = (image.Packed & 7) + 1;
  return ReadColourTable(stream, image.TableBits, image.Table);
}

}  // namespace

bool ReadGifScreen(TIEStream& stream, TGifScreen& screen) {
  std::array<uint8_t, 13> h{};
  if (!stream.ReadExact(h.data(), 13) || std::memcmp(h.data(), "GIF", 3) != 0) return false;
  screen.Version.assign(reinterpret_cast<const char*>(h.data()), 6);
  screen.Width = uint16_t(h[6] | h[7] << 8);
  screen.Height = uint16_t(h[8] | h[9] << 8);
  screen.Packed = h[10];
  screen.BackgroundIndex = h[11];
  screen.AspectRatio = h[12];
  screen.HasTable = screen.Packed & 0x80;
  screen.TableBits = (screen.Packed & 7) + 1;
  if (screen.HasTable) ReadColourTable(stream, screen.TableBits, screen.Table);
  return true;
}

bool SkipGifSubBlocks(TIEStream& stream) {
  for (;;) {
    uint8_t length = 0;
    if (!stream.ReadU8(length)) return false;
    if (length == 0) return true;
    if (stream.Remaining() < length) return false;
    stream.Seek(length, TSeekOrigin::soCurrent);
  }
}

int64_t WalkGifBlocks(TIEStream& stream, const std::function<TGifVisit(TGifImage&)>& visit) {
  int64_t count = 0;
  TGifControl control;
  uint8_t introducer = 0;
  // Bytes that start no block are passed over, as other readers do.
  while (stream.ReadU8(introducer) && introducer != 0x3B) {
    if (introducer == 0x21) {
      uint8_t label = 0;
      if (!stream.ReadU8(label)) break;
      if (!(label == 0xF9 ? ReadControl(stream, control) : SkipGifSubBlocks(stream))) break;
    } else if (introducer == 0x2C) {
      TGifImage image;
      image.Index = count;
      image.Control = control;
      control = TGifControl{};
      if (!ReadDescriptor(stream, image)) break;
      ++count;
      const TGifVisit done = visit(image);
      if (done == TGifVisit::gvStop) break;
      uint8_t codeSize = 0;
      if (done == TGifVisit::gvSkipData && !(stream.ReadU8(codeSize) && SkipGifSubBlocks(stream))) break;
    }
  }
  return count;
}

}  // namespace quillet

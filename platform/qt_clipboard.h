// The desktop clipboard behind the processing component's port: blocks go out
// under our own type and as a standard image for other programs; pasting
// takes our block first, then any image the clipboard offers.
#pragma once

#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/proc/clipboard.h"

namespace quillet {

class TQtClipboard : public TIEClipboard {
 public:
  // Our block, so that a 1-bit image stays 1-bit between documents.
  static constexpr const char* kMimeType = "application/x-quillet-dib";

  bool HasBitmap() override;
  std::vector<uint8_t> GetDib() override;
  bool SetDib(std::vector<uint8_t> block) override;

 private:
  // While the clipboard holds what we offered, reads never ask the desktop
  // (which may have to wait on another program).
  bool Owned() const { return !offered_.isNull(); }

  QPointer<QMimeData> offered_;  // deleted by the clipboard when replaced
  std::vector<uint8_t> block_;
};

// The image other programs receive for a block (a 1-bit block stays mono);
// a null image when the block cannot be read.
QImage BlockImage(std::span<const uint8_t> block);
// The block of an image another program offered: black-and-white images in
// 1 bit, anything else in 24 bits with transparency laid over white.
std::vector<uint8_t> ImageBlock(const QImage& image);

}  // namespace quillet

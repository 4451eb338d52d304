#include "platform/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <cstring>

#include "imaging/proc/dib_block.h"

namespace quillet {

namespace {

bool IsBlackWhite(const QImage& image) {
  if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB) return false;
  const QList<QRgb> table = image.colorTable();
  const auto bw = [](QRgb c) { return c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255); };
  return table.size() == 2 && bw(table[0]) && bw(table[1]) && table[0] != table[1];
}

TIEWorkingBitmap BilevelBitmap(const QImage& image) {
  QImage mono = image.convertToFormat(QImage::Format_Mono);
  const bool whiteFirst = mono.color(0) == qRgb(255, 255, 255);
  TIEWorkingBitmap bitmap(mono.width(), mono.height(), TIEPixelFormat::pf1bit);
  const int64_t bytes = (int64_t(mono.width()) + 7) / 8;
  for (int64_t y = 0; y < bitmap.Height(); ++y) {
    const uchar* src = mono.constScanLine(int(y));
    uint8_t* dst = bitmap.ScanLine(y);
    // Our 1-bit images are black on 0, white on 1.
    for (int64_t i = 0; i < bytes; ++i) dst[i] = whiteFirst ? uint8_t(~src[i]) : src[i];
  }
  return bitmap;
}

TIEWorkingBitmap ColourBitmap(const QImage& image) {
  QImage rgb(image.size(), QImage::Format_BGR888);
  if (image.hasAlphaChannel()) {
    rgb.fill(Qt::white);
    QPainter painter(&rgb);
    painter.drawImage(0, 0, image);
  } else {
    rgb = image.convertToFormat(QImage::Format_BGR888);
  }
  TIEWorkingBitmap bitmap(rgb.width(), rgb.height(), TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < bitmap.Height(); ++y)
    std::memcpy(bitmap.ScanLine(y), rgb.constScanLine(int(y)), size_t(3 * bitmap.Width()));
  return bitmap;
}

}  // namespace

QImage BlockImage(std::span<const uint8_t> block) {
  TIEWorkingBitmap bitmap;
  if (!ReadDibBlock(block, bitmap)) return QImage();
  const bool oneBit = bitmap.PixelFormat() == TIEPixelFormat::pf1bit;
  QImage image(int(bitmap.Width()), int(bitmap.Height()), oneBit ? QImage::Format_Mono : QImage::Format_BGR888);
  if (image.isNull()) return image;
  if (oneBit) image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  const int64_t bytes = oneBit ? (bitmap.Width() + 7) / 8 : 3 * bitmap.Width();
  for (int64_t y = 0; y < bitmap.Height(); ++y) std::memcpy(image.scanLine(int(y)), bitmap.ScanLine(y), size_t(bytes));
  return image;
}

std::vector<uint8_t> ImageBlock(const QImage& image) {
  if (image.isNull()) return {};
  return WriteDibBlock(IsBlackWhite(image) ? BilevelBitmap(image) : ColourBitmap(image));
}

bool TQtClipboard::HasBitmap() {
  if (Owned()) return true;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && (data->hasFormat(kMimeType) || data->hasImage());
}

std::vector<uint8_t> TQtClipboard::GetDib() {
  if (Owned()) return block_;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return {};
  if (data->hasFormat(kMimeType)) {
    const QByteArray bytes = data->data(kMimeType);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  }
  return data->hasImage() ? ImageBlock(qvariant_cast<QImage>(data->imageData())) : std::vector<uint8_t>();
}

bool TQtClipboard::SetDib(std::vector<uint8_t> block) {
  if (block.empty()) return false;
  auto* data = new QMimeData;
  data->setData(kMimeType, QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())));
  data->setImageData(BlockImage(block));
  block_ = std::move(block);
  QGuiApplication::clipboard()->setMimeData(data);
  offered_ = data;
  return true;
}

}  // namespace quillet

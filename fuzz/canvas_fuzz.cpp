// Fuzz target of the canvas: random operations with any 32-bit coordinates,
// pens up to 100 wide, every brush and mix mode, on tiny odd-sized images of
// both formats. Each figure must cost only what it covers inside the image.
// Flood fills, brush stamps and spray dots, and text of random bytes too.
#include <cstdint>
#include <cstring>
#include <string>

#include "imaging/core/canvas.h"
#include "imaging/view/paint_tools.h"

// fontconfig loses a block while parsing its configuration, once per process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool More() const { return pos_ < size_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int32_t Int() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
    return int32_t(v);
  }
  // Mostly near the image, sometimes anywhere.
  int32_t Coordinate() {
    const uint8_t how = Byte();
    return (how & 3) == 0 ? Int() : int32_t(how >> 2) - 20;
  }
  quillet::TBGR Color() { return {Byte(), Byte(), Byte()}; }
  std::string Bytes(size_t most) {
    std::string text(Byte() % (most + 1), '\0');
    for (char& c : text) c = char(Byte());
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_, pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  Reader in(data, size);
  const uint8_t shape = in.Byte();
  TIEWorkingBitmap bitmap(1 + (shape & 31), 1 + (in.Byte() & 15), (shape & 128) ? TIEPixelFormat::pf1bit : TIEPixelFormat::pf24bit);
  TIECanvas canvas(bitmap);
  TIECanvasState& s = canvas.State();
  TPaintToolState tools;
  TPaintOptions options;
  TPaintSteps steps{canvas, tools, options};
  static const char* const kFonts[] = {"DejaVu Sans", "DejaVu Serif", "Monospace", "", "no such family"};
  for (int ops = 0; in.More() && ops < 64; ++ops) {
    const uint8_t op = in.Byte();
    switch (op % 12) {
      case 0: s.PenColor = TBGR{in.Byte(), in.Byte(), in.Byte()}; break;
      case 1: s.PenWidth = (op & 16) ? in.Int() % 101 : in.Byte() % 101; break;
      case 2:
        s.PenMode = (op & 16) ? TIEPenMode::pmNotXor : TIEPenMode::pmCopy;
        s.PenStyle = TIEPenStyle(in.Byte() % 6);
        break;
      case 3:
        s.SetBrushColor(TBGR{in.Byte(), in.Byte(), in.Byte()});
        s.BrushStyle = TIEBrushStyle(in.Byte() % 8);
        break;
      case 4: canvas.MoveTo(in.Coordinate(), in.Coordinate()); break;
      case 5: canvas.LineTo(in.Coordinate(), in.Coordinate()); break;
      case 6: canvas.Rectangle(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()); break;
      case 7: canvas.Ellipse(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate()); break;
      case 8:
        if (op & 16) canvas.FillRect(in.Coordinate(), in.Coordinate(), in.Coordinate(), in.Coordinate());
        else canvas.SetPixel(in.Coordinate(), in.Coordinate(), in.Color());
        break;
      case 9: {  // the region's own colour as the brush's, or any colour
        const int32_t x = in.Coordinate(), y = in.Coordinate();
        const std::optional<TBGR> under = canvas.Pixel(x, y);
        if (under && (op & 16)) s.BrushColor = *under;
        canvas.FloodFill(x, y, under && (op & 32) ? *under : in.Color(),
                         (op & 64) ? TIEFillStyle::fsBorder : TIEFillStyle::fsSurface);
        break;
      }
      case 10:  // every shape, and a few indices beyond them
        options.BrushShape = int32_t(in.Byte() % (kBrushShapeCount + 2)) - 1;
        options.PaintColor = in.Color();
        if (op & 16) steps.StampBrush(in.Coordinate(), in.Coordinate());
        else steps.StampSpray(in.Coordinate(), in.Coordinate());
        break;
      default: {
        options.Font = {.Name = kFonts[in.Byte() % 5], .Size = 1 + in.Byte() % 40, .Bold = bool(op & 16),
                        .Italic = bool(op & 32), .Underline = bool(op & 64)};
        const int32_t x = in.Coordinate(), y = in.Coordinate();
        const std::string text = in.Bytes(12);
        if (op & 128) {
          s.Font = options.Font;
          canvas.TextOut(x, y, text);
        } else {
          steps.PlaceText({x, y}, text);
        }
      }
    }
  }
  return 0;
}

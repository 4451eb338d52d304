// Fuzz target of the canvas: random operations with any 32-bit coordinates,
// pens up to 100 wide, every brush and mix mode, on tiny odd-sized images of
// both formats. Each figure must cost only what it covers inside the image.
// Flood fills, brush stamps and spray dots, and text of random bytes too.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_reader.h"
#include "imaging/core/canvas.h"
#include "imaging/view/paint_tools.h"

// fontconfig loses a block while parsing its configuration, once per process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  quillet::fuzz::TReader in(data, size);
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
      case 4: canvas.MoveTo(in.Small(), in.Small()); break;
      case 5: canvas.LineTo(in.Small(), in.Small()); break;
      case 6: canvas.Rectangle(in.Small(), in.Small(), in.Small(), in.Small()); break;
      case 7: canvas.Ellipse(in.Small(), in.Small(), in.Small(), in.Small()); break;
      case 8:
        if (op & 16) canvas.FillRect(in.Small(), in.Small(), in.Small(), in.Small());
        else canvas.SetPixel(in.Small(), in.Small(), in.Color());
        break;
      case 9: {  // the region's own colour as the brush's, or any colour
        const int32_t x = in.Small(), y = in.Small();
        const std::optional<TBGR> under = canvas.Pixel(x, y);
        if (under && (op & 16)) s.BrushColor = *under;
        canvas.FloodFill(x, y, under && (op & 32) ? *under : in.Color(),
                         (op & 64) ? TIEFillStyle::fsBorder : TIEFillStyle::fsSurface);
        break;
      }
      case 10:  // every shape, and a few indices beyond them
        options.BrushShape = int32_t(in.Byte() % (kBrushShapeCount + 2)) - 1;
        options.PaintColor = in.Color();
        if (op & 16) steps.StampBrush(in.Small(), in.Small());
        else steps.StampSpray(in.Small(), in.Small());
        break;
      default: {
        options.Font = {.Name = kFonts[in.Byte() % 5], .Size = 1 + in.Byte() % 40, .Bold = bool(op & 16),
                        .Italic = bool(op & 32), .Underline = bool(op & 64)};
        const int32_t x = in.Small(), y = in.Small();
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

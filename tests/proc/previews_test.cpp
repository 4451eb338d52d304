// ShowPreviews without a window: what it refuses, the area it hands the
// dialog, and how the dialog's result goes back into the image.
#include <gtest/gtest.h>

#include "imaging/proc/preview_pages.h"
#include "imaging/proc/previews.h"
#include "imaging/proc/ziridev_proc.h"
#include "proc/proc_view.h"

namespace quillet {
namespace {

// A dialog that records the area it gets and answers with `result`.
struct FakeDialog : TIEPreviewsPort {
  bool Run(TZiridEvProc&, TPreviewPages pages, TIEWorkingBitmap& area) override {
    shownPages = pages;
    shownSize = {area.Width(), area.Height()};
    if (!confirm) return false;
    area = result;
    return true;
  }
  TPreviewPages shownPages = 0;
  std::pair<int64_t, int64_t> shownSize{-1, -1};
  bool confirm = true;
  TIEWorkingBitmap result;
};

TIEWorkingBitmap Solid(int64_t w, int64_t h, uint8_t v) {
  TIEWorkingBitmap b(w, h, TIEPixelFormat::pf24bit);
  for (int64_t y = 0; y < h; ++y) std::fill_n(b.ScanLine(y), 3 * w, v);
  return b;
}

struct Fixture {
  Fixture(int64_t w, int64_t h) {
    view.bitmap = Solid(w, h, 10);
    proc.SetAttachedZiridEv(&view);
    proc.UndoLocation = TIEBitmapLocation::ieMemory;
    InstallPreviewsPort(&dialog);
  }
  ~Fixture() { InstallPreviewsPort(nullptr); }
  uint8_t At(int64_t x, int64_t y) { return view.bitmap.ScanLine(y)[3 * x]; }

  test::TestView view;
  TZiridEvProc proc;
  FakeDialog dialog;
};

TEST(ShowPreviews, RefusesWithoutADialogOrAShowableImage) {
  Fixture f(4, 4);
  InstallPreviewsPort(nullptr);
  EXPECT_FALSE(f.proc.ShowPreviews(ppContrast));
  InstallPreviewsPort(&f.dialog);
  f.view.bitmap = Solid(1, 1, 0);
  EXPECT_FALSE(f.proc.ShowPreviews(ppContrast));
  f.view.bitmap.Resize(8, 8, TIEPixelFormat::pf1bit);
  EXPECT_FALSE(f.proc.ShowPreviews(ppContrast));
  EXPECT_EQ(f.dialog.shownPages, 0);
  f.view.bitmap = Solid(1, 5, 0);
  f.dialog.confirm = false;
  EXPECT_FALSE(f.proc.ShowPreviews(ppMorph));
  EXPECT_EQ(f.dialog.shownPages, ppMorph);
  EXPECT_EQ(f.proc.UndoCount(), 0);
}

TEST(ShowPreviews, WholeImageTakesTheResultWhateverItsSize) {
  Fixture f(6, 4);
  f.dialog.result = Solid(4, 6, 99);
  EXPECT_TRUE(f.proc.ShowPreviews(ppRotate));
  EXPECT_EQ(f.dialog.shownSize, std::make_pair(int64_t(6), int64_t(4)));
  EXPECT_EQ(f.view.bitmap.Width(), 4);
  EXPECT_EQ(f.At(3, 5), 99);
  EXPECT_EQ(f.proc.UndoCaption(0), "Previews");
}

// A result of another size than the selection's box merges only where both are.
TEST(ShowPreviews, SelectionTakesTheOverlapThroughTheMask) {
  Fixture f(10, 10);
  f.view.SelectBox(2, 2, 6, 5);
  f.dialog.result = Solid(3, 9, 99);
  EXPECT_TRUE(f.proc.ShowPreviews(ppRotate));
  EXPECT_EQ(f.dialog.shownSize, std::make_pair(int64_t(5), int64_t(4)));
  for (int64_t y = 0; y < 10; ++y)
    for (int64_t x = 0; x < 10; ++x)
      EXPECT_EQ(f.At(x, y), x >= 2 && x <= 4 && y >= 2 && y <= 5 ? 99 : 10) << x << "," << y;
}

// The light and the lens start in the middle at half the shorter side, and
// the preview scales positions and sizes to the zoomed, scrolled part.
TEST(PreviewPages, InitialValuesAndPreviewScale) {
  TPreviewParams p;
  const TIEWorkingBitmap area = Solid(301, 120, 0);
  InitPreviewPage(TPreviewPageKind::BumpMap, p, area);
  InitPreviewPage(TPreviewPageKind::Lens, p, area);
  EXPECT_EQ((std::array{p.BumpLeft, p.BumpTop, p.BumpWidth, p.BumpHeight}), (std::array{150, 60, 60, 60}));
  EXPECT_EQ((std::array{p.LensLeft, p.LensTop, p.LensWidth, p.Refraction}), (std::array{150, 60, 60, 7}));
  const TPreviewScale s{250, 100, 40};
  EXPECT_EQ((std::array{s.X(150), s.Y(60), s.Size(61)}), (std::array{275, 110, 152}));
  EXPECT_TRUE(PageShown(ppAll, TPreviewPageKind::FFT));
  EXPECT_FALSE(PageShown(ppEqualize, TPreviewPageKind::Contrast));
}

}  // namespace
}  // namespace quillet

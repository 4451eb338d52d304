#include "cli/colour_commands.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/op_args.h"
#include "imaging/core/failure_guard.h"
#include "imaging/proc/colour_histogram.h"
#include "imaging/proc/ziridev_proc.h"

namespace quillet::cli {

namespace {

int Usage(const std::string& text) {
  std::cerr << "quillet-cli: " << text << "\n";
  return 2;
}

int SelectRectangle(TIEHeadlessView& view, const std::string& text) {
  const std::vector<std::string> parts = Split(text, ',');
  int32_t v[4] = {};
  for (size_t i = 0; i < 4; ++i)
    if (parts.size() != 4 || !ToInt(parts[i], v[i]) || (i >= 2 && v[i] <= 0))
      return Usage("--select takes X,Y,W,H with W and H above 0");
  if (!view.SelectRectangle(v[0], v[1], v[2], v[3])) return Usage("--select " + text + " lies off the image");
  return 0;
}

int SelectMask(TIEHeadlessView& view, const std::string& file) {
  TZiridEvIO io;
  TIEWorkingBitmap picture;
  io.SetAttachedBitmap(&picture);
  io.AutoAdjustDPI = false;  // pixel for pixel, whatever its resolution
  io.LoadFromFile(file);
  if (io.Aborting) return Fail(file, io.LastError);
  const TIEWorkingBitmap& image = view.Bitmap();
  if (picture.Width() != image.Width() || picture.Height() != image.Height())
    return Usage("the mask " + file + " is " + std::to_string(picture.Width()) + "x" +
                 std::to_string(picture.Height()) + ", the image " + std::to_string(image.Width()) + "x" +
                 std::to_string(image.Height()));
  if (!view.SelectLightPixels(picture)) return Usage("the mask " + file + " selects no pixel (grey 128 or more)");
  return 0;
}

// Reads IN into the view, in 24 bits.
int ReadColour(const TReadOptions& opts, TIEHeadlessView& view) {
  TZiridEvIO io;
  if (const int status = ReadInput(opts, io, view.Bitmap(), view.Alpha())) return status;
  view.Bitmap().SetPixelFormat(TIEPixelFormat::pf24bit);
  return 0;
}

}  // namespace

int ApplySelection(TIEHeadlessView& view, const TSelectOptions& selection) {
  if (!selection.select.empty()) return SelectRectangle(view, selection.select);
  if (!selection.mask.empty()) return SelectMask(view, selection.mask);
  return 0;
}

int RunHistogram(const TReadOptions& opts, const TSelectOptions& selection) {
  TIEHeadlessView view;
  if (const int status = ReadColour(opts, view)) return status;
  if (const int status = ApplySelection(view, selection)) return status;
  TZiridEvProc proc;
  proc.SetAttachedZiridEv(&view);
  TIEHistogram histogram;
  proc.GetHistogram(histogram);
  const TIEMask* mask = view.GetSelectionMask();
  const TIEArea area = mask ? TIEArea{mask->X1(), mask->Y1(), mask->X2() + 1, mask->Y2() + 1} : TIEArea{};
  const TBGR average = AverageColour(view.Bitmap(), area);
  nlohmann::json out = {{"red", nlohmann::json::array()},
                        {"green", nlohmann::json::array()},
                        {"blue", nlohmann::json::array()},
                        {"gray", nlohmann::json::array()},
                        {"average", {average.r, average.g, average.b}}};
  for (const THistogramEntry& e : histogram) {
    out["red"].push_back(e.Red);
    out["green"].push_back(e.Green);
    out["blue"].push_back(e.Blue);
    out["gray"].push_back(e.Gray);
  }
  std::cout << out.dump() << "\n";
  return 0;
}

int RunSplit(const TReadOptions& opts, const std::string& space, const std::vector<std::string>& outputs) {
  if ((space != "rgb" && space != "hsv") || outputs.size() != 3)
    return Usage("split takes rgb or hsv and three outputs");
  TIEHeadlessView view;
  if (const int status = ReadColour(opts, view)) return status;
  TZiridEvProc proc;
  proc.SetAttachedZiridEv(&view);
  TIEWorkingBitmap planes[3];
  if (const auto failure = FailureOf([&] {
        if (space == "rgb")
          proc.SplitRGB(planes[0], planes[1], planes[2]);
        else
          proc.SplitHSV(planes[0], planes[1], planes[2]);
      }))
    return Fail(opts.input, *failure);
  for (size_t i = 0; i < 3; ++i) {
    TZiridEvIO io;
    io.SetAttachedBitmap(&planes[i]);
    io.SaveToFile(outputs[i]);
    if (io.Aborting) return Fail(outputs[i], io.LastError);
  }
  return 0;
}

}  // namespace quillet::cli

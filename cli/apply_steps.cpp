#include "cli/apply_steps.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>

#include "cli/colour_steps.h"
#include "cli/effect_steps.h"
#include "cli/op_args.h"
#include "imaging/proc/threshold_bw.h"

namespace quillet::cli {

namespace {

bool ToDouble(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

std::optional<TResampleFilter> FilterOf(const std::string& name) {
  static const std::map<std::string, TResampleFilter> filters = {
      {"none", TResampleFilter::rfNone},       {"triangle", TResampleFilter::rfTriangle},
      {"hermite", TResampleFilter::rfHermite}, {"bell", TResampleFilter::rfBell},
      {"bspline", TResampleFilter::rfBSpline}, {"lanczos3", TResampleFilter::rfLanczos3},
      {"mitchell", TResampleFilter::rfMitchell}};
  const auto it = filters.find(name);
  return it == filters.end() ? std::nullopt : std::optional(it->second);
}

std::optional<TApplyStep> Flip(const std::vector<std::string>& a, std::string& error) {
  if (a.size() == 1 && (a[0] == "h" || a[0] == "v")) {
    const TFlipDirection d = a[0] == "h" ? TFlipDirection::fdHorizontal : TFlipDirection::fdVertical;
    return [d](TZiridEvProc& p) { p.Flip(d); };
  }
  error = "flip takes h or v";
  return std::nullopt;
}

std::optional<TApplyStep> Rotate(const std::vector<std::string>& a, std::string& error) {
  double angle = 0;
  if ((a.size() == 1 || (a.size() == 2 && a[1] == "aa")) && ToDouble(a[0], angle)) {
    const bool aa = a.size() == 2;
    return [angle, aa](TZiridEvProc& p) { p.Rotate(angle, aa); };
  }
  error = "rotate takes ANGLE or ANGLE,aa";
  return std::nullopt;
}

std::optional<TApplyStep> Resample(const std::vector<std::string>& a, std::string& error) {
  int32_t w = 0, h = 0;
  const std::optional<TResampleFilter> filter = a.size() == 3 ? FilterOf(a[2]) : TResampleFilter::rfNone;
  if ((a.size() == 2 || a.size() == 3) && ToInt(a[0], w) && ToInt(a[1], h) && filter && w != 0 && h != 0 &&
      w >= -1 && h >= -1 && (w > 0 || h > 0)) {
    return [w, h, f = *filter](TZiridEvProc& p) { p.Resample(w, h, f); };
  }
  error = "resample takes W,H[,FILTER] with sizes above 0 or -1 for one of them, and a filter of none, "
          "triangle, hermite, bell, bspline, lanczos3, mitchell";
  return std::nullopt;
}

std::optional<TApplyStep> Resize(const std::vector<std::string>& a, std::string& error) {
  int32_t w = 0, h = 0;
  if (a.size() == 2 && ToInt(a[0], w) && ToInt(a[1], h) && w > 0 && h > 0)
    return [w, h](TZiridEvProc& p) { p.ImageResize(w, h); };
  error = "resize takes W,H above 0";
  return std::nullopt;
}

std::optional<TApplyStep> Colors(const std::vector<std::string>& a, std::string& error) {
  int32_t n = 0;
  if (a.size() == 1 && ToInt(a[0], n) && n >= 2 && n <= 256) return [n](TZiridEvProc& p) { p.ConvertTo(n); };
  error = "colors takes N from 2 to 256";
  return std::nullopt;
}

// "bw:T": black below the threshold T, a 1-bit image; "bw" alone dithers.
std::optional<TApplyStep> BlackWhite(const std::vector<std::string>& a, std::string& error) {
  int32_t t = 0;
  if (a.size() == 1 && ToInt(a[0], t) && t >= 0 && t <= 255) {
    return [t](TZiridEvProc& p) {
      if (TIEWorkingBitmap* b = p.AttachedBitmap()) ThresholdToBlackWhite(*b, *b, t);
    };
  }
  error = "bw takes a threshold T from 0 to 255";
  return std::nullopt;
}

std::optional<TApplyStep> Plain(const std::string& name) {
  if (name == "clear") return [](TZiridEvProc& p) { p.Clear(); };
  if (name == "negative") return [](TZiridEvProc& p) { p.Negative(); };
  if (name == "gray") return [](TZiridEvProc& p) { p.ConvertToGray(); };
  if (name == "bw") return [](TZiridEvProc& p) { p.ConvertTo(2); };
  if (name == "rgb") return [](TZiridEvProc& p) { p.ConvertTo24Bit(); };
  return std::nullopt;
}

}  // namespace

std::optional<TApplyStep> ParseApplyStep(const std::string& text, std::string& error) {
  const size_t colon = text.find(':');
  const std::string name = text.substr(0, colon);
  const std::vector<std::string> args = colon == std::string::npos ? std::vector<std::string>() : Split(text.substr(colon + 1), ',');
  std::optional<TApplyStep> step;
  if (name == "flip") step = Flip(args, error);
  else if (name == "rotate") step = Rotate(args, error);
  else if (name == "resample") step = Resample(args, error);
  else if (name == "resize") step = Resize(args, error);
  else if (name == "colors") step = Colors(args, error);
  else if (name == "bw" && colon != std::string::npos) step = BlackWhite(args, error);
  else if (IsColourStep(name)) step = ParseColourStep(name, args, error);
  else if (IsEffectStep(name)) step = ParseEffectStep(name, args, error);
  else if (colon == std::string::npos) step = Plain(name);
  if (!step && error.empty()) error = "unknown step \"" + text + "\"";
  if (!step) error = text + ": " + error;
  return step;
}

std::string ApplyStepsHelp() {
  return std::string("Steps: flip:h, flip:v, rotate:ANGLE[,aa], resample:W,H[,FILTER] (-1 keeps the aspect; FILTER none, "
                     "triangle, hermite, bell, bspline, lanczos3, mitchell), resize:W,H, clear, negative, gray, bw (ordered dither), "
                     "bw:T (black below the threshold T, 0 to 255), rgb, "
                     "colors:N, ") +
         ColourStepsHelp() + ". " + EffectStepsHelp();
}

}  // namespace quillet::cli

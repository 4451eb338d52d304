#include "cli/colour_steps.h"

#include <algorithm>
#include <functional>
#include <map>

#include "cli/op_args.h"
#include "imaging/proc/colour_adjust.h"
#include "imaging/proc/colour_histogram.h"

namespace quillet::cli {

namespace {

using TValues = std::vector<int32_t>;

// A step: the argument counts it takes, the range of each argument (the
// last range serving the rest), what it does, and the usage text.
struct TColourStep {
  std::vector<size_t> counts;
  std::vector<std::pair<int32_t, int32_t>> ranges;
  std::function<TApplyStep(const TValues& v)> make;
  const char* usage;
};

TBGR Colour(const TValues& v, size_t first) {
  return MakeBGR(uint8_t(v[first]), uint8_t(v[first + 1]), uint8_t(v[first + 2]));
}

// The six-value form of a two-level step, one level for all channels in the two-value form.
std::pair<TBGR, TBGR> Levels(const TValues& v) {
  if (v.size() == 2)
    return {MakeBGR(uint8_t(v[0]), uint8_t(v[0]), uint8_t(v[0])), MakeBGR(uint8_t(v[1]), uint8_t(v[1]), uint8_t(v[1]))};
  return {Colour(v, 0), Colour(v, 3)};
}

// An area function run through the processing component.
TApplyStep Adjustment(TZiridEvProc::TAdjustment adjust) {
  return [adjust](TZiridEvProc& p) { p.ApplyAdjustment(adjust); };
}

const std::map<std::string, TColourStep>& Steps() {
  static const std::map<std::string, TColourStep> steps = {
      {"contrast",
       {{1, 4},
        {{-100, 100}, {0, 255}},
        [](const TValues& v) {
          return Adjustment([v](TIEWorkingBitmap& b, const TIEProcWatch& w) {
            // Without a centre, the average colour of the image worked on, as the dialog does.
            AdjustContrast(b, {}, v[0], v.size() == 4 ? Colour(v, 1) : AverageColour(b), w);
          });
        },
        "contrast takes C from -100 to 100 and optionally a centre R,G,B from 0 to 255"}},
      {"brightness",
       {{1},
        {{-100, 100}},
        [](const TValues& v) {
          return Adjustment([v](TIEWorkingBitmap& b, const TIEProcWatch& w) { AddRGB(b, {}, v[0], v[0], v[0], w); });
        },
        "brightness takes V from -100 to 100"}},
      {"addrgb",
       {{3},
        {{-255, 255}},
        [](const TValues& v) {
          return Adjustment([v](TIEWorkingBitmap& b, const TIEProcWatch& w) { AddRGB(b, {}, v[0], v[1], v[2], w); });
        },
        "addrgb takes DR,DG,DB from -255 to 255"}},
      {"hsl",
       {{3},
        {{-180, 180}, {-100, 100}},
        [](const TValues& v) {
          return Adjustment(
              [v](TIEWorkingBitmap& b, const TIEProcWatch& w) { AdjustHSL(b, {}, v[0], v[1], v[2], w); });
        },
        "hsl takes H from -180 to 180, S and L from -100 to 100"}},
      {"hsv",
       {{3},
        {{-180, 180}, {-100, 100}},
        [](const TValues& v) {
          return Adjustment(
              [v](TIEWorkingBitmap& b, const TIEProcWatch& w) { AdjustHSV(b, {}, v[0], v[1], v[2], w); });
        },
        "hsv takes H from -180 to 180, S and V from -100 to 100"}},
      {"threshold",
       {{2, 6},
        {{0, 255}},
        [](const TValues& v) {
          return Adjustment([levels = Levels(v)](TIEWorkingBitmap& b, const TIEProcWatch& w) {
            ThresholdLevels(b, {}, levels.first, levels.second, kBlack, kWhite, w);
          });
        },
        "threshold takes LOW,HIGH or low R,G,B and high R,G,B, each from 0 to 255"}},
      {"stretch",
       {{2, 6},
        {{0, 255}},
        [](const TValues& v) {
          return Adjustment([levels = Levels(v)](TIEWorkingBitmap& b, const TIEProcWatch& w) {
            StretchLevels(b, {}, levels.first, levels.second, w);
          });
        },
        "stretch takes DARK,LIGHT or dark R,G,B and light R,G,B, each from 0 to 255"}},
      {"equalize",
       {{0},
        {},
        [](const TValues&) -> TApplyStep { return [](TZiridEvProc& p) { p.HistAutoEqualize(); }; },
        "equalize takes no arguments"}},
  };
  return steps;
}

}  // namespace

bool IsColourStep(const std::string& name) { return Steps().count(name) != 0; }

std::optional<TApplyStep> ParseColourStep(const std::string& name, const std::vector<std::string>& args,
                                          std::string& error) {
  const TColourStep& step = Steps().at(name);
  TValues values(args.size());
  bool ok = std::find(step.counts.begin(), step.counts.end(), args.size()) != step.counts.end();
  for (size_t i = 0; ok && i < args.size(); ++i) {
    const auto [low, high] = step.ranges[std::min(i, step.ranges.size() - 1)];
    ok = ToInt(args[i], values[i]) && values[i] >= low && values[i] <= high;
  }
  if (ok) return step.make(values);
  error = step.usage;
  return std::nullopt;
}

const char* ColourStepsHelp() {
  return "contrast:C[,R,G,B] (C -100..100; the centre colour, else the image's average), brightness:V (-100..100), "
         "addrgb:DR,DG,DB (-255..255), hsl:H,S,L and hsv:H,S,V (H -180..180, S, L and V -100..100), "
         "threshold:LOW,HIGH or threshold:LR,LG,LB,HR,HG,HB (0..255; below black, above white), "
         "stretch:DARK,LIGHT or stretch:DR,DG,DB,LR,LG,LB (0..255), equalize";
}

}  // namespace quillet::cli

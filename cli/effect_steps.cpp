#include "cli/effect_steps.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <map>
#include <stdexcept>

#include "cli/op_args.h"
#include "imaging/proc/user_filter_file.h"

namespace quillet::cli {

namespace {

// One whole-number argument: its name in messages and its range.
struct TArg {
  const char* name;
  int64_t lo, hi;
};

constexpr int64_t kIntMin = INT32_MIN, kIntMax = INT32_MAX;

// The arguments as the table names them, or none with `error` naming the bad one.
std::optional<std::vector<int32_t>> Numbers(const std::string& step, const std::vector<std::string>& args,
                                            const std::vector<TArg>& table, std::string& error) {
  if (args.size() != table.size()) {
    error = step + " takes " + std::to_string(table.size()) + " values";
    return std::nullopt;
  }
  std::vector<int32_t> values;
  for (size_t i = 0; i < table.size(); ++i) {
    int32_t v = 0;
    if (!ToInt(args[i], v) || v < table[i].lo || v > table[i].hi) {
      error = std::string(table[i].name) + " must be a whole number from " + std::to_string(table[i].lo) + " to " +
              std::to_string(table[i].hi);
      return std::nullopt;
    }
    values.push_back(v);
  }
  return values;
}

// The size of the image a step works on: the selection's box, or the whole image.
std::pair<int64_t, int64_t> WorkedOnSize(TZiridEvProc& proc) {
  const TIEWorkingBitmap* image = proc.AttachedBitmap();
  if (!image) return {0, 0};
  const TIEMask* mask = proc.AttachedZiridEv() ? proc.AttachedZiridEv()->GetSelectionMask() : nullptr;
  if (mask && !mask->IsEmpty() && mask->Width() == image->Width() && mask->Height() == image->Height())
    return {int64_t(mask->X2()) - mask->X1() + 1, int64_t(mask->Y2()) - mask->Y1() + 1};
  return {image->Width(), image->Height()};
}

// The light's or lens's box as the dialog starts it: centred, half the shorter side wide and high.
std::vector<int32_t> CentredBox(TZiridEvProc& proc) {
  const auto [w, h] = WorkedOnSize(proc);
  const auto side = int32_t(std::min<int64_t>(std::min(w, h) / 2, 32767));
  return {int32_t(std::min<int64_t>(w / 2, 32767)), int32_t(std::min<int64_t>(h / 2, 32767)), side, side};
}

const std::vector<TArg> kBox = {{"X", 0, 32767}, {"Y", 0, 32767}, {"W", 0, 32767}, {"H", 0, 32767}};

// A user filter file named after "@", its commas given back; it is read when
// the step runs, and a file that cannot be read fails the run saying why.
TApplyStep UserFilterFile(const std::vector<std::string>& a) {
  std::string path = a[0].substr(1);
  for (size_t i = 1; i < a.size(); ++i) path += "," + a[i];
  return [path](TZiridEvProc& p) {
    std::string error;
    const std::optional<TUserFilterFile> file = ReadUserFilterFile(path, error);
    if (!file) throw std::runtime_error("userfilter: " + error);
    p.ApplyUserFilter(file->Values.Coefficients, file->Values.Divisor);
  };
}

std::optional<TApplyStep> UserFilterPreset(const std::string& keyword, std::string& error) {
  if (const TUserFilterPreset* preset = FindUserFilterPreset(keyword))
    return [v = preset->Values](TZiridEvProc& p) { p.ApplyUserFilter(v.Coefficients, v.Divisor); };
  std::string names;
  for (const TUserFilterPreset& preset : UserFilterPresets()) names += (names.empty() ? "" : ", ") + std::string(preset.Keyword);
  error = "userfilter takes C0,...,C8,DIV, @FILE.flt or a preset of " + names;
  return std::nullopt;
}

std::optional<TApplyStep> UserFilter(const std::vector<std::string>& a, std::string& error) {
  if (!a.empty() && a[0].size() > 1 && a[0][0] == '@') return UserFilterFile(a);
  if (a.size() == 1) return UserFilterPreset(a[0], error);
  std::vector<TArg> table;
  for (const char* name : {"C0", "C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8", "DIV"}) table.push_back({name, kIntMin, kIntMax});
  const auto v = Numbers("userfilter", a, table, error);
  if (!v) return std::nullopt;
  std::array<int32_t, 9> c{};
  std::copy(v->begin(), v->begin() + 9, c.begin());
  return [c, div = (*v)[9]](TZiridEvProc& p) { p.ApplyUserFilter(c, div); };
}

std::optional<TApplyStep> BumpMap(const std::vector<std::string>& a, std::string& error) {
  std::vector<TArg> table = kBox;
  table.insert(table.end(), {{"R", 0, 255}, {"G", 0, 255}, {"B", 0, 255}, {"Q", 0, 100}});
  std::optional<std::vector<int32_t>> v;
  if (!a.empty() && !(v = Numbers("bumpmap", a, table, error))) return std::nullopt;
  return [v](TZiridEvProc& p) {
    std::vector<int32_t> n = v ? *v : CentredBox(p);
    if (!v) n.insert(n.end(), {255, 255, 255, 0});
    p.ApplyBumpMap(n[0], n[1], n[2], n[3], MakeBGR(uint8_t(n[4]), uint8_t(n[5]), uint8_t(n[6])), n[7]);
  };
}

std::optional<TApplyStep> Lens(const std::vector<std::string>& a, std::string& error) {
  std::optional<std::vector<int32_t>> box;
  double n = 1.7;
  if (!a.empty()) {
    if (a.size() != 5) {
      error = "lens takes 5 values";
      return std::nullopt;
    }
    if (!(box = Numbers("lens", {a.begin(), a.begin() + 4}, kBox, error))) return std::nullopt;
    const char* end = a[4].data() + a[4].size();
    const auto [ptr, ec] = std::from_chars(a[4].data(), end, n);
    if (ec != std::errc() || ptr != end || !(n >= 1.0 && n <= 3277.7)) {
      error = "N must be a number from 1.0 to 3277.7";
      return std::nullopt;
    }
  }
  return [box, n](TZiridEvProc& p) {
    const std::vector<int32_t> b = box ? *box : CentredBox(p);
    p.ApplyLens(b[0], b[1], b[2], b[3], n);
  };
}

std::optional<TApplyStep> Wave(const std::vector<std::string>& a, std::string& error) {
  std::vector<int32_t> v = {10, 10, 0, 0};
  if (!a.empty()) {
    const auto given = Numbers("wave", a, {{"A", 0, 32767}, {"L", 0, 32767}, {"P", 0, 359}, {"R", 0, 1}}, error);
    if (!given) return std::nullopt;
    v = *given;
  }
  return [v](TZiridEvProc& p) { p.ApplyWave(v[0], v[1], v[2], v[3] != 0); };
}

std::optional<TApplyStep> Morph(const std::vector<std::string>& a, std::string& error) {
  static const std::map<std::string, int32_t> kFilters = {{"max", 0}, {"min", 1}, {"open", 2}, {"close", 3}};
  const auto filter = a.empty() ? kFilters.end() : kFilters.find(a[0]);
  if (a.size() != 2 || filter == kFilters.end()) {
    error = "morph takes max, min, open or close, then K";
    return std::nullopt;
  }
  const auto k = Numbers("morph", {a[1]}, {{"K", 1, 64}}, error);
  if (!k) return std::nullopt;
  return [f = filter->second, k = (*k)[0]](TZiridEvProc& p) { p.ApplyMorph(f, k); };
}

// Thrown by a Fourier step whose image is too large for the transform.
std::runtime_error TooLarge(const std::string& step) {
  return std::runtime_error(step + ": the image pads to a spectrum plane over " + std::to_string(TIEFtImage::kMaxSide) +
                            " x " + std::to_string(TIEFtImage::kMaxSide));
}

std::optional<TApplyStep> FftClear(const std::vector<std::string>& given, std::string& error) {
  const bool gray = !given.empty() && given.back() == "gray";
  const std::vector<std::string> a(given.begin(), given.end() - (gray ? 1 : 0));
  if (a.empty() || a.size() % 4 != 0) {
    error = "fft-clear takes X1,Y1,X2,Y2 of one or more rectangles of the spectrum, then gray or nothing";
    return std::nullopt;
  }
  const std::vector<TArg> corners = {{"X1", kIntMin, kIntMax}, {"Y1", kIntMin, kIntMax}, {"X2", kIntMin, kIntMax},
                                     {"Y2", kIntMin, kIntMax}};
  std::vector<std::array<int64_t, 4>> zones;
  for (auto at = a.begin(); at != a.end(); at += 4) {
    const auto v = Numbers("fft-clear", {at, at + 4}, corners, error);
    if (!v) return std::nullopt;
    zones.push_back({(*v)[0], (*v)[1], (*v)[2], (*v)[3]});
  }
  return [zones, gray](TZiridEvProc& p) {
    if (!p.FftClear(zones, gray)) throw TooLarge("fft-clear");
  };
}

std::optional<TApplyStep> Spectrum(const std::vector<std::string>& a, std::string& error) {
  if (a.size() > 1 || (a.size() == 1 && a[0] != "gray")) {
    error = "spectrum takes gray or nothing";
    return std::nullopt;
  }
  return [gray = !a.empty()](TZiridEvProc& p) {
    if (!p.FftSpectrum(gray)) throw TooLarge("spectrum");
  };
}

using TParser = std::optional<TApplyStep> (*)(const std::vector<std::string>&, std::string&);

const std::map<std::string, TParser>& Parsers() {
  static const std::map<std::string, TParser> parsers = {
      {"userfilter", UserFilter}, {"bumpmap", BumpMap},    {"lens", Lens},        {"wave", Wave},
      {"morph", Morph},           {"fft-clear", FftClear}, {"spectrum", Spectrum}};
  return parsers;
}

}  // namespace

bool IsEffectStep(const std::string& name) { return Parsers().count(name) != 0; }

std::optional<TApplyStep> ParseEffectStep(const std::string& name, const std::vector<std::string>& args,
                                          std::string& error) {
  return Parsers().at(name)(args, error);
}

const char* EffectStepsHelp() {
  return "Effects (24-bit images; inside the selection's box, positions in its pixels): userfilter:C0,...,C8,DIV "
         "(3 x 3 coefficients row by row and the divisor, any 32-bit integers; DIV 0 counts as 1), userfilter:NAME "
         "(a preset: none, blur, edges, emboss, highpass1-3, lowpass1-2), userfilter:@FILE.flt (a user filter file; "
         "one whose header is not 1,3,3 holds zeros, a missing or short one fails), "
         "bumpmap[:X,Y,W,H,R,G,B,Q] (light centre, size 0-32767, colour 0-255, source quantity 0-100; without "
         "values centred, half the shorter side, white, 0), lens[:X,Y,W,H,N] (centre, size 0-32767, refraction "
         "1.0-3277.7; without values as bumpmap, 1.7), wave[:A,L,P,R] (amplitude and wave length 0-32767, phase "
         "0-359, reflective 0 or 1; without values 10,10,0,0), morph:max|min|open|close,K (window 1-64), "
         "fft-clear:X1,Y1,X2,Y2[,X1,Y1,X2,Y2...][,gray] (inclusive rectangles of the spectrum image cleared, "
         "through the grey or colour transform), spectrum[:gray] (the image becomes its spectrum, its sides "
         "padded to powers of two; planes over 4096 a side are refused)";
}

}  // namespace quillet::cli

#include "imaging/io/formats/tga/tga_extension.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

namespace quillet {

namespace {

constexpr char kSignature[] = "TRUEVISION-XFILE.";  // with its zero byte: 18 bytes
constexpr int kAuthor = 2, kStamp = 367, kJobName = 379, kKeyColour = 470, kAspect = 474, kGamma = 478;
constexpr size_t kTextBytes = 40;  // and a zero byte
constexpr int kSecondsPerDay = 86400;

using namespace std::chrono;
constexpr sys_days kEpoch = year{1899} / December / 30;

int U16At(const uint8_t* p) { return p[0] | p[1] << 8; }
void Put16(uint8_t* p, int64_t v) { p[0] = uint8_t(v), p[1] = uint8_t(v >> 8); }

std::string Text(const uint8_t* p) {
  const char* text = reinterpret_cast<const char*>(p);
  return std::string(text, strnlen(text, kTextBytes + 1));
}

void PutText(uint8_t* p, const std::string& text) { std::memcpy(p, text.data(), std::min(text.size(), kTextBytes)); }

// Days since 1899-12-30 with the time as the fraction; none when invalid.
std::optional<double> StampDate(const uint8_t* s) {
  const int month = U16At(s), day = U16At(s + 2), y = U16At(s + 4);
  const int hour = U16At(s + 6), minute = U16At(s + 8), second = U16At(s + 10);
  const year_month_day date{year{y}, std::chrono::month{unsigned(month)}, std::chrono::day{unsigned(day)}};
  if (month == 0 || day == 0 || y == 0 || !date.ok() || hour > 23 || minute > 59 || second > 59) return std::nullopt;
  return double((sys_days(date) - kEpoch).count()) + (hour * 3600 + minute * 60 + second) / double(kSecondsPerDay);
}

void PutStamp(uint8_t* s, double date) {
  if (!(date > -693593 && date < 2958466)) return;  // years 1 to 9999
  const double days = std::floor(date);
  const year_month_day ymd{kEpoch + std::chrono::days{int64_t(days)}};
  const int seconds = std::min(kSecondsPerDay - 1, int((date - days) * kSecondsPerDay));
  const int values[] = {int(unsigned(ymd.month())),
                        int(unsigned(ymd.day())),
                        int(ymd.year()),
                        seconds / 3600,
                        seconds / 60 % 60,
                        seconds % 60};
  for (int i = 0; i < 6; ++i) Put16(s + 2 * i, values[i]);
}

std::optional<double> Ratio(const uint8_t* p) {
  const int num = U16At(p), den = U16At(p + 2);
  if (num == 0 || den == 0) return std::nullopt;
  return double(num) / den;
}

// A ratio as 16-bit numerator and denominator: over 10000 while it fits,
// else over the largest denominator that keeps the numerator in 16 bits.
void PutRatio(uint8_t* p, double value) {
  if (!(value > 0)) return Put16(p + 2, 10000);
  constexpr double kLimit = 65535;
  const int64_t den =
      value < 6.5536 ? 10000
                     : std::clamp<int64_t>(int64_t(kLimit) / int64_t(std::ceil(std::min(value, kLimit))), 1, 10000);
  Put16(p, int64_t(std::min(kLimit, value * double(den))));
  Put16(p + 2, den);
}

}  // namespace

int64_t TgaExtensionOffset(const TTgaFooter& footer) {
  if (std::memcmp(footer.data() + 8, kSignature, sizeof kSignature) != 0) return 0;
  return int64_t(footer[0]) | int64_t(footer[1]) << 8 | int64_t(footer[2]) << 16 | int64_t(footer[3]) << 24;
}

TTgaFooter MakeTgaFooter(uint32_t extensionOffset) {
  TTgaFooter footer{};
  for (int i = 0; i < 4; ++i) footer[size_t(i)] = uint8_t(extensionOffset >> (8 * i));
  std::memcpy(footer.data() + 8, kSignature, sizeof kSignature);
  return footer;
}

void ReadTgaExtension(const TTgaExtension& area, TIOParamsVals& p) {
  const uint8_t* a = area.data();
  p.TgaAuthor = Text(a + kAuthor);
  if (const auto date = StampDate(a + kStamp)) p.TgaDate = *date;
  p.TgaImageName = Text(a + kJobName);
  p.TgaBackground = MakeBGR(a[kKeyColour + 1], a[kKeyColour + 2], a[kKeyColour + 3]);
  if (const auto aspect = Ratio(a + kAspect)) p.TgaAspectRatio = *aspect;
  if (const auto gamma = Ratio(a + kGamma)) p.TgaGamma = *gamma;
}

TTgaExtension MakeTgaExtension(const TIOParamsVals& p) {
  TTgaExtension area{};
  uint8_t* a = area.data();
  Put16(a, kTgaExtensionBytes);
  PutText(a + kAuthor, p.TgaAuthor);
  PutStamp(a + kStamp, p.TgaDate);
  PutText(a + kJobName, p.TgaImageName);
  a[kKeyColour + 1] = p.TgaBackground.r, a[kKeyColour + 2] = p.TgaBackground.g, a[kKeyColour + 3] = p.TgaBackground.b;
  PutRatio(a + kAspect, p.TgaAspectRatio);
  PutRatio(a + kGamma, p.TgaGamma);
  return area;
}

}  // namespace quillet

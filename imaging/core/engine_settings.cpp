#include "imaging/core/engine_settings.h"

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace quillet {
namespace {

// Plain values are atomics; the texts and coder objects sit behind one lock
// and are handed out as copies.
struct TSettings {
  std::atomic<int> DpiX{96}, DpiY{96}, EdgeX{2}, EdgeY{2};
  std::atomic<int64_t> MaxImagePixels{int64_t(1) << 28};
  std::atomic<TExifDecoder> ExifDecoder{nullptr};
  std::mutex Lock;
  std::string TempFolder;
  TIELzwSlots Lzw;
};

TSettings& Settings() {
  static TSettings settings;
  return settings;
}

std::string EnvironmentTempFolder() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

}  // namespace

TIEStartupMetrics StartupMetrics() {
  const TSettings& s = Settings();
  return {s.DpiX.load(), s.DpiY.load(), s.EdgeX.load(), s.EdgeY.load()};
}

void SetStartupMetrics(const TIEStartupMetrics& m) {
  TSettings& s = Settings();
  if (m.DpiX > 0) s.DpiX = m.DpiX;
  if (m.DpiY > 0) s.DpiY = m.DpiY;
  if (m.EdgeX >= 0) s.EdgeX = m.EdgeX;
  if (m.EdgeY >= 0) s.EdgeY = m.EdgeY;
}

int64_t MaxImagePixels() { return Settings().MaxImagePixels.load(std::memory_order_relaxed); }
void SetMaxImagePixels(int64_t pixels) { Settings().MaxImagePixels = pixels; }

std::string TempFolder() {
  static const std::string fromEnvironment = EnvironmentTempFolder();
  TSettings& s = Settings();
  std::lock_guard lock(s.Lock);
  return s.TempFolder.empty() ? fromEnvironment : s.TempFolder;
}

void SetTempFolder(const std::string& folder) {
  TSettings& s = Settings();
  std::lock_guard lock(s.Lock);
  s.TempFolder = folder;
}

TIELzwSlots LzwSlots() {
  TSettings& s = Settings();
  std::lock_guard lock(s.Lock);
  return s.Lzw;
}

void SetLzwSlots(const TIELzwSlots& slots) {
  TSettings& s = Settings();
  std::lock_guard lock(s.Lock);
  s.Lzw = slots;
}

TExifDecoder ExifDecoder() { return Settings().ExifDecoder.load(); }
void SetExifDecoder(TExifDecoder decoder) { Settings().ExifDecoder = decoder; }

}  // namespace quillet

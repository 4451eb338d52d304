#include "imaging/core/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <tuple>

namespace quillet {

namespace {

std::mutex& FontconfigLock() {
  static std::mutex lock;
  return lock;
}

// Under the lock.
FcConfig* Config() {
  static FcConfig* config = [] {
    FcInit();
    return FcConfigGetCurrent();
  }();
  return config;
}

TFontMatch Lookup(const std::string& family, bool bold, bool italic) {
  TFontMatch m;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(Config(), pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* font = FcFontMatch(Config(), pattern, &result)) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) m.File = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &m.Index);
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) m.Embolden = embolden;
    FcMatrix* matrix = nullptr;
    if (FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix)
      m.Xx = matrix->xx, m.Xy = matrix->xy, m.Yx = matrix->yx, m.Yy = matrix->yy;
    FcPatternDestroy(font);
  }
  FcPatternDestroy(pattern);
  return m;
}

}  // namespace

TFontMatch MatchFont(const std::string& family, bool bold, bool italic) {
  std::lock_guard<std::mutex> hold(FontconfigLock());
  static std::map<std::tuple<std::string, bool, bool>, TFontMatch> cache;
  const auto key = std::make_tuple(family, bold, italic);
  auto it = cache.find(key);
  if (it == cache.end()) {
    if (cache.size() >= 1024) cache.clear();  // any family name may be asked for
    it = cache.emplace(key, Lookup(family, bold, italic)).first;
  }
  return it->second;
}

std::vector<std::string> ScalableFontFamilies() {
  std::lock_guard<std::mutex> hold(FontconfigLock());
  std::vector<std::string> families;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (FcFontSet* set = FcFontList(Config(), pattern, fields)) {
    for (int i = 0; i < set->nfont; ++i) {
      FcChar8* name = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &name) == FcResultMatch)
        families.emplace_back(reinterpret_cast<const char*>(name));
    }
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(fields);
  FcPatternDestroy(pattern);
  std::sort(families.begin(), families.end());
  families.erase(std::unique(families.begin(), families.end()), families.end());
  return families;
}

}  // namespace quillet

// The look-ups of the format table.
#include "imaging/io/format_table.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace quillet {

namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
  return s;
}

bool Lists(const char* list, const std::string& ext) {
  const std::vector<std::string> items = SplitExtensions(list);
  return std::find(items.begin(), items.end(), ext) != items.end();
}

}  // namespace

std::vector<std::string> SplitExtensions(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(';', start), list.size());
    if (end > start) out.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

const TFileFormatInfo* FindFormatByType(int32_t code) {
  for (const TFileFormatInfo* f : FileFormats())
    if (f->TypeCode == code) return f;
  return nullptr;
}

const TFileFormatInfo* FindFormatByExtension(const std::string& ext) {
  const std::string wanted = Upper(ext);
  if (wanted.empty()) return nullptr;
  for (const TFileFormatInfo* f : FileFormats())
    if (Lists(f->Extensions, wanted)) return f;
  return nullptr;
}

std::string FormatExtension(int32_t code, int i) {
  const TFileFormatInfo* f = FindFormatByType(code);
  if (!f || i < 0) return "";
  const std::vector<std::string> exts = SplitExtensions(f->Extensions);
  return size_t(i) < exts.size() ? exts[size_t(i)] : "";
}

int FormatExtensionCount(int32_t code) {
  const TFileFormatInfo* f = FindFormatByType(code);
  return f ? int(SplitExtensions(f->Extensions).size()) : 0;
}

int32_t FileTypeOfName(const std::string& fileName) {
  std::string ext = std::filesystem::path(fileName).extension().string();
  if (ext.empty()) return ftNone;
  ext = Upper(ext.substr(1));
  if (const TFileFormatInfo* f = FindFormatByExtension(ext)) return f->TypeCode;
  for (const TFileFormatInfo* f : FileFormats())
    if (Lists(f->ExtraExtensions, ext)) return f->TypeCode;
  return ftNone;
}

int ExactPaletteDepth(int32_t code, int colors) {
  if (const TFileFormatInfo* f = FindFormatByType(code))
    for (const int bits : f->ExactPaletteDepths)
      if (colors <= 1 << bits) return bits;
  return 0;
}

std::string MissingImageText(const TIOParamsVals& params) {
  const TFileFormatInfo* format = FindFormatByType(params.FileType);
  if (!format || !format->ImageIndex || !format->ImageCount) return "";
  const int32_t index = params.*format->ImageIndex, count = params.*format->ImageCount;
  if (index < count) return "";
  return "no image at index " + std::to_string(index) + " (the file has " + std::to_string(count) + ")";
}

}  // namespace quillet

#include "imaging/io/format_filter.h"

#include <cctype>

#include "imaging/io/format_table.h"

namespace quillet {
namespace {

constexpr const char* kVideoPatterns = "*.avi";
constexpr const char* kVideoEntry = "Video for Windows (AVI)|*.avi";

// "*.tif;*.tiff" for the list "TIF;TIFF".
std::string Patterns(const TFileFormatInfo& format) {
  std::string out;
  for (std::string ext : SplitExtensions(format.Extensions)) {
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    out += (out.empty() ? "*." : ";*.") + ext;
  }
  return out;
}

// "TIFF Bitmap (TIF;TIFF)|*.tif;*.tiff"
std::string Entry(const TFileFormatInfo& format) {
  return std::string(format.Name) + " (" + format.Extensions + ")|" + Patterns(format);
}

void Append(std::string& list, const std::string& item, const char* separator) {
  list += (list.empty() ? "" : separator) + item;
}

}  // namespace

std::string OpenDialogFilter(bool video) {
  std::string all, entries;
  for (const TFileFormatInfo* f : FileFormats()) {
    if (!CanRead(*f)) continue;
    Append(all, Patterns(*f), ";");
    Append(entries, Entry(*f), "|");
  }
  if (video) {
    Append(all, kVideoPatterns, ";");
    Append(entries, kVideoEntry, "|");
  }
  return "All graphics|" + all + "|" + entries;
}

std::string SaveDialogFilter() {
  std::string entries;
  for (const TFileFormatInfo* f : FileFormats())
    if (CanWrite(*f)) Append(entries, Entry(*f), "|");
  return entries;
}

}  // namespace quillet

// The registry: every format's description, one line each, in table order.
#include "imaging/io/format_table.h"

namespace quillet {

// Each folder under formats/ defines the descriptions named here.
#define QUILLET_FORMATS(X) \
  X(TIFFFormat)            \
  X(GIFFormat)             \
  X(JPEGFormat)            \
  X(PCXFormat)             \
  X(BMPFormat)             \
  X(ICOFormat)             \
  X(CURFormat)             \
  X(PNGFormat)             \
  X(WMFFormat)             \
  X(EMFFormat)             \
  X(TGAFormat)             \
  X(PXMFormat)

#define QUILLET_DECLARE_FORMAT(name) extern const TFileFormatInfo name;
QUILLET_FORMATS(QUILLET_DECLARE_FORMAT)
#undef QUILLET_DECLARE_FORMAT

namespace {

std::vector<const TFileFormatInfo*>& Registry() {
#define QUILLET_LIST_FORMAT(name) &name,
  static std::vector<const TFileFormatInfo*> formats = {QUILLET_FORMATS(QUILLET_LIST_FORMAT)};
#undef QUILLET_LIST_FORMAT
  return formats;
}

}  // namespace

const std::vector<const TFileFormatInfo*>& FileFormats() { return Registry(); }

void RegisterFormat(const TFileFormatInfo& format) {
  if (format.TypeCode != ftNone && !FindFormatByType(format.TypeCode)) Registry().push_back(&format);
}

}  // namespace quillet

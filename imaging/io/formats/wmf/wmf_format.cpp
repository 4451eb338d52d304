// The two metafile formats: table rows only; they are read through the
// metafile import and never written.
#include "imaging/io/format_table.h"

namespace quillet {

extern const TFileFormatInfo WMFFormat{
    .TypeCode = ftWMF,
    .Name = "Windows Metafile",
    .Extensions = "WMF",
    .Metafile = true,
};

extern const TFileFormatInfo EMFFormat{
    .TypeCode = ftEMF,
    .Name = "Enhanced Windows Metafile",
    .Extensions = "EMF",
    .Metafile = true,
};

}  // namespace quillet

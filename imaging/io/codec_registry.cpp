// The built-in codecs by file type code; each codec adds its row here.
#include "imaging/io/bmp_codec.h"
#include "imaging/io/codec.h"
#include "imaging/io/ico_codec.h"
#include "imaging/io/jpeg_codec.h"
#include "imaging/io/png_codec.h"

namespace quillet {

const TIOCodec* FindCodec(int32_t fileType) {
  static const TIOCodec kCodecs[] = {
      {ftJPEG, ReadJPEGStream, WriteJPEGStream},
      {ftBMP, ReadBMPStream, WriteBMPStream},
      {ftICO, ReadICOStream, nullptr, true},
      {ftCUR, ReadCURStream, nullptr, true},
      {ftPNG, ReadPNGStream, WritePNGStream, true},
  };
  for (const TIOCodec& c : kCodecs)
    if (c.Type == fileType) return &c;
  return nullptr;
}

}  // namespace quillet

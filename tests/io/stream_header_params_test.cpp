// The 12-byte stream header around codec data, and named access to the
// parameter record as the command line uses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "imaging/io/file_types.h"
#include "imaging/io/params_fields.h"
#include "imaging/io/stream_header.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

TEST(StreamHeader, WrittenAroundTheDataAndReadBack) {
  TIEMemoryStream s;
  s.WriteExact("xy", 2);
  WriteStreamHeader(s, FindFormatByType(ftTIFF)->StreamTag, 7);
  s.WriteExact("payload", 7);
  s.WriteExact("tail", 4);
  const auto& b = s.Bytes();
  EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 6), "TIFF");
  EXPECT_EQ(b[6] | b[7] | b[8] | b[9], 0);
  EXPECT_EQ(b[10], 7);
  EXPECT_EQ(s.Position(), 2 + 12 + 7 + 4);

  s.Seek(2, TSeekOrigin::soBeginning);
  const auto frame = ReadStreamHeader(s, *FindFormatByType(ftTIFF), true);
  ASSERT_TRUE(frame);
  EXPECT_EQ(s.Position(), 14);
  EXPECT_EQ(frame->BytesAvailable, 7);
  EXPECT_EQ(frame->End, 21);
}

TEST(StreamHeader, MissingOrLegacyTags) {
  const std::string plain("II*\0 some tiff data", 20);
  TIEMemoryStream tiff(plain.data(), int64_t(plain.size()));
  EXPECT_FALSE(ReadStreamHeader(tiff, *FindFormatByType(ftTIFF), true));
  EXPECT_EQ(tiff.Position(), 12);  // the header bytes stay consumed
  tiff.Seek(0, TSeekOrigin::soBeginning);
  EXPECT_TRUE(ReadStreamHeader(tiff, *FindFormatByType(ftTIFF), false));
  EXPECT_EQ(tiff.Position(), 0);

  const std::string legacy = std::string("PCX\0", 4) + "pcx data here";
  TIEMemoryStream pcx(legacy.data(), int64_t(legacy.size()));
  ASSERT_TRUE(ReadStreamHeader(pcx, *FindFormatByType(ftPCX), true));
  EXPECT_EQ(pcx.Position(), 4);

  // A header is optional for JPEG whatever the setting.
  const std::string jpeg = "\xFF\xD8\xFF\xE0 jpeg data";
  TIEMemoryStream j(jpeg.data(), int64_t(jpeg.size()));
  ASSERT_TRUE(ReadStreamHeader(j, *FindFormatByType(ftJPEG), true));
  EXPECT_EQ(j.Position(), 0);
}

// A stream written with headers reads back through detection and through the
// format's own entry; a cancelled write leaves the stream as it was.
TEST(StreamHeader, AroundTheComponentsStreams) {
  TIEWorkingBitmap bitmap(8, 5, TIEPixelFormat::pf24bit);
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.StreamHeaders = true;
  TIEMemoryStream s;
  s.WriteExact("xy", 2);
  io.SaveToStreamFormat(s, ftJPEG);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  const auto& b = s.Bytes();
  EXPECT_EQ(std::string(b.begin() + 2, b.begin() + 7), std::string("JFIF\0", 5));
  EXPECT_EQ(b[10] | b[11] << 8 | b[12] << 16 | b[13] << 24, int64_t(b.size()) - 14);

  TIEWorkingBitmap back;
  io.SetAttachedBitmap(&back);
  s.Seek(2, TSeekOrigin::soBeginning);
  io.ParamsFromStreamFormat(s, ftJPEG);
  EXPECT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(io.Params.Width, 8);
  s.Seek(2, TSeekOrigin::soBeginning);
  io.LoadFromStream(s);
  ASSERT_FALSE(io.Aborting) << io.LastError;
  EXPECT_EQ(back.Height(), 5);
  EXPECT_EQ(s.Position(), int64_t(b.size()));

  io.SetAttachedBitmap(&bitmap);
  io.OnProgress = [](TZiridEvIO* sender, int) { sender->Aborting = true; };
  TIEMemoryStream cancelled;
  cancelled.WriteExact("xy", 2);
  io.SaveToStreamFormat(cancelled, ftJPEG);
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(cancelled.Size(), 2);
}

// A PCX stream whose data is shorter than a PCX header fails and is left
// after the length its stream header gives; a missing required header fails
// the parameter read too. A TIFF stream is read inside its header's length
// and left after it.
TEST(StreamHeader, ShortDataAndMissingHeaders) {
  TIEWorkingBitmap bitmap;
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.StreamHeaders = true;
  TIEMemoryStream s;
  WriteStreamHeader(s, "PCX2", 8);
  s.WriteExact("\x0a\x05\x01\x08\0\0\0\0", 8);
  s.Seek(0, TSeekOrigin::soBeginning);
  io.LoadFromStreamFormat(s, ftPCX);
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.LastError, "not a PCX file");
  EXPECT_EQ(s.Position(), 20);

  s.Seek(12, TSeekOrigin::soBeginning);
  io.ParamsFromStreamFormat(s, ftPCX);
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.LastError, "missing stream header");
  EXPECT_EQ(io.Params.FileType, ftNone);

  TIEMemoryStream tiff;
  WriteStreamHeader(tiff, "TIFF", 8);
  tiff.WriteExact("II*\0\0\0\0\0", 8);
  tiff.WriteExact("more", 4);
  tiff.Seek(0, TSeekOrigin::soBeginning);
  io.LoadFromStreamFormat(tiff, ftTIFF);
  EXPECT_TRUE(io.Aborting);
  EXPECT_EQ(io.LastError, "no page 0: the file has 0 page(s)");
  EXPECT_EQ(tiff.Position(), 20);
}

TEST(ParamFields, SetByNameWithTypedValues) {
  TIOParamsVals p;
  std::string error;
  EXPECT_TRUE(SetParamField(p, "JpegQuality", "90", error));
  EXPECT_EQ(p.JpegQuality, 90);
  EXPECT_TRUE(SetParamField(p, "TiffCompression", "LZW", error));
  EXPECT_EQ(p.TiffCompression, TIOTIFFCompression::LZW);
  EXPECT_TRUE(SetParamField(p, "TiffCompression", "8", error));
  EXPECT_EQ(p.TiffCompression, TIOTIFFCompression::PACKBITS);
  EXPECT_TRUE(SetParamField(p, "JpegProgressive", "true", error));
  EXPECT_TRUE(p.JpegProgressive);
  EXPECT_TRUE(SetParamField(p, "IcoBackground", "#FF8000", error));
  EXPECT_EQ(p.IcoBackground, MakeBGR(255, 128, 0));
  EXPECT_TRUE(SetParamField(p, "CurBackground", "1,2,3", error));
  EXPECT_EQ(p.CurBackground, MakeBGR(1, 2, 3));
  EXPECT_TRUE(SetParamField(p, "TgaGamma", "1.8", error));
  EXPECT_DOUBLE_EQ(p.TgaGamma, 1.8);
  EXPECT_TRUE(SetParamField(p, "TiffDocumentName", "scan 1", error));
  EXPECT_EQ(p.TiffDocumentName, "scan 1");

  for (auto [name, value] : {std::pair{"NoSuchField", "1"}, {"JpegQuality", "abc"}, {"BmpVersion", "300"},
                             {"TiffCompression", "ZIP"}, {"IcoBackground", "#12"}}) {
    error.clear();
    const TIOParamsVals before = p;
    EXPECT_FALSE(SetParamField(p, name, value, error)) << name << "=" << value;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(p.JpegQuality, before.JpegQuality);
  }
}

TEST(ParamFields, ListsEveryPlainFieldOnce) {
  TIOParamsVals p;
  p.BmpVersion = 2;
  const auto values = ParamFieldValues(p);
  std::set<std::string> names;
  for (const auto& v : values) EXPECT_TRUE(names.insert(v.Name).second) << v.Name;
  for (const char* n : {"BitsPerSample", "BmpVersion", "GifVersion", "TgaDate", "ExifWhitePoint", "PngFilter"})
    EXPECT_TRUE(names.count(n)) << n;
  const auto bmp = std::find_if(values.begin(), values.end(), [](const auto& v) { return v.Name == "BmpVersion"; });
  ASSERT_NE(bmp, values.end());
  EXPECT_EQ(bmp->Numbers.at(0), 2);
}

}  // namespace
}  // namespace quillet::test

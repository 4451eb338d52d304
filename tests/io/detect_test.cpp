// The format table's look-ups and the content tests that need more than a
// signature: icon directories, Targa headers and PXM tokens.
#include <gtest/gtest.h>

#include "codec_harness.h"
#include "imaging/io/format_detect.h"
#include "imaging/io/format_table.h"
#include "imaging/io/formats/pxm/pxm_tokens.h"

namespace quillet::test {
namespace {

int32_t DetectAt(const std::vector<uint8_t>& bytes, int64_t position = 0) {
  TIEMemoryStream s(bytes.data(), int64_t(bytes.size()));
  s.Seek(position, TSeekOrigin::soBeginning);
  const int32_t code = DetectStreamFormat(s);
  EXPECT_EQ(s.Position(), position);
  return code;
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

TEST(FormatTable, LooksUpByTypeAndExtension) {
  ASSERT_EQ(FileFormats().size(), 12u);
  EXPECT_EQ(FileFormats().front()->TypeCode, ftTIFF);
  EXPECT_EQ(FileFormats().back()->TypeCode, ftPXM);
  EXPECT_EQ(FindFormatByExtension("jpe")->TypeCode, ftJPEG);
  EXPECT_EQ(FindFormatByExtension("Pix")->TypeCode, ftTGA);
  EXPECT_EQ(FindFormatByExtension("pgm")->TypeCode, ftPXM);
  EXPECT_EQ(FindFormatByExtension(""), nullptr);
  EXPECT_EQ(FindFormatByExtension("TIF;TIFF"), nullptr);
  EXPECT_EQ(FindFormatByType(99), nullptr);
  EXPECT_EQ(FormatExtension(ftTGA, 5), "PIX");
  EXPECT_EQ(FormatExtension(ftTGA, 6), "");
  EXPECT_EQ(FormatExtension(ftBMP, -1), "");
  EXPECT_EQ(FormatExtensionCount(ftJPEG), 3);
  EXPECT_EQ(FormatExtensionCount(0), 0);
  EXPECT_EQ(FileTypeOfName("/a.b/photo.JPEG"), ftJPEG);
  EXPECT_EQ(FileTypeOfName("old.WIN"), ftTGA);
  EXPECT_EQ(FileTypeOfName("README"), ftNone);
}

TEST(Detect, WorksFromTheCurrentPosition) {
  std::vector<uint8_t> bytes(30, 0x55);
  const std::string gif = "GIF89a";
  bytes.insert(bytes.end(), gif.begin(), gif.end());
  bytes.resize(bytes.size() + 10, 0);
  EXPECT_EQ(DetectAt(bytes, 30), ftGIF);
  // A start-of-image marker past the hundred offsets searched is not JPEG.
  std::vector<uint8_t> late(300, 0);
  late[100] = 0xFF, late[101] = 0xD8, late[102] = 0xFF;
  EXPECT_EQ(DetectAt(late), ftNone);
  EXPECT_EQ(DetectAt(late, 1), ftJPEG);
  EXPECT_EQ(DetectAt({}), ftNone);
}

TEST(Detect, StreamHeaderTagsNeedTheirZeroByte) {
  std::vector<uint8_t> tiff = Text("TIFF");
  tiff.resize(16, 0);
  EXPECT_EQ(DetectAt(tiff), ftTIFF);
  tiff[4] = 'X';
  EXPECT_EQ(DetectAt(tiff), ftNone);
  std::vector<uint8_t> oldPcx = {'P', 'C', 'X', 0, 1};
  EXPECT_EQ(DetectAt(oldPcx), ftPCX);
  std::vector<uint8_t> pcx(129, 0);
  pcx[0] = 0x0A, pcx[1] = 5;
  EXPECT_EQ(DetectAt(pcx), ftPCX);
  pcx[1] = 6;
  EXPECT_NE(DetectAt(pcx), ftPCX);
}

TEST(Detect, IconAndCursorDirectories) {
  Bytes cursor;
  cursor.u16(0).u16(2).u16(1).u8(32).u8(32).u8(0).u8(0).u16(3).u16(4).u32(100).u32(22).zeros(20);
  EXPECT_EQ(DetectAt(cursor.v), ftCUR);
  Bytes broken;  // the image data would overlap the directory
  broken.u16(0).u16(1).u16(1).u8(32).u8(32).u8(0).u8(0).u16(1).u16(4).u32(100).u32(6).zeros(20);
  EXPECT_EQ(DetectAt(broken.v), ftNone);
}

TEST(Detect, TargaHeaders) {
  Bytes tga;
  tga.u8(0).u8(0).u8(2).zeros(9).u16(4).u16(4).u8(24).u8(0x20).zeros(48);
  EXPECT_EQ(DetectAt(tga.v), ftTGA);
  tga.v[16] = 12;  // no such pixel depth
  EXPECT_EQ(DetectAt(tga.v), ftNone);
  // A PPM header looks like a run-length Targa (type 10 is a line feed).
  std::vector<uint8_t> ppm = Text("P6\n4 4\n255\n");
  ppm.resize(ppm.size() + 48, 0x18);
  EXPECT_EQ(DetectAt(ppm), ftPXM);
  // So does an ASCII bitmap whose byte 16 is a space (a depth of 32).
  std::vector<uint8_t> pbm = Text("P1\n6 4\n0 1 0 1 0 1\n1 0 1 0 1 0\n");
  ASSERT_EQ(pbm[16], ' ');
  EXPECT_EQ(DetectAt(pbm), ftPXM);
}

TEST(Detect, PxmHeaders) {
  EXPECT_EQ(DetectAt(Text("# made by hand\nP2\n# size next\n3 2\n15\n0 1 2 3 4 5\n")), ftPXM);
  EXPECT_EQ(DetectAt(Text("P5 0 4 255\n....")), ftNone);
  EXPECT_EQ(DetectAt(Text("P7 4 4 255\n....")), ftNone);
  EXPECT_EQ(DetectAt(Text("P3 4x 4 255\n")), ftNone);
  EXPECT_EQ(DetectAt(Text("P4 99999999999 4\n")), ftNone);
}

TEST(PxmTokens, WordsCommentsAndTheConsumedSeparator) {
  const std::string text = "P5 #  note here  \r\n12 x9\n255\nAB";
  TIEMemoryStream s(text.data(), int64_t(text.size()));
  TPxmTokenReader reader(s);
  std::vector<std::string> tokens;
  std::string t;
  for (int i = 0; i < 5 && reader.Next(t); ++i) tokens.push_back(t);
  EXPECT_EQ(tokens, (std::vector<std::string>{"P5", "#note here", "12", "x9", "255"}));
  // Binary data starts right after the single byte that ended the last token.
  reader.SyncStream();
  EXPECT_EQ(s.Position(), int64_t(text.size()) - 2);
  EXPECT_TRUE(reader.Next(t));
  EXPECT_EQ(t, "AB");
  EXPECT_FALSE(reader.Next(t));
  EXPECT_EQ(PxmNumber("0042"), 42);
  EXPECT_EQ(PxmNumber("4a"), -1);
  EXPECT_EQ(PxmNumber("3000000000"), -1);
}

TEST(PxmTokens, HugeRunsAreSplit) {
  const std::string text(TPxmTokenReader::kMaxToken + 10, '7');
  TIEMemoryStream s(text.data(), int64_t(text.size()));
  TPxmTokenReader reader(s);
  std::string t;
  ASSERT_TRUE(reader.Next(t));
  EXPECT_EQ(t.size(), TPxmTokenReader::kMaxToken);
  ASSERT_TRUE(reader.Next(t));
  EXPECT_EQ(t.size(), 10u);
}

}  // namespace
}  // namespace quillet::test

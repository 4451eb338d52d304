// The parameter record as a record: deep copies, what a reset takes from the
// owner, the clock behind TgaDate, the coder slots and the EXIF arrays.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "imaging/io/io_params.h"
#include "imaging/core/engine_settings.h"
#include "imaging/io/params_fields.h"
#include "imaging/io/ziridev_io.h"

namespace quillet::test {
namespace {

TEST(ParamsRecord, AssignIsADeepCopy) {
  TIOParamsVals a;
  a.JpegQuality = 77;
  a.TgaAuthor = "someone";
  a.GifTransparentColor = MakeBGR(1, 2, 3);
  a.SetColorMap({kWhite, kBlack, MakeBGR(9, 8, 7)});
  a.IptcInfo.Add(2, 5, "title");
  const uint8_t app1[] = {'E', 'x', 'i', 'f'};
  a.JpegMarkers.Add(0xE1, app1, 4);
  a.PxmComments = {"one", "two"};
  a.ExifThumbnail.Resize(3, 2, TIEPixelFormat::pf24bit);
  a.SetExifWhitePoint(1, 0.329);

  TIOParamsVals b;
  b.Assign(a);
  a.IptcInfo.Clear();
  a.JpegMarkers.Clear();
  a.ColorMap[0] = kBlack;
  a.ExifThumbnail.Resize(1, 1, TIEPixelFormat::pf24bit);

  EXPECT_EQ(b.JpegQuality, 77);
  EXPECT_EQ(b.TgaAuthor, "someone");
  EXPECT_EQ(b.GifTransparentColor, MakeBGR(1, 2, 3));
  EXPECT_EQ(b.ColorMapCount, 3);
  EXPECT_EQ(b.ColorMap[0], kWhite);
  ASSERT_EQ(b.IptcInfo.Count(), 1);
  EXPECT_EQ(b.IptcInfo.StringItem(0), "title");
  ASSERT_EQ(b.JpegMarkers.Count(), 1);
  EXPECT_EQ(b.JpegMarkers.MarkerType(0), 0xE1);
  EXPECT_EQ(b.PxmComments.size(), 2u);
  EXPECT_EQ(b.ExifThumbnail.Width(), 3);
  EXPECT_DOUBLE_EQ(b.ExifWhitePoint(1), 0.329);

  // A copy made through the copy constructor is as deep.
  TIOParamsVals c = b;
  b.IptcInfo.Clear();
  EXPECT_EQ(c.IptcInfo.Count(), 1);
}

// A value of the field's kind that differs from the one the record holds.
std::string OtherValue(const TParamValue& v) {
  switch (v.Kind) {
    case TParamKind::pkText: return v.Text + "x";
    case TParamKind::pkColor: return v.Text == "#010203" ? "#040506" : "#010203";
    case TParamKind::pkDouble: return v.Numbers[0] == 0.5 ? "0.25" : "0.5";
    case TParamKind::pkIntArray:
    case TParamKind::pkDoubleArray: {
      std::string items;
      for (size_t i = 0; i < v.Numbers.size(); ++i) items += i ? ",1" : "1";
      return items;
    }
    default: return v.Numbers[0] == 1 ? "0" : "1";
  }
}

TEST(ParamsRecord, EveryListedFieldIsCopied) {
  TIOParamsVals a, b;
  std::string error;
  for (const TParamValue& v : ParamFieldValues(a))
    ASSERT_TRUE(SetParamField(a, v.Name, OtherValue(v), error)) << v.Name << ": " << error;
  b.Assign(a);
  const auto want = ParamFieldValues(a), got = ParamFieldValues(b), fresh = ParamFieldValues(TIOParamsVals());
  ASSERT_EQ(want.size(), got.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NE(want[i].Text, fresh[i].Text) << want[i].Name;
    EXPECT_EQ(got[i].Text, want[i].Text) << want[i].Name;
  }
}

TEST(ParamsRecord, ResetTakesTheOwnersImageAndClearsTheLists) {
  TIEWorkingBitmap bitmap(33, 21, TIEPixelFormat::pf24bit);
  TZiridEvIO io;
  io.SetAttachedBitmap(&bitmap);
  io.Params.Width = 5;
  io.Params.IptcInfo.Add(2, 120, "caption");
  io.Params.PxmComments = {"c"};
  io.Params.Reset();
  EXPECT_EQ(io.Params.Width, 33);
  EXPECT_EQ(io.Params.Height, 21);
  EXPECT_EQ(io.Params.IptcInfo.Count(), 0);
  EXPECT_TRUE(io.Params.PxmComments.empty());
  EXPECT_EQ(io.Params.Owner(), &io);

  // Without an image the size stays as it was.
  TIOParamsVals alone;
  alone.Width = 7;
  alone.Reset();
  EXPECT_EQ(alone.Width, 7);
}

TEST(ParamsRecord, AssigningValuesKeepsTheOwner) {
  TZiridEvIO a, b;
  b.Params.JpegQuality = 91;
  a.Params = b.Params;
  EXPECT_EQ(a.Params.JpegQuality, 91);
  EXPECT_EQ(a.Params.Owner(), &a);
  EXPECT_EQ(TIOParamsVals(b.Params).Owner(), nullptr);
}

// The names of the data members declared in the record's class, read from
// its header: initialisers, template arguments and methods left out.
std::set<std::string> DeclaredFields() {
  std::ifstream in(std::string(QUILLET_SOURCE_DIR) + "/imaging/io/io_params.h");
  std::string text((std::istreambuf_iterator<char>(in)), {});
  text = text.substr(text.find("class TIOParamsVals {"));
  text = text.substr(0, text.find(" private:"));
  text = std::regex_replace(text, std::regex("//[^\n]*"), "");
  text = std::regex_replace(text, std::regex("<[^<>]*>|\\{[^{}]*\\}|=[^,;]*|\\b(public|class \\w+ \\{)"), " ");
  std::set<std::string> names;
  std::stringstream statements(text);
  for (std::string statement; std::getline(statements, statement, ';');) {
    if (statement.find('(') != std::string::npos) continue;
    std::stringstream items(statement);
    for (std::string item; std::getline(items, item, ',');) {
      std::smatch last;
      if (std::regex_search(item, last, std::regex("(\\w+)\\s*$"))) names.insert(last[1]);
    }
  }
  names.erase("");
  return names;
}

TEST(ParamsRecord, EveryFieldHasAName) {
  std::set<std::string> declared = DeclaredFields(), named;
  for (std::string name : ParamFieldNames()) {
    if (!declared.count(name)) name += "Values";  // the EXIF arrays
    EXPECT_TRUE(named.insert(name).second) << name << " named twice";
  }
  ASSERT_GT(declared.size(), 100u);
  EXPECT_EQ(declared, named);
}

TEST(ParamsRecord, TgaDateComesFromTheClock) {
  SetParamsClock([] { return 45000.0; });
  TIOParamsVals p;
  EXPECT_DOUBLE_EQ(p.TgaDate, 45000.0);
  p.TgaDate = 1;
  p.Reset();
  EXPECT_DOUBLE_EQ(p.TgaDate, 45000.0);
  SetParamsClock(nullptr);
  // 2020-01-01 is day 43831; any machine running this is later.
  EXPECT_GT(ParamsToday(), 43831.0);
  EXPECT_EQ(ParamsToday(), double(int64_t(ParamsToday())));
}

TEST(ParamsRecord, ResetCopiesTheInstalledCoders) {
  TIOParamsVals before;
  EXPECT_FALSE(before.GifLzwDecoder);
  TIELzwSlots slots;
  slots.GifDecoder = [](TIEStream&, int64_t, int64_t, uint8_t*, bool) { return true; };
  SetLzwSlots(slots);
  EXPECT_TRUE(TZiridEvIO::GifDecoderInstalled());
  EXPECT_FALSE(TZiridEvIO::GifEncoderInstalled());
  before.Reset();
  EXPECT_TRUE(before.GifLzwDecoder);
  SetLzwSlots({});
  EXPECT_FALSE(TZiridEvIO::GifDecoderInstalled());
}

TEST(ParamsRecord, ExifArraysByIndex) {
  TIOParamsVals p;
  p.SetExifISOSpeedRatings(1, 400);
  p.SetExifISOSpeedRatings(2, 800);  // out of range: ignored
  p.SetExifReferenceBlackWhite(5, 255.0);
  p.SetExifPrimaryChromaticities(-1, 1.0);
  EXPECT_EQ(p.ExifISOSpeedRatings(1), 400);
  EXPECT_EQ(p.ExifISOSpeedRatings(2), 0);
  EXPECT_DOUBLE_EQ(p.ExifReferenceBlackWhite(5), 255.0);
  EXPECT_DOUBLE_EQ(p.ExifPrimaryChromaticities(-1), 0.0);
  EXPECT_DOUBLE_EQ(p.ExifYCbCrCoefficients(3), 0.0);
}

}  // namespace
}  // namespace quillet::test

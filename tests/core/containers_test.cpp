// The small containers: lists, marker list, IPTC list and block, byte array,
// the colour hash, and the parameter holders of the view.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "imaging/core/byte_array.h"
#include "imaging/core/hash1.h"
#include "imaging/core/ie_list.h"
#include "imaging/core/iptc_info_list.h"
#include "imaging/core/marker_list.h"
#include "imaging/core/engine_settings.h"
#include "imaging/core/stream.h"
#include "imaging/core/view_params.h"

namespace quillet {
namespace {

TEST(IEList, IntegerListAddFindDelete) {
  TIEIntegerList list;
  EXPECT_EQ(list.ItemSize(), 4);
  EXPECT_EQ(list.Add(5), 0);
  EXPECT_EQ(list.Add(7), 1);
  EXPECT_EQ(list.Add(5), 2);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.IndexOf(7), 1);
  EXPECT_EQ(list.IndexOf(5), 0);
  EXPECT_EQ(list.IndexOf(9), -1);
  list.SetChanged(0);
  list.Delete(3);
  list.Delete(-1);
  list.Put(3, 99);
  list.Put(-1, 99);
  EXPECT_EQ(list.Changed(), 0u);  // nothing happened
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(3), nullptr);
  EXPECT_EQ(list.Items(-1), nullptr);
  EXPECT_EQ(list.Item(7), 0);
  list.Delete(0);
  EXPECT_EQ(list.Changed() & 1, 1u);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(0), 7);
  EXPECT_EQ(list.Item(1), 5);
  list.Put(1, -3);
  EXPECT_EQ(list.Item(1), -3);
  int32_t raw[2];
  std::memcpy(raw, list.Data(), 8);
  EXPECT_EQ(raw[0], 7);
  EXPECT_EQ(raw[1], -3);
}

TEST(IEList, EveryChangeSetsTheFlag) {
  TIEIntegerList list;
  list.Add(1);
  for (auto change : {+[](TIEIntegerList& l) { l.Add(2); }, +[](TIEIntegerList& l) { l.Put(0, 3); },
                      +[](TIEIntegerList& l) { l.SetCount(5); }, +[](TIEIntegerList& l) { l.Delete(0); },
                      +[](TIEIntegerList& l) { l.Clear(); }}) {
    list.SetChanged(0);
    change(list);
    EXPECT_EQ(list.Changed() & 1, 1u);
  }
}

TEST(IEList, SetCountKeepsTheFirstItems) {
  TIEIntegerList list;
  for (int i = 0; i < 5; ++i) list.Add(10 + i);
  list.SetCount(2);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1), 11);
  list.SetCount(4);
  EXPECT_EQ(list.Item(1), 11);
  EXPECT_EQ(list.Item(3), 0);
  list.SetCount(-1);
  EXPECT_EQ(list.Count(), 4);
  // Adding one of its own items is safe while the list grows.
  for (int i = 0; i < 100; ++i) list.Add(list.Items(1));
  EXPECT_EQ(list.Item(103), 11);
}

TEST(IEList, AssignAndClearOfTypedLists) {
  TIEIntegerList a;
  a.Add(1);
  a.Add(2);
  a.RangeMin = -5, a.RangeMax = 50, a.RangeStep = 5, a.CurrentValue = 10;
  a.SetChanged(0);
  TIEIntegerList b;
  b.Add(9);
  b.Assign(a);
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Item(1), 2);
  EXPECT_EQ(b.RangeMax, 50);
  EXPECT_EQ(b.CurrentValue, 10);
  EXPECT_EQ(b.Changed(), 0u);  // the flag is copied
  b.Clear();
  EXPECT_EQ(b.Count(), 0);
  EXPECT_EQ(b.ItemSize(), 4);
  EXPECT_EQ(b.RangeMin, 0);
  EXPECT_EQ(b.CurrentValue, 0);
  // A list of another item size cannot become a typed list's content.
  TIERecordList records(12);
  uint8_t rec[12] = {1, 2, 3};
  records.Add(rec);
  b.Assign(records);
  EXPECT_EQ(b.ItemSize(), 4);
  EXPECT_EQ(b.Count(), 0);
  TIERecordList copy(3);
  copy.Assign(records);
  EXPECT_EQ(copy.ItemSize(), 12);
  EXPECT_EQ(copy.IndexOf(rec), 0);

  TIEDoubleList d;
  d.Add(0.5);
  d.Add(2.25);
  d.RangeStep = 0.1;
  TIEDoubleList e;
  e.Assign(d);
  EXPECT_EQ(e.IndexOf(2.25), 1);
  EXPECT_DOUBLE_EQ(e.Item(0), 0.5);
  EXPECT_DOUBLE_EQ(e.RangeStep, 0.1);
  e.Clear();
  EXPECT_DOUBLE_EQ(e.RangeStep, 0);
}

TEST(MarkerList, AddsCopiesAndRefusesLongData) {
  TIEMarkerList list;
  const std::string exif = "Exif\0\0data";
  EXPECT_EQ(list.Add(0xE1, exif.data(), int64_t(exif.size())), 0);
  EXPECT_EQ(list.Add(0xFE, "hello", 5), 1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(0xFE), 1);
  EXPECT_EQ(list.IndexOf(0xE2), -1);
  EXPECT_EQ(list.MarkerType(1), 0xFE);
  EXPECT_EQ(list.MarkerLength(1), 5);
  EXPECT_EQ(std::memcmp(list.MarkerBytes(1), "hello", 5), 0);
  EXPECT_EQ(list.MarkerData(0)->Size(), int64_t(exif.size()));

  std::vector<uint8_t> big(65536, 7);
  EXPECT_EQ(list.Add(0xE2, big.data(), 65536), -1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Add(0xE2, big.data(), 65535), 2);
  EXPECT_EQ(list.MarkerLength(2), 65535);
  EXPECT_FALSE(list.Put(2, 0xE2, big.data(), 65536));
  EXPECT_EQ(list.MarkerLength(2), 65535);  // not truncated, not changed
  EXPECT_FALSE(list.Put(3, 0xE3, "x", 1));
  EXPECT_FALSE(list.Put(-1, 0xE3, "x", 1));
  EXPECT_EQ(list.Add(0xE3, nullptr, 4), -1);
  EXPECT_EQ(list.Add(0xE3, nullptr, 0), 3);  // an empty marker is fine
  EXPECT_TRUE(list.Put(1, 0xED, "abc", 3));
  EXPECT_EQ(list.MarkerType(1), 0xED);
  EXPECT_EQ(list.MarkerLength(1), 3);
  EXPECT_EQ(list.MarkerData(9), nullptr);
  EXPECT_EQ(list.MarkerLength(-1), 0);

  TIEMarkerList copy;
  copy.Assign(list);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  ASSERT_EQ(copy.Count(), 4);
  EXPECT_EQ(std::memcmp(copy.MarkerBytes(1), "abc", 3), 0);
  EXPECT_EQ(copy.MarkerLength(2), 65535);
}

TEST(IPTCInfoList, SavesOneRecordExactly) {
  TIEIPTCInfoList list;
  list.Add(2, 5, "Title");
  const std::vector<uint8_t> block = list.SaveToBlock();
  const uint8_t want[] = {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p', ' ', '3', '.', '0', 0,
                          '8', 'B', 'I', 'M', 0x04, 0x04, 0, 0, 0, 0, 0, 0x0A,
                          0x1C, 2, 5, 0, 5, 'T', 'i', 't', 'l', 'e'};
  ASSERT_EQ(block.size(), sizeof(want));
  EXPECT_EQ(std::memcmp(block.data(), want, sizeof(want)), 0);
}

TEST(IPTCInfoList, SkipsRecordVersionPadsAndUsesExtendedLengths) {
  TIEIPTCInfoList list;
  list.Add(2, 0, std::string("\0\4", 2));
  list.Add(2, 120, "odd");  // 5 + 3 = 8 bytes
  list.Add(2, 25, "k");     // 5 + 1 = 6 bytes: 26 + 14 = 40, even
  std::vector<uint8_t> block = list.SaveToBlock();
  EXPECT_EQ(block.size(), 40u);
  EXPECT_EQ(block[25], 14);
  list.Add(2, 26, "x");  // 26 + 20 = 46, even again
  list.Add(2, 27, "");   // + 5 = 51, padded to 52
  block = list.SaveToBlock();
  EXPECT_EQ(block.size(), 52u);
  EXPECT_EQ(block[25], 25);
  EXPECT_EQ(block.back(), 0);

  TIEIPTCInfoList large;
  const std::string caption(40000, 'c');
  large.Add(2, 120, caption);
  block = large.SaveToBlock();
  ASSERT_EQ(block.size(), 26u + 9 + 40000 + 1);
  const uint8_t head[] = {0x1C, 2, 120, 0x80, 0x04, 0x00, 0x00, 0x9C, 0x40};
  EXPECT_EQ(std::memcmp(block.data() + 26, head, 9), 0);
  EXPECT_EQ(block[24] << 8 | block[25], 40009);

  TIEIPTCInfoList back;
  back.LoadFromBlock(block.data(), block.size());
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.StringItem(0), caption);
}

TEST(IPTCInfoList, LoadsWhatItSavesAndClearsTheFlag) {
  TIEIPTCInfoList list;
  list.Add(2, 5, "Title");
  list.Add(2, 25, "keyword one");
  list.Add(2, 25, "keyword two");
  list.Add(1, 90, std::string("\x1b%G", 3));
  EXPECT_TRUE(list.Changed());
  const std::vector<uint8_t> block = list.SaveToBlock();
  TIEIPTCInfoList back;
  back.Add(9, 9, "old");
  back.LoadFromBlock(block.data(), block.size());
  EXPECT_FALSE(back.Changed());
  ASSERT_EQ(back.Count(), 4);
  EXPECT_EQ(back.RecordNumber(3), 1);
  EXPECT_EQ(back.DataSet(3), 90);
  EXPECT_EQ(back.StringItem(2), "keyword two");
  EXPECT_EQ(back.IndexOf(2, 25), 1);
  EXPECT_EQ(back.IndexOf(2, 99), -1);
  EXPECT_TRUE(back.Data(10).empty());
  back.Clear();
  EXPECT_TRUE(back.Changed());
  back.SetChanged(false);
  back.Assign(list);
  EXPECT_TRUE(back.Changed());
  EXPECT_EQ(back.Count(), 4);
}

TEST(IPTCInfoList, SizeFieldHoldingTheRecordByteIsNotARecord) {
  // 28 bytes of records make the size field end in 0x1C.
  TIEIPTCInfoList list;
  list.Add(2, 5, std::string(23, 'a'));
  const std::vector<uint8_t> block = list.SaveToBlock();
  ASSERT_EQ(block[25], 0x1C);
  TIEIPTCInfoList back;
  back.LoadFromBlock(block.data(), block.size());
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.DataSet(0), 5);
  EXPECT_EQ(back.StringItem(0), std::string(23, 'a'));
}

TEST(IPTCInfoList, ParsesBareDataAndOtherResources) {
  // Bare IPTC data: junk, then records.
  const uint8_t bare[] = {0, 0, 0x1C, 2, 5, 0, 2, 'h', 'i', 0x1C, 2, 25, 0, 1, 'k'};
  TIEIPTCInfoList list;
  list.LoadFromBlock(bare, sizeof(bare));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.StringItem(0), "hi");
  EXPECT_EQ(list.StringItem(1), "k");

  // A resource before the IPTC one, with a name and odd data, is skipped.
  std::vector<uint8_t> block = {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p', ' ', '3', '.', '0', 0};
  const uint8_t other[] = {'8', 'B', 'I', 'M', 0x03, 0xED, 3, 'a', 'b', 'c', 0, 0, 0, 3, 0x1C, 0x1C, 0x1C, 0};
  const uint8_t iptc[] = {'8', 'B', 'I', 'M', 0x04, 0x04, 0, 0, 0, 0, 0, 6, 0x1C, 2, 5, 0, 1, 'T'};
  block.insert(block.end(), other, other + sizeof(other));
  block.insert(block.end(), iptc, iptc + sizeof(iptc));
  list.LoadFromBlock(block.data(), block.size());
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.StringItem(0), "T");
}

TEST(IPTCInfoList, StopsAtTheFirstMalformedRecord) {
  TIEIPTCInfoList list;
  list.Add(2, 5, "Title");
  list.Add(2, 25, "Keyword");
  const std::vector<uint8_t> block = list.SaveToBlock();
  // Every truncation parses without reading outside the buffer (ASan checks).
  for (size_t n = 0; n <= block.size(); ++n) {
    std::vector<uint8_t> cut(block.begin(), block.begin() + long(n));
    TIEIPTCInfoList back;
    back.LoadFromBlock(cut.data(), cut.size());
    EXPECT_LE(back.Count(), 2);
    EXPECT_EQ(back.Count(), n < 36 ? 0 : n < 48 ? 1 : 2) << n;
  }
  // A length past the end, plain or extended, stops the parse.
  const uint8_t plain[] = {0x1C, 2, 5, 0, 1, 'a', 0x1C, 2, 6, 0, 9, 'b'};
  list.LoadFromBlock(plain, sizeof(plain));
  EXPECT_EQ(list.Count(), 1);
  const uint8_t extended[] = {0x1C, 2, 5, 0x80, 0x04, 0xFF, 0xFF, 0xFF, 0xF0, 'a'};
  list.LoadFromBlock(extended, sizeof(extended));
  EXPECT_EQ(list.Count(), 0);
  const uint8_t shortHead[] = {0x1C, 2, 5, 0x80, 0x04, 0, 0};
  list.LoadFromBlock(shortHead, sizeof(shortHead));
  EXPECT_EQ(list.Count(), 0);
  // Random bytes never crash.
  std::mt19937 rng(3);
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> junk(rng() % 64);
    for (auto& b : junk) b = uint8_t(rng() % 4 == 0 ? 0x1C : rng());
    list.LoadFromBlock(junk.data(), junk.size());
  }
  list.LoadFromBlock(nullptr, 10);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ByteArray, CapacityRule) {
  TIEByteArray a;
  EXPECT_EQ(a.Size(), 0);
  EXPECT_EQ(a.Capacity(), 8192);
  EXPECT_EQ(a.Growth(), 8192);
  a.SetSize(9000);
  EXPECT_EQ(a.Capacity(), 17192);
  a.SetSize(8000);
  EXPECT_EQ(a.Capacity(), 16192);
  a.SetSize(8100);
  EXPECT_EQ(a.Capacity(), 16192);
  EXPECT_EQ(a.Size(), 8100);
  a.SetSize(-5);
  EXPECT_EQ(a.Size(), 8100);
}

TEST(ByteArray, AppendKeepsTheBytes) {
  TIEByteArray a;
  for (int i = 0; i < 20000; ++i) a.Append(uint8_t(i * 7));
  EXPECT_EQ(a.Size(), 20000);
  EXPECT_GE(a.Capacity(), 20000);
  for (int i = 0; i < 20000; i += 997) EXPECT_EQ(a.Data()[i], uint8_t(i * 7));
  a.Append("xyz", 3);
  EXPECT_EQ(a.Size(), 20003);
  EXPECT_EQ(a.Data()[20002], 'z');
  TIEByteArray b = a;
  EXPECT_EQ(b.Size(), 20003);
  EXPECT_EQ(b.Data()[20000], 'x');
}

TEST(ByteArray, AppendFromStreamKeepsWhatWasRead) {
  std::vector<uint8_t> bytes(50);
  for (int i = 0; i < 50; ++i) bytes[size_t(i)] = uint8_t(i);
  TIEMemoryStream s(bytes);
  s.Seek(20, TSeekOrigin::soBeginning);
  TIEByteArray a;
  a.Append(0xAA);
  EXPECT_EQ(a.AppendFromStream(s, 100), 30);
  EXPECT_EQ(a.Size(), 31);
  EXPECT_EQ(a.Capacity(), 8192);
  EXPECT_EQ(a.Data()[1], 20);
  EXPECT_EQ(a.Data()[30], 49);
  EXPECT_EQ(a.AppendFromStream(s, 10), 0);
  EXPECT_EQ(a.Size(), 31);
  EXPECT_EQ(a.AppendFromStream(s, -1), 0);
}

TEST(Hash1, CountsDistinctValues) {
  THash1 h(13);
  EXPECT_TRUE(h.Insert(0x00FF00));
  EXPECT_FALSE(h.Insert(0x00FF00));
  EXPECT_TRUE(h.Insert(0x00FF00 + 8192));  // same bucket
  EXPECT_EQ(h.Count(), 2);
  EXPECT_EQ(h.BucketState(0x00FF00 & 8191), THash1::kChain);
  EXPECT_FALSE(h.Insert(0x00FF00 + 8192));
  EXPECT_TRUE(h.Insert(1));
  EXPECT_EQ(h.BucketState(1), THash1::kOne);
  EXPECT_EQ(h.BucketState(2), THash1::kEmpty);
  EXPECT_EQ(h.Count(), 3);
  h.Create(4);
  EXPECT_EQ(h.Count(), 0);
  EXPECT_FALSE(h.Contains(1));
}

TEST(Hash1, AgreesWithASetOnManyValues) {
  THash1 h(13);
  std::vector<uint8_t> seen(1 << 20, 0);
  std::mt19937 rng(11);
  int64_t distinct = 0;
  for (int i = 0; i < 200000; ++i) {
    const uint32_t v = rng() & 0xFFFFF;
    const bool fresh = !seen[v];
    seen[v] = 1;
    distinct += fresh;
    ASSERT_EQ(h.Insert(v), fresh);
  }
  EXPECT_EQ(h.Count(), distinct);
}

TEST(ViewParams, Defaults) {
  const TIEScrollBarParams s;
  EXPECT_EQ(s.LineStep, -1);
  EXPECT_EQ(s.PageStep, -1);
  EXPECT_TRUE(s.Tracking);
  const TIEMouseWheelParams w;
  EXPECT_FALSE(w.InvertDirection);
  EXPECT_EQ(w.Action, 2);
  EXPECT_EQ(w.Variation, 1);
  EXPECT_EQ(w.Value, 8);
}

TEST(StartupMetrics, HeadlessIs96DpiUntilSet) {
  EXPECT_EQ(StartupMetrics().DpiX, 96);
  EXPECT_EQ(StartupMetrics().DpiY, 96);
  EXPECT_EQ(StartupMetrics().EdgeX, 2);
  const TIEStartupMetrics old = StartupMetrics();
  SetStartupMetrics(TIEStartupMetrics{120, 0, 1, 1});
  EXPECT_EQ(StartupMetrics().DpiX, 120);
  EXPECT_EQ(StartupMetrics().DpiY, 96);  // 0 keeps the value
  EXPECT_EQ(StartupMetrics().EdgeY, 1);
  SetStartupMetrics(old);
}

}  // namespace
}  // namespace quillet

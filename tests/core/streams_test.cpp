// The streams: the counting TNulStream and the lead's memory and file streams.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "imaging/core/nul_stream.h"
#include "imaging/core/stream.h"
#include "support/test_support.h"

namespace quillet {
namespace {

TEST(NulStream, CountsWithoutStoring) {
  TNulStream s;
  char buf[32] = {};
  EXPECT_EQ(s.Write(buf, 10), 10);
  EXPECT_EQ(s.Position(), 10);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Seek(0, TSeekOrigin::soEnd), 10);
  EXPECT_EQ(s.Seek(4, TSeekOrigin::soEnd), 6);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Write(buf, 2), 2);
  EXPECT_EQ(s.Position(), 8);
  EXPECT_EQ(s.Size(), 10);
  EXPECT_EQ(s.Seek(20, TSeekOrigin::soBeginning), 20);
  EXPECT_EQ(s.Size(), 20);
  EXPECT_EQ(s.Read(buf, 5), 5);
  EXPECT_EQ(s.Position(), 25);
  EXPECT_EQ(s.Size(), 25);
  EXPECT_EQ(s.Seek(-3, TSeekOrigin::soCurrent), 22);
  EXPECT_EQ(s.Size(), 25);
  EXPECT_EQ(s.Seek(-100, TSeekOrigin::soCurrent), 0);
  EXPECT_EQ(s.Seek(-5, TSeekOrigin::soBeginning), 0);
  EXPECT_EQ(s.Seek(100, TSeekOrigin::soEnd), 0);
  EXPECT_EQ(s.Write(buf, -4), 0);
  EXPECT_EQ(s.Position(), 0);
  // The endian helpers count too: an encoder measures its output with them.
  s.WriteU32BE(1);
  s.WriteU16LE(2);
  EXPECT_EQ(s.Position(), 6);
  EXPECT_FALSE(s.Failed());
}

TEST(MemoryStream, ReadWriteSeek) {
  TIEMemoryStream s;
  s.WriteU32LE(0x04030201);
  s.WriteU16BE(0x0506);
  EXPECT_EQ(s.Size(), 6);
  const uint8_t want[] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(std::memcmp(s.Data(), want, 6), 0);
  EXPECT_EQ(s.Seek(2, TSeekOrigin::soEnd), 4);
  uint16_t v16;
  ASSERT_TRUE(s.ReadU16BE(v16));
  EXPECT_EQ(v16, 0x0506);
  EXPECT_FALSE(s.ReadU16BE(v16));  // at the end
  s.Seek(0, TSeekOrigin::soBeginning);
  uint32_t v32;
  ASSERT_TRUE(s.ReadU32BE(v32));
  EXPECT_EQ(v32, 0x01020304u);
  s.Seek(0, TSeekOrigin::soBeginning);
  int32_t i32;
  ASSERT_TRUE(s.ReadI32LE(i32));
  EXPECT_EQ(i32, 0x04030201);
  // Writing past the end fills the gap with zeros.
  s.Seek(10, TSeekOrigin::soBeginning);
  s.WriteU8(9);
  EXPECT_EQ(s.Size(), 11);
  EXPECT_EQ(s.Data()[8], 0);
  EXPECT_EQ(s.Data()[10], 9);
  // Reading beyond the end gives nothing.
  s.Seek(50, TSeekOrigin::soBeginning);
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0);
  EXPECT_EQ(s.Seek(-60, TSeekOrigin::soCurrent), 0);
  EXPECT_EQ(s.Read(&c, -1), 0);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(MemoryStream, ViewIsReadOnly) {
  const uint8_t bytes[] = {10, 20, 30};
  TIEMemoryStream s(bytes, 3);
  EXPECT_EQ(s.Size(), 3);
  EXPECT_EQ(s.Data(), bytes);
  uint8_t out[5] = {};
  EXPECT_EQ(s.Read(out, 5), 3);
  EXPECT_EQ(out[2], 30);
  EXPECT_EQ(s.Write(out, 1), 0);
  s.WriteU8(1);
  EXPECT_TRUE(s.Failed());  // a short write sets the sticky error
  EXPECT_EQ(s.Size(), 3);
}

TEST(FileStream, WritesAndReadsBack) {
  test::TempDir dir;
  const std::string name = dir.File("a.bin");
  {
    TIEFileStream f;
    ASSERT_TRUE(f.Open(name, TIEFileStream::fmCreate));
    f.WriteU32BE(0xCAFEBABE);
    f.WriteU16LE(0x1234);
    EXPECT_EQ(f.Size(), 6);
    EXPECT_EQ(f.Position(), 6);
    EXPECT_TRUE(f.Close(true));
  }
  EXPECT_EQ(test::ReadFileBytes(name), (std::vector<uint8_t>{0xCA, 0xFE, 0xBA, 0xBE, 0x34, 0x12}));
  TIEFileStream f;
  ASSERT_TRUE(f.Open(name, TIEFileStream::fmRead));
  EXPECT_EQ(f.Size(), 6);
  EXPECT_EQ(f.Seek(2, TSeekOrigin::soEnd), 4);
  uint16_t v;
  ASSERT_TRUE(f.ReadU16LE(v));
  EXPECT_EQ(v, 0x1234);
  EXPECT_EQ(f.Remaining(), 0);
  EXPECT_FALSE(f.ReadU16LE(v));
  EXPECT_EQ(f.Seek(-100, TSeekOrigin::soCurrent), 0);
  // Reading byte by byte while asking the size keeps the right bytes.
  uint8_t b;
  std::vector<uint8_t> got;
  while (f.Remaining() > 0 && f.ReadU8(b)) got.push_back(b);
  EXPECT_EQ(got.size(), 6u);
  EXPECT_EQ(got[1], 0xFE);
  EXPECT_FALSE(f.Failed());
}

TEST(FileStream, ReadWriteModeAndFailures) {
  test::TempDir dir;
  const std::string name = dir.File("b.bin");
  test::WriteFileBytes(name, {1, 2, 3, 4, 5, 6, 7, 8});
  TIEFileStream f;
  ASSERT_TRUE(f.Open(name, TIEFileStream::fmReadWrite));
  f.Seek(2, TSeekOrigin::soBeginning);
  f.WriteU8(0xEE);
  uint8_t b = 0;
  ASSERT_TRUE(f.ReadU8(b));  // a read straight after a write
  EXPECT_EQ(b, 4);
  f.Seek(0, TSeekOrigin::soEnd);
  f.WriteU8(9);
  EXPECT_EQ(f.Size(), 9);
  EXPECT_TRUE(f.Close());
  EXPECT_EQ(test::ReadFileBytes(name), (std::vector<uint8_t>{1, 2, 0xEE, 4, 5, 6, 7, 8, 9}));

  TIEFileStream missing;
  EXPECT_FALSE(missing.Open(dir.File("none/x.bin"), TIEFileStream::fmRead));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(missing.ErrorText().empty());
  EXPECT_EQ(missing.Read(&b, 1), 0);
  EXPECT_EQ(missing.Size(), 0);

  TIEFileStream reader;
  ASSERT_TRUE(reader.Open(name, TIEFileStream::fmRead));
  reader.WriteU8(1);  // not writable
  EXPECT_TRUE(reader.Failed());
  // Opening again forgets the failure of the file held before.
  ASSERT_TRUE(missing.Open(name, TIEFileStream::fmRead));
  ASSERT_TRUE(reader.Open(name, TIEFileStream::fmRead));
  EXPECT_FALSE(missing.Failed() || reader.Failed());
  EXPECT_TRUE(missing.ErrorText().empty());
}

}  // namespace
}  // namespace quillet

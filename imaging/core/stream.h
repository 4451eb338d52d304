// The byte stream every codec reads and writes: an abstract stream with
// little- and big-endian helpers, and the file and memory implementations.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quillet {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// Seeking from the end counts back from the size: Seek(n, soEnd) puts the
// position at Size() - n, the same in every stream.
class TIEStream {
 public:
  virtual ~TIEStream() = default;

  // Returns the bytes really transferred (0 at the end or on error).
  virtual int64_t Read(void* buf, int64_t count) = 0;
  virtual int64_t Write(const void* buf, int64_t count) = 0;
  // Returns the new position; positions before the start clamp to 0.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Position() = 0;
  virtual int64_t Size() = 0;

  // True when a write was short or a device error happened; sticky.
  bool Failed() const { return failed_; }
  const std::string& ErrorText() const { return error_; }
  void SetFailed(const std::string& why);

  // Whole-count helpers: false when fewer bytes were transferred.
  bool ReadExact(void* buf, int64_t count) { return Read(buf, count) == count; }
  bool WriteExact(const void* buf, int64_t count);
  // Bytes from the position to the end; 0 when the position is past the end.
  int64_t Remaining() {
    const int64_t left = Size() - Position();
    return left > 0 ? left : 0;
  }

  bool ReadU8(uint8_t& v) { return ReadExact(&v, 1); }
  bool ReadU16LE(uint16_t& v);
  bool ReadU32LE(uint32_t& v);
  bool ReadI32LE(int32_t& v);
  bool ReadU16BE(uint16_t& v);
  bool ReadU32BE(uint32_t& v);

  void WriteU8(uint8_t v) { WriteExact(&v, 1); }
  void WriteU16LE(uint16_t v);
  void WriteU32LE(uint32_t v);
  void WriteU16BE(uint16_t v);
  void WriteU32BE(uint32_t v);

 protected:
  void ClearFailure();

 private:
  bool failed_ = false;
  std::string error_;
};

// A file opened for reading or for writing (created or truncated), buffered.
class TIEFileStream : public TIEStream {
 public:
  enum TMode { fmRead, fmCreate, fmReadWrite };
  TIEFileStream() = default;
  ~TIEFileStream() override;
  TIEFileStream(const TIEFileStream&) = delete;
  TIEFileStream& operator=(const TIEFileStream&) = delete;

  // False when the file cannot be opened; ErrorText() then says why.
  bool Open(const std::string& name, TMode mode);
  // Flushes, syncs to disk when asked, and closes; false on any error.
  bool Close(bool sync = false);
  bool IsOpen() const { return file_ != nullptr; }

  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Position() override;
  int64_t Size() override;

 private:
  // C streams need a seek between a write and a read; Size() flushes only
  // after writes so that reading keeps its buffer.
  void SwitchTo(bool writing);

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  bool writing_ = false;
};

// A growable block of memory; it can also wrap bytes it does not own, read only.
class TIEMemoryStream : public TIEStream {
 public:
  TIEMemoryStream() = default;
  explicit TIEMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  TIEMemoryStream(const void* bytes, int64_t size);  // read-only view, not copied

  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Position() override { return pos_; }
  int64_t Size() override;

  const uint8_t* Data() const { return view_ ? view_ : data_.data(); }
  std::vector<uint8_t>& Bytes() { return data_; }
  void Clear();

 private:
  std::vector<uint8_t> data_;
  const uint8_t* view_ = nullptr;
  int64_t viewSize_ = 0;
  int64_t pos_ = 0;
};

}  // namespace quillet

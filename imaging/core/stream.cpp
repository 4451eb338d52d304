// Endian helpers of the abstract stream, and the file and memory streams.
#include "imaging/core/stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

void TIEStream::ClearFailure() {
  failed_ = false;
  error_.clear();
}

void TIEStream::SetFailed(const std::string& why) {
  if (!failed_) error_ = why;
  failed_ = true;
}

bool TIEStream::WriteExact(const void* buf, int64_t count) {
  if (Write(buf, count) == count) return true;
  SetFailed("short write");
  return false;
}

bool TIEStream::ReadU16LE(uint16_t& v) {
  uint8_t b[2];
  if (!ReadExact(b, 2)) return false;
  v = uint16_t(b[0] | b[1] << 8);
  return true;
}

bool TIEStream::ReadU32LE(uint32_t& v) {
  uint8_t b[4];
  if (!ReadExact(b, 4)) return false;
  v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

bool TIEStream::ReadI32LE(int32_t& v) {
  uint32_t u;
  if (!ReadU32LE(u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}

bool TIEStream::ReadU16BE(uint16_t& v) {
  uint8_t b[2];
  if (!ReadExact(b, 2)) return false;
  v = uint16_t(b[0] << 8 | b[1]);
  return true;
}

bool TIEStream::ReadU32BE(uint32_t& v) {
  uint8_t b[4];
  if (!ReadExact(b, 4)) return false;
  v = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
  return true;
}

void TIEStream::WriteU16LE(uint16_t v) {
  const uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
  WriteExact(b, 2);
}

void TIEStream::WriteU32LE(uint32_t v) {
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteExact(b, 4);
}

void TIEStream::WriteU16BE(uint16_t v) {
  const uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
  WriteExact(b, 2);
}

void TIEStream::WriteU32BE(uint32_t v) {
  const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  WriteExact(b, 4);
}

// ---- file stream

TIEFileStream::~TIEFileStream() { Close(); }

// A stream opened again starts with a clean slate: a failure of the file it
// held before says nothing about the new one.
bool TIEFileStream::Open(const std::string& name, TMode mode) {
  Close();
  ClearFailure();
  const char* m = mode == fmRead ? "rb" : mode == fmCreate ? "wb" : "r+b";
  file_ = std::fopen(name.c_str(), m);
  if (!file_) {
    SetFailed(std::strerror(errno));
    return false;
  }
  writing_ = false;
  buffer_.resize(64 * 1024);
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  return true;
}

bool TIEFileStream::Close(bool sync) {
  if (!file_) return !Failed();
  bool ok = std::fflush(file_) == 0;
  if (ok && sync) ok = fsync(fileno(file_)) == 0;
  if (!ok) SetFailed(std::strerror(errno));
  if (std::fclose(file_) != 0 && ok) {
    SetFailed(std::strerror(errno));
    ok = false;
  }
  file_ = nullptr;
  return ok && !Failed();
}

void TIEFileStream::SwitchTo(bool writing) {
  if (writing != writing_) fseeko(file_, 0, SEEK_CUR);
  writing_ = writing;
}

int64_t TIEFileStream::Read(void* buf, int64_t count) {
  if (!file_ || count <= 0) return 0;
  SwitchTo(false);
  const size_t n = std::fread(buf, 1, size_t(count), file_);
  if (n < size_t(count) && std::ferror(file_)) SetFailed(std::strerror(errno));
  return int64_t(n);
}

int64_t TIEFileStream::Write(const void* buf, int64_t count) {
  if (!file_ || count <= 0) return 0;
  SwitchTo(true);
  const size_t n = std::fwrite(buf, 1, size_t(count), file_);
  if (n < size_t(count)) SetFailed(std::strerror(errno));
  return int64_t(n);
}

int64_t TIEFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (!file_) return 0;
  int64_t target = offset;
  if (origin == TSeekOrigin::soCurrent) target = Position() + offset;
  if (origin == TSeekOrigin::soEnd) target = Size() - offset;
  target = std::max<int64_t>(target, 0);
  if (fseeko(file_, off_t(target), SEEK_SET) != 0) SetFailed(std::strerror(errno));
  return Position();
}

int64_t TIEFileStream::Position() { return file_ ? int64_t(ftello(file_)) : 0; }

int64_t TIEFileStream::Size() {
  if (!file_) return 0;
  if (writing_) std::fflush(file_);
  struct stat st;
  if (fstat(fileno(file_), &st) != 0) return 0;
  return int64_t(st.st_size);
}

// ---- memory stream

TIEMemoryStream::TIEMemoryStream(const void* bytes, int64_t size)
    : view_(static_cast<const uint8_t*>(bytes)), viewSize_(size) {}

int64_t TIEMemoryStream::Size() { return view_ ? viewSize_ : int64_t(data_.size()); }

int64_t TIEMemoryStream::Read(void* buf, int64_t count) {
  const int64_t n = std::clamp<int64_t>(Size() - pos_, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buf, Data() + pos_, size_t(n));
  pos_ += n;
  return n;
}

int64_t TIEMemoryStream::Write(const void* buf, int64_t count) {
  if (view_ || count <= 0) return 0;
  const auto* bytes = static_cast<const uint8_t*>(buf);
  if (pos_ == int64_t(data_.size())) {
    data_.insert(data_.end(), bytes, bytes + count);  // appending: no zero fill first
  } else {
    if (pos_ + count > int64_t(data_.size())) data_.resize(size_t(pos_ + count));
    std::memcpy(data_.data() + pos_, bytes, size_t(count));
  }
  pos_ += count;
  return count;
}

int64_t TIEMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t target = offset;
  if (origin == TSeekOrigin::soCurrent) target = pos_ + offset;
  if (origin == TSeekOrigin::soEnd) target = Size() - offset;
  pos_ = std::max<int64_t>(target, 0);
  return pos_;
}

void TIEMemoryStream::Clear() {
  data_.clear();
  view_ = nullptr;
  viewSize_ = 0;
  pos_ = 0;
}

}  // namespace quillet

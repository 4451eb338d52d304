// The temporary files of the image stores: created in the temp folder (or in
// anonymous memory), sized up front, and mapped in whole or in windows.
#pragma once

#include <cstdint>

namespace quillet {

// A read-write mapping of part of a temporary file; unmapped when destroyed.
class TIEFileView {
 public:
  TIEFileView() = default;
  ~TIEFileView() { Unmap(); }
  TIEFileView(const TIEFileView&) = delete;
  TIEFileView& operator=(const TIEFileView&) = delete;
  TIEFileView(TIEFileView&& other) noexcept { *this = static_cast<TIEFileView&&>(other); }
  TIEFileView& operator=(TIEFileView&& other) noexcept;

  uint8_t* Data() const { return data_; }
  int64_t Size() const { return size_; }
  bool Mapped() const { return data_ != nullptr; }
  void Unmap();

 private:
  friend class TIETempFile;
  uint8_t* data_ = nullptr;
  int64_t size_ = 0;
};

// A file named "ziridev..." that is unlinked as soon as it is created, so it
// goes away with the store even when the program dies.
class TIETempFile {
 public:
  TIETempFile() = default;
  ~TIETempFile() { Close(); }
  TIETempFile(const TIETempFile&) = delete;
  TIETempFile& operator=(const TIETempFile&) = delete;
  TIETempFile(TIETempFile&& other) noexcept { *this = static_cast<TIETempFile&&>(other); }
  TIETempFile& operator=(TIETempFile&& other) noexcept;

  // A file of `size` bytes in `folder` (empty or null: TempFolder()). False,
  // with nothing left behind, when it cannot be created or sized.
  bool Create(int64_t size, const char* folder = nullptr);
  // The same in anonymous memory that the kernel may swap out.
  bool CreateAnonymous(int64_t size);
  void Close();

  // Grows the file to `size` bytes with real blocks; views stay valid.
  bool Grow(int64_t size);
  // Maps `length` bytes from `offset`, a multiple of the page size. An
  // unmapped view on failure.
  TIEFileView Map(int64_t offset, int64_t length) const;

  bool IsOpen() const { return fd_ >= 0; }
  int64_t Size() const { return size_; }

 private:
  bool Adopt(int fd, int64_t size);

  int fd_ = -1;
  int64_t size_ = 0;
};

}  // namespace quillet

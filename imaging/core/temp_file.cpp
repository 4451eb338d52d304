#include "imaging/core/temp_file.h"

#include "imaging/core/engine_settings.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace quillet {

TIEFileView& TIEFileView::operator=(TIEFileView&& other) noexcept {
  if (this != &other) {
    Unmap();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

void TIEFileView::Unmap() {
  if (data_) munmap(data_, static_cast<size_t>(size_));
  data_ = nullptr;
  size_ = 0;
}

TIETempFile& TIETempFile::operator=(TIETempFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

bool TIETempFile::Create(int64_t size, const char* folder) {
  Close();
  if (size <= 0) return false;
  std::string name = (folder && *folder ? std::string(folder) : TempFolder()) + "/ziridevXXXXXX";
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  unlink(name.c_str());
  return Adopt(fd, size);
}

bool TIETempFile::CreateAnonymous(int64_t size) {
  Close();
  if (size <= 0) return false;
  const int fd = memfd_create("ziridev", MFD_CLOEXEC);
  return fd >= 0 && Adopt(fd, size);
}

bool TIETempFile::Adopt(int fd, int64_t size) {
  fd_ = fd;
  if (!Grow(size)) {
    Close();
    return false;
  }
  return true;
}

bool TIETempFile::Grow(int64_t size) {
  if (fd_ < 0) return false;
  if (size <= size_) return true;
  // Real blocks now, so that a full disk fails here and not as SIGBUS later.
  if (posix_fallocate(fd_, 0, static_cast<off_t>(size)) != 0) return false;
  size_ = size;
  return true;
}

TIEFileView TIETempFile::Map(int64_t offset, int64_t length) const {
  TIEFileView view;
  if (fd_ < 0 || offset < 0 || length <= 0 || offset + length > size_) return view;
  // Populated: the stores touch what they map, and one fault per page costs more.
  void* p = mmap(nullptr, static_cast<size_t>(length), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd_,
                 static_cast<off_t>(offset));
  if (p == MAP_FAILED) return view;
  view.data_ = static_cast<uint8_t*>(p);
  view.size_ = length;
  return view;
}

void TIETempFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

}  // namespace quillet

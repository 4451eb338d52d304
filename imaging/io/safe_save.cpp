// Temporary file, sync and rename of a safe save.
#include "imaging/io/safe_save.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace quillet {

namespace {

namespace fs = std::filesystem;

// Deletes the temporary file unless it was renamed into place.
struct TTempFile {
  std::string path;
  bool kept = false;
  ~TTempFile() {
    if (!path.empty() && !kept) ::unlink(path.c_str());
  }
};

// The file the name stands for: a symbolic link is followed so that the
// link stays and its target is replaced.
std::string ResolvedTarget(const std::string& fileName) {
  std::error_code ec;
  if (fs::is_symlink(fileName, ec)) {
    const fs::path resolved = fs::canonical(fileName, ec);
    if (!ec) return resolved.string();
  }
  return fileName;
}

// The old file's permissions, or those a new file would get.
mode_t TargetMode(const std::string& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string Reason(const std::string& what, const std::string& fileName, const std::string& why) {
  return "cannot " + what + " " + fileName + ": " + why;
}

// Creates the temporary file; its path, or "" with errno set.
std::string CreateTemp(const std::string& target) {
  const fs::path p(target);
  const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
  std::string pattern = (folder / ("." + p.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return "";
  const bool ok = ::fchmod(fd, TargetMode(target)) == 0;
  const int savedErrno = errno;
  ::close(fd);
  if (!ok) {
    ::unlink(name.data());
    errno = savedErrno;
    return "";
  }
  return name.data();
}

}  // namespace

bool SafeSave(const std::string& fileName, const std::function<bool(TIEStream&)>& write, std::string& error) {
  error.clear();
  const std::string target = ResolvedTarget(fileName);
  TTempFile temp{CreateTemp(target)};
  if (temp.path.empty()) {
    error = Reason("create", fileName, std::strerror(errno));
    return false;
  }
  TIEFileStream file;
  if (!file.Open(temp.path, TIEFileStream::fmCreate)) {
    error = Reason("create", fileName, file.ErrorText());
    return false;
  }
  const bool written = write(file);
  const bool closed = file.Close(true);
  if (!closed) {
    error = Reason("write", fileName, file.ErrorText());
    return false;
  }
  if (!written) return false;
  if (std::rename(temp.path.c_str(), target.c_str()) != 0) {
    error = Reason("replace", fileName, std::strerror(errno));
    return false;
  }
  temp.kept = true;
  return true;
}

}  // namespace quillet

// The PXM tokenizer.
#include "imaging/io/formats/pxm/pxm_tokens.h"

#include <algorithm>
#include <charconv>

namespace quillet {

namespace {

bool IsWordByte(int c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsLineEnd(int c) { return c == '\n' || c == '\r'; }

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\v\f");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t\v\f") - first + 1);
}

}  // namespace

int TPxmTokenReader::Get() {
  if (at_ == have_) {
    have_ = left_ > 0 ? stream_.Read(buffer_, std::min<int64_t>(sizeof buffer_, left_)) : 0;
    left_ -= have_;
    at_ = 0;
    if (have_ <= 0) {
      have_ = 0;
      return -1;
    }
  }
  return buffer_[at_++];
}

bool TPxmTokenReader::Next(std::string& token) {
  token.clear();
  int c = Get();
  while (c >= 0 && c != '#' && !IsWordByte(c)) c = Get();
  if (c < 0) return false;
  if (c == '#') {
    std::string text;
    while (text.size() < kMaxToken) {
      c = Get();
      if (c < 0 || IsLineEnd(c)) break;
      text += char(c);
    }
    token = "#" + Trimmed(text);
    return true;
  }
  while (IsWordByte(c)) {
    token += char(c);
    if (token.size() == kMaxToken) break;
    c = Get();
  }
  return true;
}

void TPxmTokenReader::SyncStream() {
  stream_.Seek(at_ - have_, TSeekOrigin::soCurrent);
  have_ = at_ = 0;
}

int32_t PxmNumber(const std::string& token) {
  int32_t v = -1;
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, v);
  if (token.empty() || ec != std::errc() || ptr != end || v < 0) return -1;
  return v;
}

}  // namespace quillet

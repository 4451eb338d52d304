// Tokens of portable bitmap/greymap/pixmap headers and ASCII data: runs of
// letters and digits, and "#" comments, read through a small buffer.
#pragma once

#include <cstdint>
#include <string>

#include "imaging/core/stream.h"

namespace quillet {

class TPxmTokenReader {
 public:
  // Longest token kept; a longer run is split so hostile input stays bounded.
  static constexpr size_t kMaxToken = 65536;

  // `limit` caps the bytes read, so a test on a large foreign file ends early.
  explicit TPxmTokenReader(TIEStream& stream, int64_t limit = INT64_MAX) : stream_(stream), left_(limit) {}

  // Skips to the next letter, digit or "#". A "#" token is "#" followed by the
  // rest of its line, trimmed; any other token is a run of letters and digits,
  // and the byte that ends it is consumed. False at the end of the stream.
  bool Next(std::string& token);

  // Puts the stream at the first byte not consumed, for binary data that
  // follows the header; the reader can go on afterwards.
  void SyncStream();

 private:
  // The next byte, or -1 at the end.
  int Get();

  TIEStream& stream_;
  uint8_t buffer_[4096];
  int64_t have_ = 0, at_ = 0;
  int64_t left_;
};

// The decimal value of a token, or -1 when it is not a number that fits.
int32_t PxmNumber(const std::string& token);

}  // namespace quillet

// A reader or writer run on bytes in memory, as the codec benchmarks time it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "imaging/io/codec.h"

namespace quillet::bench {

// False when the reader set Aborting.
inline bool DecodeBytes(TIOReadProc read, const std::vector<uint8_t>& bytes, TIEWorkingBitmap& bitmap) {
  TIEMemoryStream stream(bytes.data(), int64_t(bytes.size()));
  TIOParamsVals params;
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOReadArgs args{stream, bitmap, params, progress, false, int64_t(bytes.size())};
  read(args);
  return !aborting;
}

// The bytes are written into `memory`, emptied first: memory kept from an
// earlier call is written again without growing or fresh pages.
inline std::vector<uint8_t> EncodeBytes(TIOWriteProc write, const TIEWorkingBitmap& bitmap, TIOParamsVals& params,
                                        std::vector<uint8_t> memory = {}) {
  memory.clear();
  TIEMemoryStream out(std::move(memory));
  bool aborting = false;
  TIOProgress progress;
  progress.Aborting = &aborting;
  TIOWriteArgs args{out, bitmap, params, progress};
  write(args);
  return std::move(out.Bytes());
}

}  // namespace quillet::bench

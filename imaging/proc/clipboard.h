// The clipboard as the processing component sees it: a port that carries
// device-independent bitmap blocks, the process-wide port in use, and the
// in-process clipboard that serves when no desktop clipboard is installed.
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

class TIEClipboard {
 public:
  virtual ~TIEClipboard() = default;
  // Whether the clipboard offers a bitmap in any form it can turn into a block.
  virtual bool HasBitmap() = 0;
  // The offered bitmap as a block; empty when there is none or it cannot be had.
  virtual std::vector<uint8_t> GetDib() = 0;
  // Replaces the clipboard's content by the block; false when that cannot be done.
  virtual bool SetDib(std::vector<uint8_t> block) = 0;
};

// Holds the last block set, inside this process only.
class TIEMemoryClipboard : public TIEClipboard {
 public:
  bool HasBitmap() override { return !block_.empty(); }
  std::vector<uint8_t> GetDib() override { return block_; }
  bool SetDib(std::vector<uint8_t> block) override {
    block_ = std::move(block);
    return true;
  }

 private:
  std::vector<uint8_t> block_;
};

// The installed port, or the process's own in-memory clipboard.
TIEClipboard& SystemClipboard();
// Installs `port` for the whole process (null goes back to the in-memory one).
// The port must outlive its use.
void InstallSystemClipboard(TIEClipboard* port);

}  // namespace quillet

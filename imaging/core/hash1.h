// THash1: a set of 32-bit values in 2^k buckets, used to count the distinct
// colours of an image up to a small number (two-colour detection).
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

class THash1 {
 public:
  // k is clamped to 0..28 (2^28 buckets at most).
  explicit THash1(int k = 13) { Create(k); }

  // Empties the set and makes 2^k buckets.
  void Create(int k);
  // True, and counted, when the value was not yet in the set.
  bool Insert(uint32_t value);
  bool Contains(uint32_t value) const;
  int64_t Count() const { return count_; }
  int Bits() const { return k_; }

  // Bucket states.
  static constexpr uint8_t kEmpty = 0, kOne = 1, kChain = 2;
  uint8_t BucketState(uint32_t bucket) const { return bucket < state_.size() ? state_[bucket] : kEmpty; }

 private:
  struct Node {
    uint32_t value;
    int32_t next;  // index in pool_, -1 at the end
  };

  int k_ = 0;
  uint32_t mask_ = 0;
  int64_t count_ = 0;
  std::vector<uint8_t> state_;
  std::vector<uint32_t> first_;  // the value of a bucket in state kOne
  std::vector<int32_t> chain_;   // head node of a bucket in state kChain
  std::vector<Node> pool_;       // every chained value, bucket after bucket as inserted
};

}  // namespace quillet

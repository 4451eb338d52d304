// The bucket set: one value lives in its bucket, more move to a chain of
// nodes in one pooled vector.
#include "imaging/core/hash1.h"

#include <algorithm>

namespace quillet {

void THash1::Create(int k) {
  k_ = std::clamp(k, 0, 28);
  mask_ = (uint32_t(1) << k_) - 1;
  count_ = 0;
  const size_t n = size_t(1) << k_;
  state_.assign(n, kEmpty);
  first_.assign(n, 0);
  chain_.assign(n, -1);
  pool_.clear();
  pool_.reserve(64);
}

bool THash1::Contains(uint32_t value) const {
  const uint32_t b = value & mask_;
  switch (state_[b]) {
    case kEmpty: return false;
    case kOne: return first_[b] == value;
    default:
      for (int32_t i = chain_[b]; i >= 0; i = pool_[size_t(i)].next)
        if (pool_[size_t(i)].value == value) return true;
      return false;
  }
}

bool THash1::Insert(uint32_t value) {
  const uint32_t b = value & mask_;
  switch (state_[b]) {
    case kEmpty:
      state_[b] = kOne;
      first_[b] = value;
      break;
    case kOne:
      if (first_[b] == value) return false;
      // Two values: both go to the chain.
      pool_.push_back(Node{first_[b], -1});
      pool_.push_back(Node{value, int32_t(pool_.size() - 1)});
      chain_[b] = int32_t(pool_.size() - 1);
      state_[b] = kChain;
      break;
    default:
      if (Contains(value)) return false;
      pool_.push_back(Node{value, chain_[b]});
      chain_[b] = int32_t(pool_.size() - 1);
      break;
  }
  ++count_;
  return true;
}

}  // namespace quillet

// Splitting the rows (or column blocks) of a resampling or rotation pass
// between threads. Each item is computed the same way on any thread, so the
// result does not depend on the split; progress stays on the calling thread.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

namespace quillet {

// Threads worth starting for `count` items of about `workPerItem` pixels each.
inline int PassThreads(int64_t count, int64_t workPerItem) {
  constexpr int64_t kWorkPerThread = int64_t(1) << 20;
  const int64_t cores = std::clamp<int64_t>(std::thread::hardware_concurrency(), 1, 8);
  return int(std::clamp<int64_t>(count * workPerItem / kWorkPerThread, 1, std::min(cores, count)));
}

// Runs body(first, last, done) over contiguous parts of [0, count); body
// calls done(n) after finishing n more items. progress(items finished so
// far) runs on the calling thread only, with counts that never decrease.
template <class Body>
void SplitItems(int64_t count, int64_t workPerItem, const std::function<void(int64_t)>& progress, Body body) {
  if (count <= 0) return;
  const int threads = PassThreads(count, workPerItem);
  std::atomic<int64_t> finished{0};
  std::vector<std::exception_ptr> failures(static_cast<size_t>(threads));
  const auto part = [&](int t) {
    try {
      const auto done = [&, t](int64_t n) {
        const int64_t total = finished.fetch_add(n, std::memory_order_relaxed) + n;
        if (t == 0 && progress) progress(total);
      };
      body(count * t / threads, count * (t + 1) / threads, done);
    } catch (...) {
      failures[size_t(t)] = std::current_exception();
    }
  };
  std::vector<std::thread> pool;
  int started = 1;
  for (; started < threads; ++started) {
    try {
      pool.emplace_back(part, started);
    } catch (const std::system_error&) {
      break;
    }
  }
  part(0);
  for (std::thread& t : pool) t.join();
  // Parts whose thread could not start run here.
  for (int t = started; t < threads; ++t) part(t);
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
  if (progress) progress(finished.load());
}

}  // namespace quillet

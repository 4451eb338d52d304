// TIEListenerList: callbacks registered by their owners and called in order,
// which the callbacks themselves may add to or remove from while it is walked.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace quillet {

template <typename... TArgs>
class TIEListenerList {
 public:
  using TCallback = std::function<void(TArgs...)>;

  // Appends (callback, owner). The owner identifies the record for removal.
  void Add(TCallback callback, const void* owner) { listeners_.push_back({std::move(callback), owner}); }

  // Removes the first record of owner.
  void Remove(const void* owner) {
    const auto it = std::find_if(listeners_.begin(), listeners_.end(),
                                 [&](const TListener& l) { return l.Callback && l.Owner == owner; });
    if (it == listeners_.end()) return;
    // While the list is walked a removed record is only emptied, so that the
    // walk neither skips nor calls it; it is dropped afterwards.
    if (walking_ > 0)
      it->Callback = nullptr;
    else
      listeners_.erase(it);
  }

  int64_t Count() const {
    return std::count_if(listeners_.begin(), listeners_.end(), [](const TListener& l) { return bool(l.Callback); });
  }

  // Calls every callback, those added meanwhile included.
  void Call(TArgs... args) {
    ++walking_;
    for (size_t i = 0; i < listeners_.size(); ++i) {
      // A copy: the callback may add records, which moves the list.
      const TCallback callback = listeners_[i].Callback;
      if (callback) callback(args...);
    }
    if (--walking_ == 0) std::erase_if(listeners_, [](const TListener& l) { return !l.Callback; });
  }

  // Calls every callback once more and forgets them all: the sender is going away.
  void CallLast(TArgs... args) {
    Call(args...);
    listeners_.clear();
  }

 private:
  struct TListener {
    TCallback Callback;
    const void* Owner = nullptr;
  };

  std::vector<TListener> listeners_;
  int walking_ = 0;
};

}  // namespace quillet

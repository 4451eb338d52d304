// The boundary of engine work that must not throw: whatever escapes it (above
// all running out of memory, or a library's own failure) becomes a reason.
#pragma once

#include <exception>
#include <new>
#include <optional>
#include <string>

namespace quillet {

inline constexpr const char* kOutOfMemory = "out of memory";

// Runs `work`; the reason it failed, or nothing when it returned normally.
template <class F>
std::optional<std::string> FailureOf(F&& work) {
  try {
    work();
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  } catch (const std::exception& e) {
    return std::string(e.what());
  }
}

}  // namespace quillet

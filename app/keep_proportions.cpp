#include "app/keep_proportions.h"

#include <cmath>
#include <limits>

namespace quillet {

std::optional<int32_t> ProportionalSide(int32_t value, int32_t base, int32_t otherBase) {
  if (base == 0) return std::nullopt;
  const long double side = std::nearbyint((long double)value / base * otherBase);
  constexpr long double most = std::numeric_limits<int32_t>::max(), least = std::numeric_limits<int32_t>::min();
  return int32_t(std::fmax(least, std::fmin(side, most)));
}

}  // namespace quillet

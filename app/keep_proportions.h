// The size dialog's "keep proportions" rule: the other side scaled as the
// changed one, against the image's own size.
#pragma once

#include <cstdint>
#include <optional>

namespace quillet {

// round(value / base * otherBase), ties to even, on an extended-precision
// quotient; none when the base is 0 (an empty image has no proportions).
std::optional<int32_t> ProportionalSide(int32_t value, int32_t base, int32_t otherBase);

}  // namespace quillet

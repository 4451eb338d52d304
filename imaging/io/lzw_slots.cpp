// The process-wide LZW coder slots.
#include "imaging/io/lzw_slots.h"

namespace quillet {

TIELzwSlots& LzwSlots() {
  static TIELzwSlots slots;
  return slots;
}

}  // namespace quillet

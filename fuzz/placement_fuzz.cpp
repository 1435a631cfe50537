// Skin placement values: any text parses; a placement written back as "x,y,w,h" reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/support/fuzz_input.h"
#include "skin/placement.h"

using vendrel::skin::ParsePlacement;
using vendrel::skin::Placement;

namespace {

std::u16string Written(const Placement& p) {
  const std::string s = std::to_string(p.x) + "," + std::to_string(p.y) + "," + std::to_string(p.w) +
                        "," + std::to_string(p.h);
  return std::u16string(s.begin(), s.end());
}

void Check(const std::u16string& text) {
  const Placement p = ParsePlacement(text);
  if (ParsePlacement(Written(p)) != p) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The same bytes as one character per byte (an 8-bit file) and as UTF-16 units.
  Check(std::u16string(data, data + size));
  Check(vendrel::fuzz::Units16({data, size}));
  return 0;
}

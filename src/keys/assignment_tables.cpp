#include "keys/assignment_tables.h"

namespace vendrel::keys {

std::optional<std::size_t> MediaIndexOfUsage(std::uint16_t consumer_usage) {
  for (std::size_t i = 0; i < kMediaTable.size(); ++i) {
    if (kMediaTable[i].consumer_usage == consumer_usage) return i;
  }
  return std::nullopt;
}

}  // namespace vendrel::keys

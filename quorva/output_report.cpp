#include "quorva/output_report.h"

#include <algorithm>

namespace vendrel::quorva {

std::vector<std::uint8_t> FrameOutputReport(std::span<const std::uint8_t> bytes, std::size_t report_length) {
  if (bytes.empty() || bytes.size() > report_length) return {};
  std::vector<std::uint8_t> report(report_length, 0);
  std::copy(bytes.begin(), bytes.end(), report.begin());
  return report;
}

}  // namespace vendrel::quorva

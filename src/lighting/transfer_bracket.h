#pragma once
// The lighting writes' transfer bracket. Their results are ignored, but a keyboard that does not
// answer the bracket's start gets nothing more: every further packet would only wait out its own
// reply time, which on a dead link turns one click into many seconds of a frozen window.
#include "device/command_set.h"
#include "device/results.h"

namespace vendrel::lighting {

template <typename Writes>
void WriteInTransfer(device::CommandSet& commands, Writes&& writes) {
  if (commands.BeginTransfer() != device::kOk) return;
  writes();
  commands.EndTransfer();
}

}  // namespace vendrel::lighting

#pragma once
// The 208 named events the main window keeps for programs outside this one.
#include <vector>

#include "controls/handles.h"

namespace vendrel::app {

class NamedEventSet {
 public:
  void CreateAll();  // automatic-reset, not signalled
  void CloseAll() { events_.clear(); }

 private:
  std::vector<controls::UniqueKernelHandle> events_;
};

}  // namespace vendrel::app
